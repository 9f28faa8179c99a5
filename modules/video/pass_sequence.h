#pragma once
// The video test's passes: the loop over the passes with its marking and stop
// rules, and one pass of the three sub-tests with its verdict.
#include <functional>

class CVideoModule;

namespace video {

// Option bits of StartTest that this module reads.
constexpr unsigned kMarking = 0x1;
constexpr unsigned kNoCleanMarking = 0x4;
constexpr unsigned kStopAfterFailure = 0x8;

// What Run2DTest returns besides 0, 1 and 2: the screen is not in landscape.
constexpr int kOrientationRefused = 3;

// The three sub-tests of a pass; tests replace them.
struct SubTests {
    std::function<int(CVideoModule&)> run2D;
    std::function<int(CVideoModule&)> memory;
    std::function<int(CVideoModule&)> run3D;
};
const SubTests& VideoSubTests();

// One pass: 0 passed, 1 errors detected, 2 cancelled.
int RunOnePass(CVideoModule& module, const SubTests& subTests = VideoSubTests());

// `loopCount` passes; the code of the last pass that did not succeed, or 0.
int RunPasses(CVideoModule& module, unsigned flags, int loopCount, const SubTests& subTests = VideoSubTests());

}  // namespace video
