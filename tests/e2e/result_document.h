#pragma once
// The launcher's result file as a reader of the factory line sees it: loaded
// by the platform's XML parser, which refuses anything that is not one whole,
// well-formed document.
#include <string>
#include <vector>

namespace e2e {

class ResultDocument {
public:
    explicit ResultDocument(const std::wstring& path);

    bool wellFormed() const { return m_wellFormed; }
    // The name of every Test element, in order; empty when the file is no document.
    const std::vector<std::wstring>& TestNames() const { return m_testNames; }
    int SubTestCount() const { return m_subTests; }

private:
    bool m_wellFormed = false;
    std::vector<std::wstring> m_testNames;
    int m_subTests = 0;
};

// Copies a result file to the test programs' e2e-results folder, where a check
// on the Linux side reads it with a parser of its own.
void KeepForLinuxCheck(const std::wstring& path, const std::wstring& name);

}  // namespace e2e
