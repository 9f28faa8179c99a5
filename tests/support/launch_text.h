#pragma once
// Text that a process launch is made of: the command line and the environment block.
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// One argument quoted so that the platform's command-line splitting gives it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);

// The arguments quoted and joined with blanks.
std::wstring JoinArguments(const std::vector<std::wstring>& arguments);

using EnvironmentVariables = std::vector<std::pair<std::wstring, std::wstring>>;

// An environment block (NAME=value entries, each NUL-terminated, then one more NUL)
// made of `inherited` (entries as the platform lists them) with `overrides` replacing
// variables of the same name, compared without case, or added at the end.
std::wstring MakeEnvironmentBlock(const std::vector<std::wstring>& inherited, const EnvironmentVariables& overrides);

}  // namespace testsupport
