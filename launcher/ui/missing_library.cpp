#include "missing_library.h"

#include "ask_box.h"
#include "framework/module_path.h"
#include "string_ids.h"

namespace launcher {

void ReportMissingLibrary(HWND owner, bool unattended, const std::wstring& role, const std::wstring& path) {
    std::wstring text = L"The launcher cannot start: " + role + L" is missing or damaged.\n\n" + path;
    AskBox(owner, unattended, text, L"testdeck", MB_OK | MB_ICONERROR);
}

fw::UniqueModule LoadUserInterfaceLibrary(const std::wstring& path) {
    if (!fw::PathExists(path)) return {};
    fw::UniqueModule library(::LoadLibraryW(path.c_str()));
    for (unsigned id : {ids::kOuterWindowTemplate, ids::kDiagnosticsTemplate, ids::kTestPageTemplate})
        if (library && !::FindResourceW(library.get(), MAKEINTRESOURCEW(id), RT_DIALOG)) library.reset();
    return library;
}

}  // namespace launcher
