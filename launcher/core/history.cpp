#include "history.h"

#include <windows.h>

#include "utf16_file.h"

namespace launcher {

namespace {

constexpr wchar_t kNumSection[] = L"HISTORY_NUM";
constexpr wchar_t kNumKey[] = L"NUM";
constexpr wchar_t kDateKey[] = L"DATE";
constexpr wchar_t kResultKey[] = L"RESULT";

std::wstring SectionName(int index) { return L"HISTORY_" + std::to_wstring(index); }

// Cut to what a read buffer gives back, without splitting a surrogate pair.
std::wstring CutToValue(std::wstring value) {
    constexpr size_t limit = RunHistory::kValueChars - 1;
    if (value.size() <= limit) return value;
    bool splitsPair = IS_HIGH_SURROGATE(value[limit - 1]) && IS_LOW_SURROGATE(value[limit]);
    value.resize(splitsPair ? limit - 1 : limit);
    return value;
}

}  // namespace

const std::wstring& HistoryResultText(const HistoryTexts& texts, bool userStopped, int runResult) {
    if (userStopped) return texts.stopped;
    return runResult != 0 ? texts.failed : texts.passed;
}

bool RunHistory::CreateIfMissing() const {
    fw::UniqueFile file = OpenExclusive(m_path, GENERIC_WRITE, CREATE_NEW);
    return file && WriteUtf16(file.get(), kByteOrderMark);
}

int RunHistory::Count() const {
    int count = static_cast<int>(::GetPrivateProfileIntW(kNumSection, kNumKey, 0, m_path.c_str()));
    // A damaged count must not send the shift over billions of sections.
    return count < 0 ? 0 : count > kMaxEntries ? kMaxEntries : count;
}

HistoryEntry RunHistory::Entry(int index) const { return {Read(index, kDateKey), Read(index, kResultKey)}; }

void RunHistory::Add(const std::wstring& runDate, const std::wstring& runTitle,
                     const std::wstring& resultText) const {
    int count = Count();
    for (int b = count < kMaxEntries ? count : kMaxEntries - 1; b >= 1; --b) {
        Write(b, kDateKey, Read(b - 1, kDateKey));
        Write(b, kResultKey, Read(b - 1, kResultKey));
    }
    if (count < kMaxEntries)
        ::WritePrivateProfileStringW(kNumSection, kNumKey, std::to_wstring(count + 1).c_str(), m_path.c_str());
    Write(0, kDateKey, runDate);
    Write(0, kResultKey, runTitle + L"\t\t" + resultText);
}

std::wstring RunHistory::Read(int index, const wchar_t* key) const {
    wchar_t value[kValueChars] = {};
    ::GetPrivateProfileStringW(SectionName(index).c_str(), key, L"", value, kValueChars, m_path.c_str());
    return value;
}

void RunHistory::Write(int index, const wchar_t* key, const std::wstring& value) const {
    ::WritePrivateProfileStringW(SectionName(index).c_str(), key, CutToValue(value).c_str(), m_path.c_str());
}

}  // namespace launcher
