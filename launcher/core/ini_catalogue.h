#pragma once
// Reads the test catalogue, the fast-check group and the run-mode bits from
// initest.ini in the language folder.
#include <functional>
#include <string>

#include "test_catalogue.h"

namespace launcher {

// Appends further rows after the component tests (the XML catalogue).
using CatalogueAppender = std::function<void(TestCatalogue&)>;

// Fills `result` from languageDir + "initest.ini" and sets or clears the
// FullTest, Recovery, Standalone and DividedRecovery bits of `modeFlags`.
// A missing file leaves everything as it was. `pcCardSwitch` 0 hides tests
// whose file names contain "pcmcia".
void LoadIniCatalogue(const std::wstring& languageDir, int pcCardSwitch, const CatalogueAppender& appendMore,
                      CatalogueResult& result, unsigned& modeFlags);

// The text of languageDir + name, each line ended with CR LF; empty when the
// file cannot be opened. UTF-16 (with its byte-order mark), UTF-8 and the ANSI
// code page are read.
std::wstring LoadManualText(const std::wstring& languageDir, const std::wstring& name);

// The name a test is shown with, made from its file name: video.dll gives
// Video, hdd.dll HDD, CDROM.exe CDROM, SD.dll SD, memorystick.dll MemoryStick.
std::wstring DisplayNameFromTestFile(const std::wstring& testFile);

}  // namespace launcher
