#pragma once
// One launcher at a time: the first instance holds a named mutex; a later one
// brings the first one's window to the front and ends.
#include <string>

#include "framework/unique_resource.h"

namespace launcher {

class SingleInstance {
public:
    // True when this process is the first instance (it then holds the mutex).
    bool Acquire(const wchar_t* mutexName);
    // Brings the top-level dialog titled `title` to the foreground.
    static void ActivateExisting(const std::wstring& title);
    ~SingleInstance();

private:
    fw::UniqueHandle m_mutex;
};

}  // namespace launcher
