#pragma once
// The worker thread that runs all passes of one StartTest call.
#include <windows.h>

#include <string>

#include "framework/worker_thread.h"

class CDllThread : public fw::WorkerThread {
public:
    explicit CDllThread(HWND parent) : m_parent(parent) {}

    int m_loopCount = 0;
    unsigned m_flags = 0;
    std::wstring m_moduleDirectory;

protected:
    DWORD Run() override;

private:
    HWND m_parent;
};
