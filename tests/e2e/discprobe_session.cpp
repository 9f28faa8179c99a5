#include "discprobe_session.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "framework/unique_resource.h"
#include "ui_automation.h"

namespace e2e {

namespace {

// A block of memory in another process, freed with it.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size)
        : m_process(process), m_at(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (m_at) ::VirtualFreeEx(m_process, m_at, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    char* at() const { return static_cast<char*>(m_at); }
    bool Write(size_t offset, const void* data, size_t size) const {
        return m_at && ::WriteProcessMemory(m_process, at() + offset, data, size, nullptr);
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return m_at && ::ReadProcessMemory(m_process, at() + offset, data, size, nullptr);
    }

private:
    HANDLE m_process;
    void* m_at;
};

}  // namespace

DiscProbeSession::DiscProbeSession()
    : m_programDir(m_temp.MakeFolder(L"program")) {
    ::CopyFileW((std::wstring(SUITE_DIST_DIR) + L"discprobe.exe").c_str(), (m_programDir + L"discprobe.exe").c_str(),
                FALSE);
    for (const wchar_t* code : {L"ENU", L"DEU", L"JPN"}) {
        std::wstring folder = m_temp.MakeFolder(std::wstring(L"program\\qdxlang\\") + code);
        ::CopyFileW((std::wstring(SUITE_DIST_DIR) + L"QDXLang\\" + code + L"\\lang.xml").c_str(),
                    (folder + L"lang.xml").c_str(), FALSE);
    }
}

void DiscProbeSession::RemoveProgramFile(const std::wstring& relativePath) const {
    ::DeleteFileW((m_programDir + relativePath).c_str());
}

void DiscProbeSession::SetScenario(const std::string& text) {
    if (!m_drives.Write(text)) ADD_FAILURE() << "the scenario file could not be replaced";
}

testsupport::Process DiscProbeSession::Start(bool simulatedDrives) const {
    testsupport::LaunchOptions options;
    options.workingFolder = m_programDir;
    if (!simulatedDrives) options.environment = {{L"DISCSIM_SCENARIO", L""}};
    return testsupport::Process::Launch(m_programDir + L"discprobe.exe", {}, options);
}

DiscProbeWindow::DiscProbeWindow(DWORD pid, const std::wstring& title)
    : m_dialog(testsupport::WaitTopWindow({title, std::wstring(L"#32770"), pid}, kDiscTimeoutMs)),
      m_pid(pid) {}

int DiscProbeWindow::RowCount(int listId) const {
    return static_cast<int>(::SendMessageW(item(listId), LVM_GETITEMCOUNT, 0, 0));
}

std::wstring DiscProbeWindow::Cell(int listId, int row, int column) const {
    fw::UniqueHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, m_pid));
    if (!process) return {};
    constexpr size_t kChars = 256;
    RemoteBuffer remote(process.get(), sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    LVITEMW request{};
    request.iSubItem = column;
    request.pszText = reinterpret_cast<wchar_t*>(remote.at() + sizeof(LVITEMW));
    request.cchTextMax = kChars;
    if (!remote.Write(0, &request, sizeof request)) return {};
    ::SendMessageW(item(listId), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote.at()));
    wchar_t text[kChars] = {};
    remote.Read(sizeof(LVITEMW), text, sizeof text - sizeof(wchar_t));
    return text;
}

bool DiscProbeWindow::IsRowSelected(int listId, int row) const {
    return ::SendMessageW(item(listId), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED;
}

std::wstring DiscProbeWindow::Text(int id) const { return testsupport::ReadText(item(id)).value_or(L"?"); }

bool DiscProbeWindow::WaitCell(int listId, int row, int column, const std::wstring& text, DWORD timeoutMs) const {
    return testsupport::PollUntil(timeoutMs, [&] { return Cell(listId, row, column) == text; });
}

bool DiscProbeWindow::WaitNextEnabled(bool enabled, DWORD timeoutMs) const {
    return testsupport::PollUntil(timeoutMs, [&] { return NextEnabled() == enabled; });
}

void DiscProbeWindow::ClickList(POINT at) const {
    LPARAM where = MAKELPARAM(at.x, at.y);
    ::PostMessageW(item(IDC_DRIVE_LIST), WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::PostMessageW(item(IDC_DRIVE_LIST), WM_LBUTTONUP, 0, where);
}

// A marker posted behind everything else: the Cancel button's pushed look,
// which the dialog's thread sets when it gets there.
bool DiscProbeWindow::Settle() const {
    HWND cancel = item(IDC_CANCEL);
    ::PostMessageW(cancel, BM_SETSTATE, TRUE, 0);
    bool reached = testsupport::PollUntil(kDiscTimeoutMs, [&] {
        return (::SendMessageW(cancel, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    });
    ::SendMessageW(cancel, BM_SETSTATE, FALSE, 0);
    return reached;
}

bool DiscProbeWindow::Close(const testsupport::Process& checker) const {
    testsupport::ClickButton(item(IDC_CANCEL));
    return checker.WaitExit(kDiscTimeoutMs).has_value();
}

}  // namespace e2e
