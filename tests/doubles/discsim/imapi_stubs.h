#pragma once
// Every method of the recorder interfaces answering E_NOTIMPL, IUnknown left
// open: a simulated object spells out only the methods it answers.
#include "discprobe/imapi2/imapi2.h"

namespace discsim {

#define DISCSIM_NOTIMPL(method, ...) \
    HRESULT STDMETHODCALLTYPE method(__VA_ARGS__) override { return E_NOTIMPL; }
#define DISCSIM_DISPATCH_STUBS                                                                   \
    DISCSIM_NOTIMPL(GetTypeInfoCount, UINT*) DISCSIM_NOTIMPL(GetTypeInfo, UINT, LCID, ITypeInfo**) \
    DISCSIM_NOTIMPL(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)                        \
    DISCSIM_NOTIMPL(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)

class CDiscMaster2Stub : public IDiscMaster2 {
public:
    DISCSIM_DISPATCH_STUBS
    DISCSIM_NOTIMPL(get__NewEnum, IEnumVARIANT**) DISCSIM_NOTIMPL(get_Item, LONG, BSTR*)
    DISCSIM_NOTIMPL(get_Count, LONG*) DISCSIM_NOTIMPL(get_IsSupportedEnvironment, VARIANT_BOOL*)
};

class CDiscRecorder2Stub : public IDiscRecorder2 {
public:
    DISCSIM_DISPATCH_STUBS
    DISCSIM_NOTIMPL(EjectMedia) DISCSIM_NOTIMPL(CloseTray) DISCSIM_NOTIMPL(AcquireExclusiveAccess, VARIANT_BOOL, BSTR)
    DISCSIM_NOTIMPL(ReleaseExclusiveAccess) DISCSIM_NOTIMPL(DisableMcn) DISCSIM_NOTIMPL(EnableMcn)
    DISCSIM_NOTIMPL(InitializeDiscRecorder, BSTR) DISCSIM_NOTIMPL(get_ActiveDiscRecorder, BSTR*)
    DISCSIM_NOTIMPL(get_VendorId, BSTR*) DISCSIM_NOTIMPL(get_ProductId, BSTR*)
    DISCSIM_NOTIMPL(get_ProductRevision, BSTR*) DISCSIM_NOTIMPL(get_VolumeName, BSTR*)
    DISCSIM_NOTIMPL(get_VolumePathNames, SAFEARRAY**) DISCSIM_NOTIMPL(get_DeviceCanLoadMedia, VARIANT_BOOL*)
    DISCSIM_NOTIMPL(get_LegacyDeviceNumber, LONG*) DISCSIM_NOTIMPL(get_SupportedFeaturePages, SAFEARRAY**)
    DISCSIM_NOTIMPL(get_CurrentFeaturePages, SAFEARRAY**) DISCSIM_NOTIMPL(get_SupportedProfiles, SAFEARRAY**)
    DISCSIM_NOTIMPL(get_CurrentProfiles, SAFEARRAY**) DISCSIM_NOTIMPL(get_SupportedModePages, SAFEARRAY**)
    DISCSIM_NOTIMPL(get_ExclusiveAccessOwner, BSTR*)
};

class CDiscRecorder2ExStub : public IDiscRecorder2Ex {
public:
    DISCSIM_NOTIMPL(SendCommandNoData, BYTE*, ULONG, BYTE*, ULONG)
    DISCSIM_NOTIMPL(SendCommandSendDataToDevice, BYTE*, ULONG, BYTE*, ULONG, BYTE*, ULONG)
    DISCSIM_NOTIMPL(SendCommandGetDataFromDevice, BYTE*, ULONG, BYTE*, ULONG, BYTE*, ULONG, ULONG*)
    DISCSIM_NOTIMPL(ReadDvdStructure, ULONG, ULONG, ULONG, ULONG, BYTE**, ULONG*)
    DISCSIM_NOTIMPL(SendDvdStructure, ULONG, BYTE*, ULONG) DISCSIM_NOTIMPL(GetAdapterDescriptor, BYTE**, ULONG*)
    DISCSIM_NOTIMPL(GetDeviceDescriptor, BYTE**, ULONG*) DISCSIM_NOTIMPL(GetDiscInformation, BYTE**, ULONG*)
    DISCSIM_NOTIMPL(GetTrackInformation, ULONG, IMAPI_READ_TRACK_ADDRESS_TYPE, BYTE**, ULONG*)
    DISCSIM_NOTIMPL(GetFeaturePage, IMAPI_FEATURE_PAGE_TYPE, BOOLEAN, BYTE**, ULONG*)
    DISCSIM_NOTIMPL(GetModePage, IMAPI_MODE_PAGE_TYPE, IMAPI_MODE_PAGE_REQUEST_TYPE, BYTE**, ULONG*)
    DISCSIM_NOTIMPL(SetModePage, IMAPI_MODE_PAGE_REQUEST_TYPE, BYTE*, ULONG)
    DISCSIM_NOTIMPL(GetSupportedFeaturePages, BOOLEAN, IMAPI_FEATURE_PAGE_TYPE**, ULONG*)
    DISCSIM_NOTIMPL(GetSupportedProfiles, BOOLEAN, IMAPI_PROFILE_TYPE**, ULONG*)
    DISCSIM_NOTIMPL(GetSupportedModePages, IMAPI_MODE_PAGE_REQUEST_TYPE, IMAPI_MODE_PAGE_TYPE**, ULONG*)
    DISCSIM_NOTIMPL(GetByteAlignmentMask, ULONG*) DISCSIM_NOTIMPL(GetMaximumNonPageAlignedTransferSize, ULONG*)
    DISCSIM_NOTIMPL(GetMaximumPageAlignedTransferSize, ULONG*)
};

class CDiscFormat2DataStub : public IDiscFormat2Data {
public:
    DISCSIM_DISPATCH_STUBS
    DISCSIM_NOTIMPL(IsRecorderSupported, IDiscRecorder2*, VARIANT_BOOL*)
    DISCSIM_NOTIMPL(IsCurrentMediaSupported, IDiscRecorder2*, VARIANT_BOOL*)
    DISCSIM_NOTIMPL(get_MediaPhysicallyBlank, VARIANT_BOOL*) DISCSIM_NOTIMPL(get_MediaHeuristicallyBlank, VARIANT_BOOL*)
    DISCSIM_NOTIMPL(get_SupportedMediaTypes, SAFEARRAY**) DISCSIM_NOTIMPL(put_Recorder, IDiscRecorder2*)
    DISCSIM_NOTIMPL(get_Recorder, IDiscRecorder2**) DISCSIM_NOTIMPL(put_BufferUnderrunFreeDisabled, VARIANT_BOOL)
    DISCSIM_NOTIMPL(get_BufferUnderrunFreeDisabled, VARIANT_BOOL*)
    DISCSIM_NOTIMPL(put_PostgapAlreadyInImage, VARIANT_BOOL) DISCSIM_NOTIMPL(get_PostgapAlreadyInImage, VARIANT_BOOL*)
    DISCSIM_NOTIMPL(get_CurrentMediaStatus, IMAPI_FORMAT2_DATA_MEDIA_STATE*)
    DISCSIM_NOTIMPL(get_WriteProtectStatus, IMAPI_MEDIA_WRITE_PROTECT_STATE*)
    DISCSIM_NOTIMPL(get_TotalSectorsOnMedia, LONG*) DISCSIM_NOTIMPL(get_FreeSectorsOnMedia, LONG*)
    DISCSIM_NOTIMPL(get_NextWritableAddress, LONG*) DISCSIM_NOTIMPL(get_StartAddressOfPreviousSession, LONG*)
    DISCSIM_NOTIMPL(get_LastWrittenAddressOfPreviousSession, LONG*)
    DISCSIM_NOTIMPL(put_ForceMediaToBeClosed, VARIANT_BOOL) DISCSIM_NOTIMPL(get_ForceMediaToBeClosed, VARIANT_BOOL*)
    DISCSIM_NOTIMPL(put_DisableConsumerDvdCompatibilityMode, VARIANT_BOOL)
    DISCSIM_NOTIMPL(get_DisableConsumerDvdCompatibilityMode, VARIANT_BOOL*)
    DISCSIM_NOTIMPL(get_CurrentPhysicalMediaType, IMAPI_MEDIA_PHYSICAL_TYPE*) DISCSIM_NOTIMPL(put_ClientName, BSTR)
    DISCSIM_NOTIMPL(get_ClientName, BSTR*) DISCSIM_NOTIMPL(get_RequestedWriteSpeed, LONG*)
    DISCSIM_NOTIMPL(get_RequestedRotationTypeIsPureCAV, VARIANT_BOOL*) DISCSIM_NOTIMPL(get_CurrentWriteSpeed, LONG*)
    DISCSIM_NOTIMPL(get_CurrentRotationTypeIsPureCAV, VARIANT_BOOL*)
    DISCSIM_NOTIMPL(get_SupportedWriteSpeeds, SAFEARRAY**)
    DISCSIM_NOTIMPL(get_SupportedWriteSpeedDescriptors, SAFEARRAY**) DISCSIM_NOTIMPL(put_ForceOverwrite, VARIANT_BOOL)
    DISCSIM_NOTIMPL(get_ForceOverwrite, VARIANT_BOOL*) DISCSIM_NOTIMPL(get_MultisessionInterfaces, SAFEARRAY**)
    DISCSIM_NOTIMPL(Write, IStream*) DISCSIM_NOTIMPL(CancelWrite) DISCSIM_NOTIMPL(SetWriteSpeed, LONG, VARIANT_BOOL)
};

#undef DISCSIM_DISPATCH_STUBS
#undef DISCSIM_NOTIMPL

}  // namespace discsim
