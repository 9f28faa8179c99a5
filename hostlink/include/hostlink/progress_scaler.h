#pragma once
// Turns a module's per-step progress (0..100 for each step) into one rising
// value for the whole module, the way the link object reports it.
#include <climits>
#include <optional>

namespace hostlink {

class ProgressScaler {
public:
    // Spreads the progress over `divisor` steps (0: no scaling) and starts again
    // at the first step. The last accepted value is kept on purpose: a following
    // value not above it is still dropped.
    void Initialize(int divisor) noexcept {
        m_divisor = divisor;
        m_offset = 0;
    }

    // The value to send for `value`, or nothing when it must not be sent.
    std::optional<int> Accept(int value) noexcept {
        if (value == -1 || value == -2) return value;  // the dialog's done and restart signals
        if (value <= m_last) return std::nullopt;
        m_last = value >= 100 ? 0 : value;
        if (m_divisor == 0) return value % 100;
        long long scaled = (static_cast<long long>(m_offset) + value) / m_divisor;
        if (value == 100 && m_offset <= INT_MAX - 100) m_offset += 100;
        if (scaled < 0) return 0;
        return scaled > 100 ? 100 : static_cast<int>(scaled);
    }

    int offset() const noexcept { return m_offset; }
    int last() const noexcept { return m_last; }
    int divisor() const noexcept { return m_divisor; }

private:
    // In this order inside CCommFunc: progress offset, last progress, progress divisor.
    int m_offset = 0;
    int m_last = 0;
    int m_divisor = 0;
};

}  // namespace hostlink
