#pragma once
// Scenario of the simulated optical drives. The file named by the environment
// variable DISCSIM_SCENARIO is read afresh on every call, so a test changes the
// drives while the program runs by rewriting it (write a new file, then rename
// it over the old one). Without the variable the simulated classes are not
// available at all, as on a system without the recorder service.
//
// Drives that come and go are announced to the program's windows (volume_notices.h).
//
// Format: UTF-8 or ASCII lines "key=value". A line
// "[drive]" starts the next drive (enumeration order); keys before the first
// one belong to the disc master. Numbers are decimal or 0x-hex; a result list
// "a,b*3,c" gives one result per call in turn (b three times), the last one
// repeating; results are numbers or S_OK.
//   master:  count_hr  supported_hr  (results of get_Count, get_IsSupportedEnvironment)
//   drive:   id  paths (volume paths joined with "|", first letter = drive letter)
//            vendor  product  revision
//            profiles (supported profile numbers joined with ","; "none": no array)
//            current (current profile GET CONFIGURATION reports; 0 = no medium)
//            dvd_category  dvd_layers (DVD physical format: book type, 1 = two layers)
//            bd_key (Blu-ray disc information byte 16)
//            physical_hr  status_hr (get_CurrentPhysicalMediaType, get_CurrentMediaStatus)
//            physical_type (the physical media type get_CurrentPhysicalMediaType reports)
//            pass_through ("denied": the device cannot be opened, as for a standard user)
//            feature_current (1: the profile-list page marks a profile current)  feature_hr
//            item_hr  init_hr  supported (0: IsRecorderSupported answers false)
//            put_recorder_hr  client_name_hr  media_types_hr
// Defaults: results S_OK, except physical_hr and status_hr, which are
// 0xC0AA0202 (no medium) while current is 0; profiles "0x08,0x09,0x0A,0x10";
// current 0; feature_current 1 when current is not 0. Result lists count calls
// per drive and restart whenever the file's text changes.
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace discsim {

struct TSimDrive {
    std::map<std::string, std::string> values;

    std::string Text(const std::string& key, const std::string& fallback = {}) const;
    long Number(const std::string& key, long fallback = 0) const;
    std::vector<std::wstring> Paths() const;
    wchar_t Letter() const;  // upper-case drive letter of the first path, or 0
    std::optional<std::vector<long>> Profiles() const;
    // The profile-list feature: header, then per profile its number, the current
    // flag (when `markCurrent` and it is the "current" one) and a reserved byte.
    std::vector<std::uint8_t> ProfileListFeature(bool markCurrent) const;
};

struct TScenario {
    TSimDrive master;
    std::vector<TSimDrive> drives;
};

// A scenario text (UTF-8) as UTF-16.
std::wstring Widen(const std::string& text);

// The scenario file the environment names; empty when none.
std::wstring ScenarioPath();
// Whether the environment names a scenario file at all.
bool ScenarioConfigured();
// The scenario file's text now; empty when it cannot be read.
std::string ScenarioText();
TScenario ParseScenario(const std::string& text);

// Id of a drive: its "id" key, else "DISCSIM-<index>".
std::string DriveId(const TScenario& scenario, std::size_t index);
// The drive with an id, or null.
const TSimDrive* FindDrive(const TScenario& scenario, const std::string& id);

// The next result of a result list (owner: a drive id, or "" for the master);
// counts restart whenever the scenario text changes.
HRESULT NextResult(const std::string& text, const TSimDrive& section, const std::string& owner,
                   const std::string& key, HRESULT fallback = S_OK);

}  // namespace discsim
