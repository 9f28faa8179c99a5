#include "drive_record.h"

#include <cstdio>

#include "error_text.h"

namespace discprobe {

std::wstring ErrorText(const std::wstring& call, HRESULT hr) {
    wchar_t code[32];
    std::swprintf(code, std::size(code), L" - Error:0x%08lx", static_cast<unsigned long>(hr));
    return call + code;
}

void CDiscMasterRef::RecordFailure(HRESULT hr, std::wstring text) {
    m_lastResult = hr;
    m_lastError = std::move(text);
}

void CDiscMasterRef::Create() {
    m_master.Reset();
    m_lastResult = ::CoCreateInstance(CLSID_MsftDiscMaster2, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDiscMaster2),
                                      reinterpret_cast<void**>(m_master.ReleaseAndGetAddressOf()));
    if (FAILED(m_lastResult)) {
        m_master.Reset();
        m_lastError = ErrorText(L"Unable to Initialize IDiscMaster2", m_lastResult);
        return;
    }
    VARIANT_BOOL supported = VARIANT_FALSE;
    m_lastResult = m_master->get_IsSupportedEnvironment(&supported);
    if (FAILED(m_lastResult))
        m_lastError = ErrorText(L"IDiscMaster2->get_IsSupportedEnvironment failed!", m_lastResult);
}

bool CDiscRecorderRef::Initialize(std::wstring uniqueId) {
    m_uniqueId = std::move(uniqueId);
    m_lastResult = ::CoCreateInstance(CLSID_MsftDiscRecorder2, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IDiscRecorder2),
                                      reinterpret_cast<void**>(m_recorder.ReleaseAndGetAddressOf()));
    if (FAILED(m_lastResult)) return false;
    m_lastResult = m_recorder->InitializeDiscRecorder(imapi::MakeBstr(m_uniqueId).get());
    if (FAILED(m_lastResult)) return false;
    imapi::UniqueSafeArray paths;
    m_recorder->get_VolumePathNames(imapi::Out(paths));
    m_volumePaths = imapi::StringsOf(paths.get());
    return true;
}

bool CDiscRecorderRef::ReadSupportedProfiles() {
    imapi::UniqueSafeArray profiles;
    m_lastResult = m_recorder->get_SupportedProfiles(imapi::Out(profiles));
    if (!profiles) return false;
    m_profiles.clear();
    for (LONG profile : imapi::LongsOf(profiles.get()))
        if (profile >= 0 && profile != 0xFFFF) m_profiles.push_back(profile);
    return true;
}

bool CDiscFormatData::Fail(HRESULT hr, std::wstring text) {
    m_lastResult = hr;
    m_lastError = std::move(text);
    return false;
}

bool CDiscFormatData::Initialize(const CDiscRecorderRef& recorder, const std::wstring& clientName) {
    IDiscRecorder2* device = recorder.get();
    if (!device) return Fail(E_POINTER, L"Error - CDiscFormatData::Initialize - pDiscRecorder is NULL");

    HRESULT hr = ::CoCreateInstance(CLSID_MsftDiscFormat2Data, nullptr, CLSCTX_INPROC_SERVER,
                                    __uuidof(IDiscFormat2Data),
                                    reinterpret_cast<void**>(m_format.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) return Fail(hr, ErrorText(L"Unable to Initialize IDiscFormat2Data", hr));
    const auto& paths = recorder.VolumePaths();
    m_driveLetter = !paths.empty() && !paths.front().empty() ? paths.front().front() : L'\0';

    VARIANT_BOOL supported = VARIANT_FALSE;
    hr = m_format->IsRecorderSupported(device, &supported);
    if (FAILED(hr) || supported == VARIANT_FALSE) return Fail(hr, L"Recorder not supported");

    hr = m_format->put_Recorder(device);
    if (FAILED(hr)) return Fail(hr, ErrorText(L"IDiscFormat2Data->put_Recorder Failed", hr));
    m_clientName = imapi::MakeBstr(clientName);
    hr = m_format->put_ClientName(m_clientName.get());
    if (FAILED(hr)) return Fail(hr, ErrorText(L"IDiscFormat2Data->put_ClientName Failed", hr));
    imapi::UniqueSafeArray mediaTypes;
    hr = m_format->get_SupportedMediaTypes(imapi::Out(mediaTypes));
    if (FAILED(hr)) return Fail(hr, ErrorText(L"IDiscFormat2Data->get_SupportedMediaTypes Failed", hr));
    const auto types = imapi::LongsOf(mediaTypes.get());
    m_mediaTypes.assign(types.begin(), types.end());
    m_lastResult = hr;
    return true;
}

TMediaState TDriveRecord::State() const {
    std::lock_guard lock(m_guard);
    return m_state;
}

void TDriveRecord::SetState(TMediaState state) {
    std::lock_guard lock(m_guard);
    m_state = state;
}

TMediaInfo TDriveRecord::Media() const {
    std::lock_guard lock(m_guard);
    return m_media;
}

void TDriveRecord::SetMedia(const TMediaInfo& media) {
    std::lock_guard lock(m_guard);
    m_media = media;
}

}  // namespace discprobe
