#include "scenario.h"

#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <mutex>
#include <sstream>

namespace discsim {

namespace {

std::string Trim(std::string text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) parts.push_back(Trim(part));
    return parts;
}

long ParseNumber(const std::string& text, long fallback) {
    if (text == "S_OK") return 0;
    if (text.empty()) return fallback;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    return end && *end == '\0' ? static_cast<long>(value) : fallback;
}

std::optional<std::string> ReadWhole(const wchar_t* path) {
    // Shared for deletion too, so that a test can rename a new scenario over it meanwhile.
    HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string text;
    char chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) text.append(chunk, read);
    ::CloseHandle(file);
    return text;
}

}  // namespace

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::wstring ScenarioPath() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetEnvironmentVariableW(L"DISCSIM_SCENARIO", path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::wstring() : std::wstring(path, length);
}

std::string ScenarioText() {
    const std::wstring path = ScenarioPath();
    WIN32_FILE_ATTRIBUTE_DATA now{};
    if (path.empty() || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &now)) return {};

    // The file is opened only when it has changed: every open is a moment in which
    // a test's rename over it would be refused.
    static std::mutex guard;
    static std::wstring cachedPath;
    static WIN32_FILE_ATTRIBUTE_DATA cachedAttributes{};
    static std::string cachedText;
    std::lock_guard lock(guard);
    if (cachedPath != path || std::memcmp(&cachedAttributes, &now, sizeof now) != 0) {
        auto text = ReadWhole(path.c_str());
        if (!text) return {};  // read again next time
        cachedText = std::move(*text);
        cachedPath = path;
        cachedAttributes = now;
    }
    return cachedText;
}

std::string TSimDrive::Text(const std::string& key, const std::string& fallback) const {
    const auto found = values.find(key);
    return found == values.end() ? fallback : found->second;
}

long TSimDrive::Number(const std::string& key, long fallback) const {
    return ParseNumber(Text(key), fallback);
}

std::vector<std::wstring> TSimDrive::Paths() const {
    std::vector<std::wstring> paths;
    for (const auto& path : Split(Text("paths"), '|'))
        if (!path.empty()) paths.push_back(Widen(path));
    return paths;
}

wchar_t TSimDrive::Letter() const {
    const auto paths = Paths();
    if (paths.empty() || paths.front().size() < 2 || paths.front()[1] != L':') return 0;
    return static_cast<wchar_t>(std::towupper(paths.front()[0]));
}

std::optional<std::vector<long>> TSimDrive::Profiles() const {
    const std::string text = Text("profiles", "0x08,0x09,0x0A,0x10");
    if (text == "none") return std::nullopt;
    std::vector<long> profiles;
    for (const auto& part : Split(text, ','))
        if (!part.empty()) profiles.push_back(ParseNumber(part, -1));
    return profiles;
}

std::vector<std::uint8_t> TSimDrive::ProfileListFeature(bool markCurrent) const {
    const long current = Number("current");
    const auto profiles = Profiles().value_or(std::vector<long>{});
    std::vector<std::uint8_t> feature = {0x00, 0x00, 0x03, static_cast<std::uint8_t>(4 * profiles.size())};
    for (long profile : profiles)
        feature.insert(feature.end(), {static_cast<std::uint8_t>(profile >> 8), static_cast<std::uint8_t>(profile),
                                       static_cast<std::uint8_t>(markCurrent && profile == current), 0x00});
    return feature;
}

bool ScenarioConfigured() { return !ScenarioPath().empty(); }

TScenario ParseScenario(const std::string& text) {
    TScenario scenario;
    TSimDrive* section = &scenario.master;
    for (const auto& raw : Split(text, '\n')) {
        const std::string line = Trim(raw);
        if (line.empty()) continue;
        if (line == "[drive]") {
            scenario.drives.emplace_back();
            section = &scenario.drives.back();
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        section->values[Trim(line.substr(0, equals))] = Trim(line.substr(equals + 1));
    }
    return scenario;
}

std::string DriveId(const TScenario& scenario, std::size_t index) {
    return scenario.drives[index].Text("id", "DISCSIM-" + std::to_string(index));
}

const TSimDrive* FindDrive(const TScenario& scenario, const std::string& id) {
    for (std::size_t i = 0; i < scenario.drives.size(); ++i)
        if (DriveId(scenario, i) == id) return &scenario.drives[i];
    return nullptr;
}

HRESULT NextResult(const std::string& text, const TSimDrive& section, const std::string& owner,
                   const std::string& key, HRESULT fallback) {
    static std::mutex guard;
    static std::string seenText;
    static std::map<std::pair<std::string, std::string>, std::size_t> calls;

    // Expand "a,b*3,c" into one entry per call.
    std::vector<long> results;
    for (const auto& part : Split(section.Text(key), ',')) {
        if (part.empty()) continue;
        const auto star = part.find('*');
        const long value = ParseNumber(Trim(part.substr(0, star)), 0);
        const long repeat = star == std::string::npos ? 1 : ParseNumber(Trim(part.substr(star + 1)), 1);
        for (long i = 0; i < repeat; ++i) results.push_back(value);
    }
    if (results.empty()) return fallback;

    std::lock_guard lock(guard);
    if (text != seenText) {
        seenText = text;
        calls.clear();
    }
    std::size_t& count = calls[{owner, key}];
    const long result = results[std::min(count, results.size() - 1)];
    ++count;
    return static_cast<HRESULT>(result);
}

}  // namespace discsim
