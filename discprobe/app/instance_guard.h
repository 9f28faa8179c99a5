#pragma once
// One checker per session: the first process holds a named mutex for its whole
// life; a later one brings the first one's window to the front and ends.
#include <string>

#include "framework/unique_resource.h"

namespace discprobe {

constexpr wchar_t kInstanceMutexName[] = L"Global\\DiscMonitor_Mutex";

class CInstanceGuard {
public:
    // True when no other process holds the mutex (also when it could not be made).
    bool Acquire(const wchar_t* mutexName = kInstanceMutexName);

private:
    fw::UniqueHandle m_mutex;
};

// Brings the first top-level window titled `title` to the foreground, restoring
// and repainting it when it is minimised. False when there is none (an empty
// title finds none).
bool ActivateWindowTitled(const std::wstring& title);

}  // namespace discprobe
