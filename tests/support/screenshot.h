#pragma once
// Pictures of the whole screen (under the bench: Wine's virtual desktop).
#include <optional>
#include <string>

#include "bmp_file.h"

namespace testsupport {

// What the screen shows now; nothing when it cannot be read.
std::optional<Image24> CaptureScreen();

// Captures the screen into a BMP file at `path`, creating its folder; false on failure.
bool SaveScreenshot(const std::wstring& path);

// Saves a screenshot as `name`.bmp in the screenshots folder of the build, for
// people to look at after the run; returns its path, or empty on failure.
std::wstring SaveNamedScreenshot(const std::wstring& name);

}  // namespace testsupport
