#pragma once
// The video module on a recording host, a chosen screen and our own DirectDraw
// objects, with a fresh program folder and an error budget of 0.
#include <gtest/gtest.h>

#include "fake_ddraw.h"
#include "module_globals.h"
#include "temp_folder.h"
#include "video_test_host.h"

namespace videotest {

class VideoModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ModuleDirectory = temp.MakeFolder(L"program");
        iErrorLevel = 0;
        module.Initialize(1);  // progress in percent; 0 is the starting value and is not sent again
    }

    testsupport::TempFolder temp;
    HostRecorder host;
    FakePlatform platform;
    fakeddraw::FakeDirectDrawFactory directDraw;
    CVideoModule module{host.hwnd(), directDraw, platform};
};

}  // namespace videotest
