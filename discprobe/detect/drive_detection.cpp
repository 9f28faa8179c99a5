#include "drive_detection.h"

#include "error_text.h"

namespace discprobe {

namespace {

std::wstring Joined(const std::vector<std::wstring>& parts, const wchar_t* separator) {
    std::wstring text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i) text += separator;
        text += parts[i];
    }
    return text;
}

using RecorderText = HRESULT (STDMETHODCALLTYPE IDiscRecorder2::*)(BSTR*);

std::wstring TextOf(IDiscRecorder2* recorder, RecorderText call) {
    imapi::UniqueBstr text;
    if (FAILED((recorder->*call)(imapi::Out(text)))) return {};
    return imapi::ToString(text.get());
}

// The MMC profile of each physical media type the recorder service reports.
constexpr std::pair<IMAPI_MEDIA_PHYSICAL_TYPE, std::uint32_t> kPhysicalTypeProfiles[] = {
    {IMAPI_MEDIA_TYPE_CDROM, 0x08},     {IMAPI_MEDIA_TYPE_CDR, 0x09},       {IMAPI_MEDIA_TYPE_CDRW, 0x0A},
    {IMAPI_MEDIA_TYPE_DVDROM, 0x10},    {IMAPI_MEDIA_TYPE_DVDRAM, 0x12},    {IMAPI_MEDIA_TYPE_DVDPLUSR, 0x1B},
    {IMAPI_MEDIA_TYPE_DVDPLUSRW, 0x1A}, {IMAPI_MEDIA_TYPE_DVDPLUSR_DUALLAYER, 0x2B},
    {IMAPI_MEDIA_TYPE_DVDDASHR, 0x11},  {IMAPI_MEDIA_TYPE_DVDDASHRW, 0x13}, {IMAPI_MEDIA_TYPE_DVDDASHR_DUALLAYER, 0x15},
    {IMAPI_MEDIA_TYPE_DVDPLUSRW_DUALLAYER, 0x2A},
    {IMAPI_MEDIA_TYPE_BDROM, 0x40},     {IMAPI_MEDIA_TYPE_BDR, 0x41},       {IMAPI_MEDIA_TYPE_BDRE, 0x43},
};

TMediaType PhysicalMediaType(const CDiscFormatData& format) {
    IMAPI_MEDIA_PHYSICAL_TYPE physical = IMAPI_MEDIA_TYPE_UNKNOWN;
    if (!format.get() || FAILED(format.get()->get_CurrentPhysicalMediaType(&physical))) return MEDIA_TYPE_UNKNOWN;
    for (const auto& [type, profile] : kPhysicalTypeProfiles)
        if (type == physical) return static_cast<TMediaType>(profile);
    return MEDIA_TYPE_UNKNOWN;
}

// A drive set up for the list, or null when it is to be left out.
std::unique_ptr<TDriveRecord> DescribeDrive(std::wstring uniqueId, CPassThroughTransport& transport) {
    auto record = std::make_unique<TDriveRecord>();
    if (!record->recorder.Initialize(std::move(uniqueId))) return nullptr;
    if (!record->recorder.ReadSupportedProfiles()) return nullptr;
    record->paths = Joined(record->recorder.VolumePaths(), L",");
    if (!record->format.Initialize(record->recorder, kClientName)) return nullptr;

    record->SetState(EvaluateMediaState(*record));
    CScsiMediaProbe probe(transport);
    record->SetMedia(DescribeMedium(probe, *record));

    IDiscRecorder2* recorder = record->recorder.get();
    record->productId = TextOf(recorder, &IDiscRecorder2::get_ProductId);
    record->revision = TextOf(recorder, &IDiscRecorder2::get_ProductRevision);
    record->vendorId = TextOf(recorder, &IDiscRecorder2::get_VendorId);
    record->supportedTypes =
        SupportedMediaText(record->recorder.Profiles(), BluRayWriteSupport(transport, record->format.DriveLetter()));
    return record;
}

}  // namespace

// Pass-through to an optical drive normally needs administrator rights, which a
// standard user's checker does not have.
TMediaInfo DescribeMedium(CScsiMediaProbe& probe, const TDriveRecord& record) {
    const std::optional<TMediaType> probed = ProbeMediaType(probe, record.paths);
    const TMediaType type = probed ? *probed : PhysicalMediaType(record.format);
    return {std::wstring(MediaName(type)), probe.Capacity(type)};
}

bool EnumerateDrives(CDiscMasterRef& master, CDriveList& drives) {
    return EnumerateDrives(master, drives, SystemPassThrough());
}

bool EnumerateDrives(CDiscMasterRef& master, CDriveList& drives, CPassThroughTransport& transport) {
    LONG count = 0;
    if (IDiscMaster2* discMaster = master.get()) {
        const HRESULT hr = discMaster->get_Count(&count);
        if (FAILED(hr)) {
            count = 0;
            master.RecordFailure(hr, ErrorText(L"IDiscMaster2->get_Count failed!", hr));
        }
    }
    drives.clear();
    for (LONG index = 0; index < count; ++index) {
        imapi::UniqueBstr id;
        const HRESULT hr = master.get()->get_Item(index, imapi::Out(id));
        if (FAILED(hr)) {
            id.reset();
            master.RecordFailure(hr, ErrorText(L"IDiscMaster2->get_Item(" + std::to_wstring(index) + L") failed!", hr));
        }
        if (auto record = DescribeDrive(imapi::ToString(id.get()), transport)) drives.push_back(std::move(record));
    }
    return true;
}

int FindDriveByPaths(const CDriveList& drives, std::wstring_view root) {
    for (std::size_t i = 0; i < drives.size(); ++i)
        if (drives[i]->paths == root) return static_cast<int>(i);
    return -1;
}

bool HasCurrentProfile(std::span<const std::uint8_t> page) {
    for (std::size_t offset = 6; offset < page.size(); offset += 4)
        if (page[offset] == 1) return true;
    return false;
}

TMediaState EvaluateMediaState(const TDriveRecord& record) {
    IDiscFormat2Data* format = record.format.get();
    if (!format) return MEDIA_STATE_NO_MEDIA;

    TMediaState state = MEDIA_STATE_NO_MEDIA;
    IMAPI_MEDIA_PHYSICAL_TYPE physical = IMAPI_MEDIA_TYPE_UNKNOWN;
    const HRESULT physicalResult = format->get_CurrentPhysicalMediaType(&physical);
    if (physicalResult == E_IMAPI_RECORDER_MEDIA_BECOMING_READY) state = MEDIA_STATE_BECOMING_READY;

    IMAPI_FORMAT2_DATA_MEDIA_STATE status = IMAPI_FORMAT2_DATA_MEDIA_STATE_UNKNOWN;
    if (format->get_CurrentMediaStatus(&status) == S_OK) return MEDIA_STATE_USABLE;

    if (physicalResult == E_IMAPI_RECORDER_MEDIA_BECOMING_READY || physicalResult == E_IMAPI_RECORDER_MEDIA_NO_MEDIA)
        return state;

    // A medium the data writer cannot use: present only if the drive marks a profile current.
    state = MEDIA_STATE_NOT_USABLE;
    IDiscRecorder2* recorder = record.recorder.get();
    fw::ComPtr<IDiscRecorder2Ex> extended;
    if (!recorder || FAILED(recorder->QueryInterface(__uuidof(IDiscRecorder2Ex),
                                                     reinterpret_cast<void**>(extended.GetAddressOf()))))
        return state;
    imapi::UniqueTaskMem page;
    ULONG size = 0;
    const HRESULT hr = extended->GetFeaturePage(IMAPI_FEATURE_PAGE_TYPE_PROFILE_LIST, TRUE, imapi::Out(page), &size);
    if (FAILED(hr) || !page) return state;
    return HasCurrentProfile({page.get(), size}) ? state : MEDIA_STATE_NO_MEDIA;
}

}  // namespace discprobe
