#pragma once
// Facts about the machine and its settings that the launcher reads at start.
#include <windows.h>
#include <string>

#include "framework/unique_resource.h"

namespace launcher {

// The native processor architecture (9 = AMD64); 0 when it cannot be read.
int ReadProcessorArchitecture();

// nController of [Settings] in programDir + "diagpcmcia.ini"; 0 when absent or empty.
int ReadPcCardSwitch(const std::wstring& programDir);

// "%d/%02d/%02d  %02d:%02d:%02d" of a local time.
std::wstring FormatRunDate(const SYSTEMTIME& time);

// The model-name buffer handed to sysident's GetModelName, which is given no
// size: far more than any firmware name (a library written for the old
// 256-character buffer fits many times over); our stand-in cuts to it.
constexpr size_t kModelNameChars = 4096;
using GetModelNameFn = void(__cdecl*)(wchar_t* buffer);

// Calls GetModelName with a zero-filled buffer of kModelNameChars and reads
// the name back no further than the buffer, terminated or not.
std::wstring CallGetModelName(GetModelNameFn getModelName);

// sysident.dll from programDir. The library stays loaded for the life of the
// process once it has loaded.
struct ModelNameSource {
    bool loaded = false;
    std::wstring modelName;  // empty when the library has no GetModelName
};
ModelNameSource ReadModelName(const std::wstring& programDir);

// The computer's name; empty when it cannot be read.
std::wstring ComputerName();
// "<product name> <major>.<minor>.<build>", from the kernel's own figures
// (which do not depend on the program's compatibility manifest).
std::wstring WindowsVersion();

}  // namespace launcher
