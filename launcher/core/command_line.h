#pragma once
// What the command line asks for, and the run list it selects from the catalogue.
#include <optional>
#include <string>
#include <vector>

#include "burn_in.h"
#include "test_catalogue.h"

namespace launcher {

struct CommandLine {
    std::vector<std::wstring> moduleArguments;  // at most kMaxModuleArguments, in order
    bool keepOpen = false;                      // a token starting with "-h"
    bool unattended = false;                    // "-unattended": nobody answers a box or closes the window
    std::optional<unsigned> timeoutSeconds;     // "-timeout:N"
    BurnInPlan burnIn;                          // "-cycles:N", "-for:M", "-stoponfail"
};

// An unattended launch without "-timeout:N" gives each test module an hour.
constexpr unsigned kUnattendedTimeLimit = 3600;

// Seconds a test module may take; 0 = no limit (attended launches without "-timeout:N").
unsigned TimeLimitSeconds(const CommandLine& line);

// Reads the tokens of the whole command line (the program's own name included).
CommandLine ParseCommandLineTokens(const std::vector<std::wstring>& tokens);

// Splits `commandLine` the platform's way and reads it.
CommandLine ParseCommandLine(const wchar_t* commandLine);

// "quick" adds the fast-check tests found in the catalogue; any other argument
// adds the first row whose file name starts with it (compared case-sensitively
// after lower-casing the argument). At most kMaxRunRows rows.
RunList BuildRunList(const std::vector<std::wstring>& moduleArguments, const TestCatalogue& catalogue,
                     const FastCheckList& fastCheck);

}  // namespace launcher
