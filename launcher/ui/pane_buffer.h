#pragma once
// What a run shows, held back for a moment. The output pane (a rich edit)
// lays out and repaints on every insertion, and the progress bar on every new
// position, so what arrives message by message is shown a few dozen times a
// second instead: the text in the order and colours it came in, the progress
// at its latest value.
#include <windows.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher {

struct PaneRun {
    std::wstring text;
    std::optional<COLORREF> colour;  // none: the pane's default colour
    bool operator==(const PaneRun&) const = default;
};

// Text for the end of the output pane.
class PaneBuffer {
public:
    void Add(std::wstring_view text, std::optional<COLORREF> colour);
    bool Empty() const { return m_runs.empty(); }
    // The waiting text, neighbours of one colour joined; the buffer is empty afterwards.
    std::vector<PaneRun> Take();

private:
    std::vector<PaneRun> m_runs;
};

// How much the output pane holds. A rich edit takes only 32,767 characters
// unless told otherwise (Wine does not show this), and a day of burn-in would
// fill any limit: beyond about 1 MB of text the oldest lines go, the log keeps them.
constexpr LONG kPaneTextLimit = 0x7FFFFFFE;     // what the control is told it may take
constexpr LONG kPaneKeepChars = 512 * 1024;     // 1 MB of UTF-16 text
constexpr LONG kPaneTrimToChars = 384 * 1024;   // after a trim: room for a while before the next
// The characters to drop from the start of a pane of `length` (the cut then
// moves on to the next line start); 0 while it is within bounds.
LONG PaneCharsToDrop(LONG length);

// When held changes are due on the screen.
class DisplayThrottle {
public:
    // The longest a change waits: with the time a batch takes, well over 20
    // updates a second while changes arrive, even on a busy machine.
    static constexpr UINT kMaxWaitMs = 20;

    // A change waits from `now` (milliseconds) on; the oldest waiting change counts.
    void Hold(ULONGLONG now) {
        if (!m_since) m_since = now;
    }
    bool Holding() const { return m_since.has_value(); }
    bool Due(ULONGLONG now) const { return m_since && now - *m_since >= kMaxWaitMs; }
    void Shown() { m_since.reset(); }

private:
    std::optional<ULONGLONG> m_since;
};

}  // namespace launcher
