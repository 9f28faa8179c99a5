#pragma once
// Every method of the recorder interfaces answering E_NOTIMPL, IUnknown left
// open: a simulated object spells out only the methods it answers.
#include "discprobe/imapi2/imapi2.h"

namespace discsim {

#define DISCSIM_DISPATCH_STUBS \
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; } \
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; } \
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; } \
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { \
        return E_NOTIMPL; \
    }

class CDiscMaster2Stub : public IDiscMaster2 {
public:
    DISCSIM_DISPATCH_STUBS
    HRESULT STDMETHODCALLTYPE get__NewEnum(IEnumVARIANT**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Item(LONG, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Count(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsSupportedEnvironment(VARIANT_BOOL*) override { return E_NOTIMPL; }
};

class CDiscRecorder2Stub : public IDiscRecorder2 {
public:
    DISCSIM_DISPATCH_STUBS
    HRESULT STDMETHODCALLTYPE EjectMedia() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CloseTray() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AcquireExclusiveAccess(VARIANT_BOOL, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReleaseExclusiveAccess() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DisableMcn() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnableMcn() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitializeDiscRecorder(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ActiveDiscRecorder(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_VendorId(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ProductId(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ProductRevision(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_VolumeName(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_VolumePathNames(SAFEARRAY**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DeviceCanLoadMedia(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_LegacyDeviceNumber(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SupportedFeaturePages(SAFEARRAY**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CurrentFeaturePages(SAFEARRAY**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SupportedProfiles(SAFEARRAY**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CurrentProfiles(SAFEARRAY**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SupportedModePages(SAFEARRAY**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ExclusiveAccessOwner(BSTR*) override { return E_NOTIMPL; }
};

class CDiscRecorder2ExStub : public IDiscRecorder2Ex {
public:
    HRESULT STDMETHODCALLTYPE SendCommandNoData(BYTE*, ULONG, BYTE*, ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SendCommandSendDataToDevice(BYTE*, ULONG, BYTE*, ULONG, BYTE*, ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SendCommandGetDataFromDevice(BYTE*, ULONG, BYTE*, ULONG, BYTE*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReadDvdStructure(ULONG, ULONG, ULONG, ULONG, BYTE**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SendDvdStructure(ULONG, BYTE*, ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAdapterDescriptor(BYTE**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDeviceDescriptor(BYTE**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDiscInformation(BYTE**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTrackInformation(ULONG, IMAPI_READ_TRACK_ADDRESS_TYPE, BYTE**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFeaturePage(IMAPI_FEATURE_PAGE_TYPE, BOOLEAN, BYTE**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetModePage(IMAPI_MODE_PAGE_TYPE, IMAPI_MODE_PAGE_REQUEST_TYPE, BYTE**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetModePage(IMAPI_MODE_PAGE_REQUEST_TYPE, BYTE*, ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSupportedFeaturePages(BOOLEAN, IMAPI_FEATURE_PAGE_TYPE**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSupportedProfiles(BOOLEAN, IMAPI_PROFILE_TYPE**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSupportedModePages(IMAPI_MODE_PAGE_REQUEST_TYPE, IMAPI_MODE_PAGE_TYPE**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetByteAlignmentMask(ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMaximumNonPageAlignedTransferSize(ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMaximumPageAlignedTransferSize(ULONG*) override { return E_NOTIMPL; }
};

class CDiscFormat2DataStub : public IDiscFormat2Data {
public:
    DISCSIM_DISPATCH_STUBS
    HRESULT STDMETHODCALLTYPE IsRecorderSupported(IDiscRecorder2*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsCurrentMediaSupported(IDiscRecorder2*, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_MediaPhysicallyBlank(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_MediaHeuristicallyBlank(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SupportedMediaTypes(SAFEARRAY**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Recorder(IDiscRecorder2*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Recorder(IDiscRecorder2**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_BufferUnderrunFreeDisabled(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_BufferUnderrunFreeDisabled(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_PostgapAlreadyInImage(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_PostgapAlreadyInImage(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CurrentMediaStatus(IMAPI_FORMAT2_DATA_MEDIA_STATE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_WriteProtectStatus(IMAPI_MEDIA_WRITE_PROTECT_STATE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_TotalSectorsOnMedia(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_FreeSectorsOnMedia(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_NextWritableAddress(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_StartAddressOfPreviousSession(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_LastWrittenAddressOfPreviousSession(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ForceMediaToBeClosed(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ForceMediaToBeClosed(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_DisableConsumerDvdCompatibilityMode(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DisableConsumerDvdCompatibilityMode(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CurrentPhysicalMediaType(IMAPI_MEDIA_PHYSICAL_TYPE*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ClientName(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ClientName(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_RequestedWriteSpeed(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_RequestedRotationTypeIsPureCAV(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CurrentWriteSpeed(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CurrentRotationTypeIsPureCAV(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SupportedWriteSpeeds(SAFEARRAY**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SupportedWriteSpeedDescriptors(SAFEARRAY**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ForceOverwrite(VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ForceOverwrite(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_MultisessionInterfaces(SAFEARRAY**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Write(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CancelWrite() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetWriteSpeed(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
};

#undef DISCSIM_DISPATCH_STUBS

}  // namespace discsim
