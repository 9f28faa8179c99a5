#include "pane_buffer.h"

namespace launcher {

void PaneBuffer::Add(std::wstring_view text, std::optional<COLORREF> colour) {
    if (text.empty()) return;
    if (!m_runs.empty() && m_runs.back().colour == colour)
        m_runs.back().text += text;
    else
        m_runs.push_back({std::wstring(text), colour});
}

LONG PaneCharsToDrop(LONG length) { return length > kPaneKeepChars ? length - kPaneTrimToChars : 0; }

std::vector<PaneRun> PaneBuffer::Take() {
    std::vector<PaneRun> runs;
    runs.swap(m_runs);
    return runs;
}

}  // namespace launcher
