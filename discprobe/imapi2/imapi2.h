#pragma once
// The platform's optical-recording interfaces, declared here because the cross
// compiler ships no header for them. The method order is the binary contract:
// every slot below, IDispatch's included, sits where the platform's type
// library puts it (imapi2_layout_test checks the slots we call).
#include <windows.h>
#include <oaidl.h>
#include <objbase.h>

// Results of the recorder service that the checker tells apart.
constexpr HRESULT E_IMAPI_RECORDER_MEDIA_NO_MEDIA = static_cast<HRESULT>(0xC0AA0202);
constexpr HRESULT E_IMAPI_RECORDER_MEDIA_BECOMING_READY = static_cast<HRESULT>(0xC0AA0205);

// Physical media types in the type library's order (disk and HD DVD left out).
enum IMAPI_MEDIA_PHYSICAL_TYPE : int {
    IMAPI_MEDIA_TYPE_UNKNOWN = 0,
    IMAPI_MEDIA_TYPE_CDROM = 1,
    IMAPI_MEDIA_TYPE_CDR = 2,
    IMAPI_MEDIA_TYPE_CDRW = 3,
    IMAPI_MEDIA_TYPE_DVDROM = 4,
    IMAPI_MEDIA_TYPE_DVDRAM = 5,
    IMAPI_MEDIA_TYPE_DVDPLUSR = 6,
    IMAPI_MEDIA_TYPE_DVDPLUSRW = 7,
    IMAPI_MEDIA_TYPE_DVDPLUSR_DUALLAYER = 8,
    IMAPI_MEDIA_TYPE_DVDDASHR = 9,
    IMAPI_MEDIA_TYPE_DVDDASHRW = 10,
    IMAPI_MEDIA_TYPE_DVDDASHR_DUALLAYER = 11,
    IMAPI_MEDIA_TYPE_DVDPLUSRW_DUALLAYER = 13,
    IMAPI_MEDIA_TYPE_BDROM = 17,
    IMAPI_MEDIA_TYPE_BDR = 18,
    IMAPI_MEDIA_TYPE_BDRE = 19,
};
enum IMAPI_FORMAT2_DATA_MEDIA_STATE : int { IMAPI_FORMAT2_DATA_MEDIA_STATE_UNKNOWN = 0 };
enum IMAPI_MEDIA_WRITE_PROTECT_STATE : int {};
enum IMAPI_READ_TRACK_ADDRESS_TYPE : int {};
enum IMAPI_FEATURE_PAGE_TYPE : int { IMAPI_FEATURE_PAGE_TYPE_PROFILE_LIST = 0 };
enum IMAPI_MODE_PAGE_TYPE : int {};
enum IMAPI_MODE_PAGE_REQUEST_TYPE : int {};
enum IMAPI_PROFILE_TYPE : int {};
static_assert(sizeof(IMAPI_MEDIA_PHYSICAL_TYPE) == 4 && sizeof(IMAPI_FEATURE_PAGE_TYPE) == 4);

// Class ids of the platform's objects.
constexpr CLSID CLSID_MsftDiscMaster2 = {0x2735412E, 0x7F64, 0x5B0F, {0x8F, 0x00, 0x5D, 0x77, 0xAF, 0xBE, 0x26, 0x1E}};
constexpr CLSID CLSID_MsftDiscRecorder2 = {0x2735412D, 0x7F64, 0x5B0F, {0x8F, 0x00, 0x5D, 0x77, 0xAF, 0xBE, 0x26, 0x1E}};
constexpr CLSID CLSID_MsftDiscFormat2Data = {0x2735412A, 0x7F64, 0x5B0F, {0x8F, 0x00, 0x5D, 0x77, 0xAF, 0xBE, 0x26, 0x1E}};

struct IDiscRecorder2;

struct IDiscMaster2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get__NewEnum(IEnumVARIANT** ppunk) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Item(LONG index, BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsSupportedEnvironment(VARIANT_BOOL* value) = 0;
};

struct IDiscRecorder2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE EjectMedia() = 0;
    virtual HRESULT STDMETHODCALLTYPE CloseTray() = 0;
    virtual HRESULT STDMETHODCALLTYPE AcquireExclusiveAccess(VARIANT_BOOL force, BSTR clientName) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReleaseExclusiveAccess() = 0;
    virtual HRESULT STDMETHODCALLTYPE DisableMcn() = 0;
    virtual HRESULT STDMETHODCALLTYPE EnableMcn() = 0;
    virtual HRESULT STDMETHODCALLTYPE InitializeDiscRecorder(BSTR recorderUniqueId) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ActiveDiscRecorder(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_VendorId(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ProductId(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ProductRevision(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_VolumeName(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_VolumePathNames(SAFEARRAY** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DeviceCanLoadMedia(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_LegacyDeviceNumber(LONG* legacyDeviceNumber) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SupportedFeaturePages(SAFEARRAY** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentFeaturePages(SAFEARRAY** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SupportedProfiles(SAFEARRAY** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentProfiles(SAFEARRAY** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SupportedModePages(SAFEARRAY** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ExclusiveAccessOwner(BSTR* value) = 0;
};

// Not dual: derives from IUnknown directly.
struct IDiscRecorder2Ex : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SendCommandNoData(BYTE* cdb, ULONG cdbSize, BYTE senseBuffer[18],
                                                        ULONG timeout) = 0;
    virtual HRESULT STDMETHODCALLTYPE SendCommandSendDataToDevice(BYTE* cdb, ULONG cdbSize, BYTE senseBuffer[18],
                                                                  ULONG timeout, BYTE* buffer, ULONG bufferSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE SendCommandGetDataFromDevice(BYTE* cdb, ULONG cdbSize, BYTE senseBuffer[18],
                                                                   ULONG timeout, BYTE* buffer, ULONG bufferSize,
                                                                   ULONG* bufferFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadDvdStructure(ULONG format, ULONG address, ULONG layer, ULONG agid,
                                                       BYTE** data, ULONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE SendDvdStructure(ULONG format, BYTE* data, ULONG count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAdapterDescriptor(BYTE** data, ULONG* byteSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeviceDescriptor(BYTE** data, ULONG* byteSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDiscInformation(BYTE** discInformation, ULONG* byteSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTrackInformation(ULONG address, IMAPI_READ_TRACK_ADDRESS_TYPE addressType,
                                                          BYTE** trackInformation, ULONG* byteSize) = 0;
    // The returned bytes are allocated with CoTaskMemAlloc; the caller frees them.
    virtual HRESULT STDMETHODCALLTYPE GetFeaturePage(IMAPI_FEATURE_PAGE_TYPE requestedFeature,
                                                     BOOLEAN currentFeatureOnly, BYTE** featureData,
                                                     ULONG* byteSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetModePage(IMAPI_MODE_PAGE_TYPE requestedModePage,
                                                  IMAPI_MODE_PAGE_REQUEST_TYPE requestType, BYTE** modePageData,
                                                  ULONG* byteSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetModePage(IMAPI_MODE_PAGE_REQUEST_TYPE requestType, BYTE* data,
                                                  ULONG byteSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSupportedFeaturePages(BOOLEAN currentFeatureOnly,
                                                               IMAPI_FEATURE_PAGE_TYPE** featureData,
                                                               ULONG* byteSize) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSupportedProfiles(BOOLEAN currentOnly, IMAPI_PROFILE_TYPE** profileTypes,
                                                           ULONG* validProfiles) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSupportedModePages(IMAPI_MODE_PAGE_REQUEST_TYPE requestType,
                                                            IMAPI_MODE_PAGE_TYPE** modePageTypes,
                                                            ULONG* validPages) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetByteAlignmentMask(ULONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMaximumNonPageAlignedTransferSize(ULONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMaximumPageAlignedTransferSize(ULONG* value) = 0;
};

struct IDiscFormat2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE IsRecorderSupported(IDiscRecorder2* recorder, VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsCurrentMediaSupported(IDiscRecorder2* recorder, VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MediaPhysicallyBlank(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MediaHeuristicallyBlank(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SupportedMediaTypes(SAFEARRAY** value) = 0;
};

struct IDiscFormat2Data : public IDiscFormat2 {
    virtual HRESULT STDMETHODCALLTYPE put_Recorder(IDiscRecorder2* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Recorder(IDiscRecorder2** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_BufferUnderrunFreeDisabled(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_BufferUnderrunFreeDisabled(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_PostgapAlreadyInImage(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PostgapAlreadyInImage(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentMediaStatus(IMAPI_FORMAT2_DATA_MEDIA_STATE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_WriteProtectStatus(IMAPI_MEDIA_WRITE_PROTECT_STATE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TotalSectorsOnMedia(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FreeSectorsOnMedia(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_NextWritableAddress(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_StartAddressOfPreviousSession(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_LastWrittenAddressOfPreviousSession(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ForceMediaToBeClosed(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ForceMediaToBeClosed(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DisableConsumerDvdCompatibilityMode(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DisableConsumerDvdCompatibilityMode(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentPhysicalMediaType(IMAPI_MEDIA_PHYSICAL_TYPE* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ClientName(BSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ClientName(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RequestedWriteSpeed(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_RequestedRotationTypeIsPureCAV(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentWriteSpeed(LONG* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentRotationTypeIsPureCAV(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SupportedWriteSpeeds(SAFEARRAY** supportedSpeeds) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SupportedWriteSpeedDescriptors(SAFEARRAY** supportedSpeedDescriptors) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ForceOverwrite(VARIANT_BOOL value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ForceOverwrite(VARIANT_BOOL* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MultisessionInterfaces(SAFEARRAY** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Write(IStream* data) = 0;
    virtual HRESULT STDMETHODCALLTYPE CancelWrite() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetWriteSpeed(LONG requestedSectorsPerSecond,
                                                    VARIANT_BOOL rotationTypeIsPureCAV) = 0;
};

__CRT_UUID_DECL(IDiscMaster2, 0x27354130, 0x7F64, 0x5B0F, 0x8F, 0x00, 0x5D, 0x77, 0xAF, 0xBE, 0x26, 0x1E)
__CRT_UUID_DECL(IDiscRecorder2, 0x27354133, 0x7F64, 0x5B0F, 0x8F, 0x00, 0x5D, 0x77, 0xAF, 0xBE, 0x26, 0x1E)
__CRT_UUID_DECL(IDiscRecorder2Ex, 0x27354132, 0x7F64, 0x5B0F, 0x8F, 0x00, 0x5D, 0x77, 0xAF, 0xBE, 0x26, 0x1E)
__CRT_UUID_DECL(IDiscFormat2, 0x27354152, 0x8F64, 0x5B0F, 0x8F, 0x00, 0x5D, 0x77, 0xAF, 0xBE, 0x26, 0x1E)
__CRT_UUID_DECL(IDiscFormat2Data, 0x27354153, 0x9F64, 0x5B0F, 0x8F, 0x00, 0x5D, 0x77, 0xAF, 0xBE, 0x26, 0x1E)
