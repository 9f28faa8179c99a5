#pragma once
// The script that scripted.dll replays: one link call per line.
//
//   text TEXT | log TEXT | box TEXT          PrintText, WriteLog, ShowMyMessageBox (\n in TEXT: CR LF)
//   progress N | init N | estimate N         Progress, Initialize, PrintEstimateTestTime
//   sub N R | xml NAME R                     WriteXmlSub, WriteXml
//   color TEXT RGB                           PrintColorText (the text in the system code page)
//   setlog | setlogdir DIR                   SetSusResLog from the settings / with a folder
//   clearlog | savelog | hold                ClearCurrentLog, SaveCurrentLog, HoldWindow
//   abortpoll [MS]                           GetAbort until it answers 1 (StartTest then returns 2)
//                                            or MS milliseconds (10,000 when not given) have passed
//   sleep MS | return N                      wait; StartTest returns N at once
//   ask TEXT STYLE                           ShowMyMessageBox with that style; StartTest returns
//                                            0 when the answer is Yes or OK, else 1
//   hang                                     never returns
//   crash                                    writes to address 0
//   faults N W H                             ReportFaultPoints for the next sub-test: N points of a
//                                            W x H picture, point i at x = 97 i mod W, y = 61 i mod H,
//                                            expected 0xFFFFFF, read i
//   oncall K N                               on its K-th call in this process StartTest returns N at once
//   repeatabort                              SetRepeatAbort
//
// Numbers are decimal or 0x hexadecimal and may be negative. Blank lines are
// skipped; any other line the parser does not understand becomes kUnknown.
#include <string>
#include <string_view>
#include <vector>

namespace scripted {

enum class Op {
    kText, kLog, kBox, kProgress, kInit, kEstimate, kSub, kXml, kColor, kSetLog, kSetLogDir,
    kClearLog, kSaveLog, kHold, kAbortPoll, kSleep, kReturn, kAsk, kHang, kCrash, kFaults, kOnCall, kRepeatAbort, kUnknown,
};

constexpr long long kAbortPollDefaultMs = 10000;

struct Command {
    Op op = Op::kUnknown;
    std::wstring text;  // the text, name or folder; the whole line for kUnknown
    long long first = 0;
    long long second = 0;
    long long third = 0;
    bool operator==(const Command&) const = default;
};

Command ParseLine(std::wstring_view line);
// Lines end with LF or CR LF; a leading byte-order mark is skipped.
std::vector<Command> ParseScript(std::wstring_view script);

}  // namespace scripted
