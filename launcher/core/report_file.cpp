#include "report_file.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>

#include "framework/unique_resource.h"
#include "utf16_file.h"

namespace launcher {

namespace {

constexpr std::wstring_view kPrefix = L"qdx_report_";
constexpr std::wstring_view kSuffix = L".html";

struct FindTraits {
    using Value = HANDLE;
    static Value invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Value v) noexcept { ::FindClose(v); }
};

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

// The names sort as the times they carry: the oldest first.
void RemoveOldest(const std::wstring& folder, const std::wstring& keep) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    fw::UniqueResource<FindTraits> search(::FindFirstFileW((folder + L"qdx_report_*.html").c_str(), &found));
    if (!search) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsReportFileName(found.cFileName))
            names.push_back(found.cFileName);
    } while (::FindNextFileW(search.get(), &found));
    std::sort(names.begin(), names.end());
    for (size_t i = 0; names.size() - i > kReportsKept; ++i)
        if (names[i] != keep) ::DeleteFileW((folder + names[i]).c_str());
}

}  // namespace

std::wstring ReportFileName(const SYSTEMTIME& t) {
    wchar_t name[64];
    std::swprintf(name, 64, L"qdx_report_%04d%02d%02d_%02d%02d%02d.html", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    return name;
}

bool IsReportFileName(std::wstring_view name) {
    if (name.size() != kPrefix.size() + 15 + kSuffix.size() || name.substr(0, kPrefix.size()) != kPrefix ||
        name.substr(name.size() - kSuffix.size()) != kSuffix)
        return false;
    std::wstring_view stamp = name.substr(kPrefix.size(), 15);
    for (size_t i = 0; i < stamp.size(); ++i)
        if (i == 8 ? stamp[i] != L'_' : !std::iswdigit(stamp[i])) return false;
    return true;
}

ReportPaths ReportPathsIn(const std::wstring& folder, const SYSTEMTIME& started) {
    if (folder.empty()) return {};
    return {folder + kReportsFolderName + ReportFileName(started), folder + kLatestReportName};
}

bool WriteReportFiles(const ReportPaths& paths, std::string_view html) {
    if (paths.report.empty()) return false;
    const std::wstring folder = FolderOf(paths.report);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    {
        fw::UniqueFile file = OpenSharedForReading(paths.report, GENERIC_WRITE, CREATE_ALWAYS);
        DWORD written = 0;
        if (!file || !::WriteFile(file.get(), html.data(), static_cast<DWORD>(html.size()), &written, nullptr) ||
            written != html.size())
            return false;
        ::FlushFileBuffers(file.get());
    }
    RemoveOldest(folder, paths.report.substr(folder.size()));
    ::CopyFileW(paths.report.c_str(), paths.latest.c_str(), FALSE);
    return true;
}

}  // namespace launcher
