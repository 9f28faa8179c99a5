#pragma once
// The checker's picture of the optical drives: the holders of the recorder
// service's objects and one record per listed drive.
//
// Division of work: this folder holds detection (the disc master, the drive
// list and its records, media state and type). COpticalStateMonitor, which
// owns a CDiscMasterRef and a CDriveList and runs the monitor thread, belongs
// to the monitoring code that uses it.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "discprobe/imapi2/com_owners.h"
#include "discprobe/imapi2/imapi2.h"
#include "framework/com.h"
#include "media_types.h"

namespace discprobe {

// Values as stored and as carried by the media-state message.
enum TMediaState : std::int32_t {
    MEDIA_STATE_USABLE = 0,          // a usable medium is present
    MEDIA_STATE_NOT_USABLE = 1,      // a medium is present but not usable
    MEDIA_STATE_NO_MEDIA = 2,        // no medium
    MEDIA_STATE_BECOMING_READY = 3,  // the medium is becoming ready
};
static_assert(sizeof(TMediaState) == 4);

// The disc master object, its last HRESULT and last-error text.
class CDiscMasterRef {
public:
    // Creates the master in process and asks whether the environment is supported;
    // neither a failure nor the answer changes what follows.
    void Create();
    IDiscMaster2* get() const noexcept { return m_master.Get(); }
    HRESULT LastResult() const noexcept { return m_lastResult; }
    const std::wstring& LastError() const noexcept { return m_lastError; }
    void RecordFailure(HRESULT hr, std::wstring text);

private:
    fw::ComPtr<IDiscMaster2> m_master;
    HRESULT m_lastResult = S_OK;
    std::wstring m_lastError;
};

// One drive's recorder object with its unique id, volume path names and
// supported profile numbers (negative values and 0xFFFF left out).
class CDiscRecorderRef {
public:
    // Creates and initialises the recorder for an id; false when either fails.
    bool Initialize(std::wstring uniqueId);
    // Reads the supported profiles; false when the recorder yields no array.
    bool ReadSupportedProfiles();

    IDiscRecorder2* get() const noexcept { return m_recorder.Get(); }
    const std::wstring& UniqueId() const noexcept { return m_uniqueId; }
    const std::vector<std::wstring>& VolumePaths() const noexcept { return m_volumePaths; }
    const std::vector<long>& Profiles() const noexcept { return m_profiles; }
    HRESULT LastResult() const noexcept { return m_lastResult; }

private:
    std::wstring m_uniqueId;
    fw::ComPtr<IDiscRecorder2> m_recorder;
    HRESULT m_lastResult = S_OK;
    std::vector<std::wstring> m_volumePaths;
    std::vector<long> m_profiles;
};

// The data-format object set up for one recorder.
class CDiscFormatData {
public:
    // Stops at the first failure, keeping its HRESULT and text, and returns false.
    bool Initialize(const CDiscRecorderRef& recorder, const std::wstring& clientName);

    IDiscFormat2Data* get() const noexcept { return m_format.Get(); }
    HRESULT LastResult() const noexcept { return m_lastResult; }
    const std::wstring& LastError() const noexcept { return m_lastError; }
    wchar_t DriveLetter() const noexcept { return m_driveLetter; }
    const std::vector<long>& SupportedMediaTypes() const noexcept { return m_mediaTypes; }

private:
    bool Fail(HRESULT hr, std::wstring text);

    fw::ComPtr<IDiscFormat2Data> m_format;
    std::vector<long> m_mediaTypes;
    HRESULT m_lastResult = S_OK;
    std::wstring m_lastError;
    wchar_t m_driveLetter = L'\0';
    imapi::UniqueBstr m_clientName;
};

// One listed drive. The identity fields are written only while the drive list
// is rebuilt (the monitor thread is held then); state and media info are
// written by the monitor thread while the dialog reads them, so they are
// reached only through the guarded accessors.
struct TDriveRecord {
    std::wstring paths;      // volume path names joined with ","
    std::wstring productId;
    std::wstring vendorId;
    std::wstring revision;   // shown as firmware
    std::wstring supportedTypes;  // names of the media the drive supports, ", "-joined
    CDiscRecorderRef recorder;
    CDiscFormatData format;

    TMediaState State() const;
    void SetState(TMediaState state);
    TMediaInfo Media() const;
    // Replaces name and capacity together, so a reader never sees one without the other.
    void SetMedia(const TMediaInfo& media);

private:
    mutable std::mutex m_guard;
    TMediaState m_state = MEDIA_STATE_NO_MEDIA;
    TMediaInfo m_media;
};

// The drive list in enumeration order; a drive's row in the dialog is its index here.
using CDriveList = std::vector<std::unique_ptr<TDriveRecord>>;

}  // namespace discprobe
