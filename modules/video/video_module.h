#pragma once
// The video module's link object: CCommFunc plus the module's own state of one
// run (the parent of every test window and the acceleration flag), and the
// seams through which the sub-tests reach DirectDraw and the screen.
#include <windows.h>

#include "ddraw_factory.h"
#include "hostlink/comm_func.h"
#include "video_platform.h"

class CVideoModule : public CCommFunc {
public:
    explicit CVideoModule(HWND parent, video::IDirectDrawFactory& directDraw = video::SystemDirectDrawFactory(),
                          video::IVideoPlatform& platform = video::SystemVideoPlatform());

    HWND Parent() const { return m_parent; }
    video::IDirectDrawFactory& DirectDraw() const { return m_directDraw; }
    video::IVideoPlatform& Platform() const { return m_platform; }

    // 1 at the start of every pass; a sub-test whose graphics device could not
    // be set up clears it, and the pass then ends with the acceleration verdict.
    int AccelerationOk = 1;

    // PrintText and WriteLog of the same string.
    void Report(UINT id);
    void Report(const std::wstring& text);
    // A sub-test's verdict: "OK" or "Failed" after its title, and its result line.
    void ReportVerdict(bool passed);

private:
    HWND m_parent;
    video::IDirectDrawFactory& m_directDraw;
    video::IVideoPlatform& m_platform;
};
