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
