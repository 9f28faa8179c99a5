#include "my_test_page.h"

#include <commctrl.h>
#include <shellapi.h>

#include "controls/palette.h"
#include "framework/resources.h"
#include "outer_layout.h"
#include "output_pane.h"
#include "page_text.h"
#include "string_ids.h"

namespace launcher {

namespace {

namespace item {
constexpr int kInstruction = 1047;
constexpr int kDescription = 1034;
constexpr int kOutput = 1056;
constexpr int kProgressBar = 1021;
constexpr int kPercentLabel = 1042;
constexpr int kEstimateLabel = 1093;
constexpr int kStartStop = 1037;
constexpr int kSeparator = 1035;
constexpr int kUnused1036 = 1036;
constexpr int kCombo = 1038;
constexpr int kListButton = 1081;
constexpr int kOpenReport = 1095;
}  // namespace item

// The context menu's items arrive as messages to the page: Copy is WM_COPY
// itself, Select all a private message.
constexpr UINT kMenuSelectAll = WM_APP + 1;

// Timer of the page: shows what is held once nothing more arrives.
constexpr UINT_PTR kDisplayTimer = 1;

DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    *done = reinterpret_cast<Utf8Stream*>(cookie)->Read(buffer, size);
    return 0;
}

void SetText(HWND window, const std::wstring& text) { ::SetWindowTextW(window, text.c_str()); }

}  // namespace

bool CMyTestPage::Create(HWND parent, PageSettings settings) {
    m_settings = std::move(settings);
    return fw::Dialog::Create(fw::CurrentResourceModule(), ids::kTestPageTemplate, parent);
}

void CMyTestPage::SendToDialog(UINT message, LPARAM lParam) { ::SendMessageW(::GetParent(hwnd()), message, 0, lParam); }

void CMyTestPage::Place(int id, int x, int y, int width, int height) {
    ::MoveWindow(Item(id), ScaleX(x, m_settings.dpiX), ScaleY(y, m_settings.dpiY), ScaleX(width, m_settings.dpiX),
                 ScaleY(height, m_settings.dpiY), FALSE);
}

void CMyTestPage::SetFormattingRect(int id, RECT r) {
    RECT scaled{ScaleX(r.left, m_settings.dpiX), ScaleY(r.top, m_settings.dpiY), ScaleX(r.right, m_settings.dpiX),
                ScaleY(r.bottom, m_settings.dpiY)};
    ::SendMessageW(Item(id), EM_SETRECT, 0, reinterpret_cast<LPARAM>(&scaled));
}

void CMyTestPage::OnInitDialog() {
    for (int pane : {item::kOutput, item::kDescription}) {
        ::SendMessageW(Item(pane), EM_SETOPTIONS, ECOOP_SET, ECO_READONLY | ECO_SAVESEL);
        ::SendMessageW(Item(pane), EM_SETEVENTMASK, 0, ENM_MOUSEEVENTS);
    }
    m_state = TPageState::Idle;
    m_entryIndex = -1;
    ::ShowWindow(Item(item::kListButton), SW_HIDE);
    ::ShowWindow(Item(item::kUnused1036), SW_HIDE);

    m_description.Attach(Item(item::kDescription));
    m_output.Attach(Item(item::kOutput));
    m_output.BeforeInput([this] { FlushDisplay(); });
    m_percentLabel.Attach(Item(item::kPercentLabel));

    // Instruction line: the dialog's font at 15 points, in the brand colour.
    m_instruction.Attach(Item(item::kInstruction));
    LOGFONTW font{};
    if (HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)))
        ::GetObjectW(dialogFont, sizeof font, &font);
    font.lfHeight = -::MulDiv(15, m_settings.dpiY, 72);
    m_instruction.SetFont(font);
    m_instruction.SetTextColor(kBrandColour);
    Place(item::kInstruction, 24, 24, 737, 24);  // as wide as the panes: longer languages need the room
    ::ShowWindow(Item(item::kInstruction), SW_HIDE);
    ShowInstruction();

    ::ShowWindow(Item(item::kCombo), SW_HIDE);
    StreamManualText();
    Place(item::kStartStop, 315, 428, 178, 29);
    Place(item::kOpenReport, 512, 428, 249, 29);
    ::ShowWindow(Item(item::kOpenReport), SW_HIDE);

    Place(item::kDescription, 24, 65, 737, 345);
    SetFormattingRect(item::kDescription, RECT{13, 0, 717, 345});

    Place(item::kOutput, 24, 65, 737, 275);
    SetText(Item(item::kOutput), L"");
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    ::SendMessageW(Item(item::kOutput), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    if (!KeepsDefaultOutputFont(m_settings.languageCode)) {
        format.dwMask |= CFM_FACE | CFM_CHARSET;
        format.szFaceName[0] = L'\0';
        format.bPitchAndFamily = FIXED_PITCH | FF_MODERN;
        ::SendMessageW(Item(item::kOutput), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    }
    CHARFORMAT2W size{};
    size.cbSize = sizeof size;
    size.dwMask = CFM_SIZE;
    size.yHeight = 220;  // 11 points
    ::SendMessageW(Item(item::kOutput), EM_SETSEL, 0, -1);
    ::SendMessageW(Item(item::kOutput), EM_SETCHARFORMAT, SCF_SELECTION | SCF_DEFAULT, reinterpret_cast<LPARAM>(&size));
    ::SendMessageW(Item(item::kOutput), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&size));
    SetFormattingRect(item::kOutput, RECT{10, 0, 741, 345});
    RaiseTextLimit(Item(item::kOutput));
    ::ShowWindow(Item(item::kOutput), SW_HIDE);

    Place(item::kProgressBar, 24, 375, 737, 18);
    ::ShowWindow(Item(item::kProgressBar), SW_HIDE);
    ::SendMessageW(Item(item::kProgressBar), PBM_SETRANGE32, 0, 100);

    for (auto [id, y] : {std::pair{item::kPercentLabel, 348}, std::pair{item::kEstimateLabel, 398}}) {
        HWND label = Item(id);
        ::EnableWindow(label, FALSE);
        Place(id, 512, y, 250, 29);
        ::SendMessageW(label, EM_SETREADONLY, TRUE, 0);
        RECT client{};
        ::GetClientRect(label, &client);
        client.left += ScaleX(5, m_settings.dpiX);
        client.top += ScaleY(2, m_settings.dpiY);
        ::SendMessageW(label, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&client));
        ::ShowWindow(label, SW_HIDE);
    }
    m_percentage = 0;
    SetStartStopText(fw::LoadStr(ids::kStartButton));
    m_estimate = -1;
}

void CMyTestPage::ShowInstruction() {
    HWND line = Item(item::kInstruction);
    if (m_settings.modeFlags & hostlink::mode::kRecovery) {
        ::ShowWindow(line, SW_HIDE);
        return;
    }
    bool fullTest = (m_settings.modeFlags & hostlink::mode::kFullTest) != 0;
    SetText(line, fw::LoadStr(fullTest ? ids::kInstructionFullTest : ids::kInstruction));
    ::ShowWindow(line, SW_SHOW);
}

void CMyTestPage::StreamManualText() {
    Utf8Stream stream(m_settings.manualText);
    EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&stream), 0, &StreamIn};
    ::SendMessageW(Item(item::kDescription), EM_STREAMIN, SF_RTF | SF_USECODEPAGE | (CP_UTF8 << 16),
                   reinterpret_cast<LPARAM>(&edit));
}

void CMyTestPage::SetStartStopText(const std::wstring& text) { SetText(Item(item::kStartStop), text); }

void CMyTestPage::EnableListButton(bool enable) { ::EnableWindow(Item(item::kListButton), enable); }

void CMyTestPage::ResetProgressDisplay() {
    m_percentage = 0;
    ShowProgress(0);
    if (m_estimate != -1 && m_estimate != 0) SetEstimateText(m_estimate);
}

void CMyTestPage::PrepareDisplay() {
    FlushDisplay();
    ::ShowWindow(Item(item::kProgressBar), SW_SHOW);
    HWND output = Item(item::kOutput);
    ::SendMessageW(output, EM_SETSEL, 0, -1);
    ::SendMessageW(output, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
    ::ShowWindow(output, SW_SHOW);
    ::ShowWindow(Item(item::kSeparator), SW_HIDE);
    ::ShowWindow(Item(item::kDescription), SW_HIDE);
    Place(item::kSeparator, 24, 65, 0, 0);
    ::ShowWindow(Item(item::kPercentLabel), SW_SHOW);
    ::ShowWindow(Item(item::kCombo), SW_HIDE);
    SetText(Item(item::kInstruction), fw::LoadStr(ids::kInstructionRunning));
    ::ShowWindow(Item(item::kInstruction), SW_SHOW);
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CMyTestPage::ResetDisplay() {
    FlushDisplay();
    ::ShowWindow(Item(item::kOutput), SW_HIDE);
    ::ShowWindow(Item(item::kProgressBar), SW_HIDE);
    ResetProgressDisplay();
    for (int id : {item::kPercentLabel, item::kEstimateLabel}) {
        ::ShowWindow(Item(id), SW_HIDE);
        SetText(Item(id), L"");
    }
    SetStartStopText(fw::LoadStr(ids::kStartButton));
    m_state = TPageState::Idle;
    m_estimate = -1;
    ::ShowWindow(Item(item::kOpenReport), SW_HIDE);
    StreamManualText();
    ::ShowWindow(Item(item::kDescription), SW_SHOW);
    ShowInstruction();
}

void CMyTestPage::OfferNextRun() {
    SetStartStopText(fw::LoadStr(ids::kStartButton));
    EnableStartStop(true);
    SetText(Item(item::kInstruction), fw::LoadStr(ids::kInstructionFinished));  // no longer "running"
}

void CMyTestPage::OfferReport(const std::wstring& path) {
    m_reportPath = path;
    SetText(Item(item::kOpenReport), fw::LoadStr(ids::kOpenReport));
    ::ShowWindow(Item(item::kOpenReport), SW_SHOW);
}

void CMyTestPage::StartAtOnce(int entryIndex) {
    m_entryIndex = entryIndex;
    ResetProgressDisplay();
    m_estimate = -1;
    PrepareDisplay();
    SendToDialog(hostlink::msg::kResetAbort, 0);
    SendToDialog(hostlink::msg::kStartRun, m_entryIndex);
}

void CMyTestPage::OnStartStop() {
    switch (m_state) {
    case TPageState::Idle:
        ResetProgressDisplay();
        m_estimate = -1;
        PrepareDisplay();
        SendToDialog(hostlink::msg::kStartRun, m_entryIndex);
        break;
    case TPageState::Running:
        SendToDialog(hostlink::msg::kSetAbort, 0);
        break;
    case TPageState::Finished:
        ResetDisplay();
        SendToDialog(hostlink::msg::kResetAbort, 0);
        SetText(Item(item::kInstruction), fw::LoadStr(ids::kInstructionFinished));
        break;
    }
}

void CMyTestPage::AppendText(const std::wstring& text) {
    m_pendingOutput.Add(text, std::nullopt);
    HoldDisplay();
}

// Goes to the selection when shown: the selection is then where it would be
// now, as input to the pane shows everything held before it moves the selection.
void CMyTestPage::InsertColoredText(const std::wstring& text, COLORREF colour) {
    m_pendingOutput.Add(text, colour);
    HoldDisplay();
}

void CMyTestPage::HoldDisplay() {
    const ULONGLONG now = ::GetTickCount64();
    m_throttle.Hold(now);
    // What keeps coming is shown as it comes, not only once the queue runs dry.
    if (m_throttle.Due(now)) {
        FlushDisplay();
    } else if (!m_flushTimerSet) {
        m_flushTimerSet = ::SetTimer(hwnd(), kDisplayTimer, DisplayThrottle::kMaxWaitMs, nullptr) != 0;
        if (!m_flushTimerSet) FlushDisplay();
    }
}

void CMyTestPage::FlushDisplay() {
    if (m_flushTimerSet) {
        ::KillTimer(hwnd(), kDisplayTimer);
        m_flushTimerSet = false;
    }
    m_throttle.Shown();
    if (m_percentage != m_barPosition) ShowProgress(m_percentage);
    if (m_pendingOutput.Empty()) return;
    HWND output = Item(item::kOutput);
    bool appended = false;
    for (const PaneRun& run : m_pendingOutput.Take()) {
        if (run.colour) {
            InsertAtSelection(output, run.text, *run.colour);
        } else {
            AppendAtEnd(output, run.text);
            appended = true;
        }
    }
    DropOldestLines(output);
    // Scrolled and painted now, once per batch: the queue may not run dry while text keeps coming.
    if (appended) ::SendMessageW(output, WM_VSCROLL, SB_BOTTOM, 0);
    ::UpdateWindow(output);
}

void CMyTestPage::SetPageState(TPageState state) {
    if (state == TPageState::Finished) FlushDisplay();  // the run's last words are on the screen
    m_state = state;
}

void CMyTestPage::SetProgress(int percent) {
    m_percentage = percent;
    if (percent != m_barPosition) HoldDisplay();
}

// The bar repaints itself at once on every new position, and the label is a rich edit.
void CMyTestPage::ShowProgress(int percent) {
    ::SendMessageW(Item(item::kProgressBar), PBM_SETPOS, percent, 0);
    m_barPosition = percent;
    SetText(Item(item::kPercentLabel), FormatWithNumber(fw::LoadStr(ids::kPercentFormat), percent));
}

void CMyTestPage::SetEstimateText(int estimate) {
    SetText(Item(item::kEstimateLabel), FormatWithNumber(fw::LoadStr(ids::kEstimateFormat), estimate));
}

void CMyTestPage::ShowEstimateLabel(bool show) { ::ShowWindow(Item(item::kEstimateLabel), show ? SW_SHOW : SW_HIDE); }

void CMyTestPage::EnableStartStop(bool enable) { ::EnableWindow(Item(item::kStartStop), enable); }

void CMyTestPage::ShowContextMenu() {
    HMODULE module = fw::FindResourceModule(MAKEINTRESOURCEW(ids::kContextMenu), MAKEINTRESOURCEW(4));
    if (!module) return;
    fw::UniqueMenu menu(::LoadMenuW(module, MAKEINTRESOURCEW(ids::kContextMenu)));
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    UINT chosen = static_cast<UINT>(
        ::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY, cursor.x, cursor.y, 0, hwnd(), nullptr));
    if (chosen) ::PostMessageW(hwnd(), chosen, 0, 0);
}

std::optional<LRESULT> CMyTestPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_TIMER:
        if (wParam != kDisplayTimer) return std::nullopt;
        FlushDisplay();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == item::kStartStop && HIWORD(wParam) == BN_CLICKED) {
            OnStartStop();
            return 0;
        }
        if (LOWORD(wParam) == item::kOpenReport && HIWORD(wParam) == BN_CLICKED) {
            ::ShellExecuteW(hwnd(), L"open", m_reportPath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            return 0;
        }
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) return 0;  // the page never ends itself
        return std::nullopt;
    case WM_COPY:
        ::SendMessageW(Item(item::kDescription), WM_COPY, 0, 0);
        return 0;
    case kMenuSelectAll:
        ::SendMessageW(Item(item::kDescription), EM_SETSEL, 0, -1);
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == item::kDescription && header->code == EN_MSGFILTER &&
            reinterpret_cast<const MSGFILTER*>(lParam)->msg == WM_RBUTTONDOWN) {
            ShowContextMenu();
            return 0;
        }
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

}  // namespace launcher
