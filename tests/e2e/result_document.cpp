#include "result_document.h"

#include <windows.h>

#include "xml/xml_parser.h"

namespace e2e {

ResultDocument::ResultDocument(const std::wstring& path) {
    xml::CXMLParser parser;
    if (parser.Init() != xml::kXmlOk || parser.Load(path) != xml::kXmlOk) return;
    fw::ComPtr<IXMLDOMElement> root = parser.GetRoot();
    if (!root) return;
    m_wellFormed = true;
    fw::ComPtr<IXMLDOMNodeList> tests = parser.SelectNodes(root.Get(), L"/QDX/Test");
    for (long i = 0; i < xml::NodeCount(tests.Get()); ++i) {
        fw::ComPtr<IXMLDOMElement> test;
        xml::NodeAt(tests.Get(), i).As(&test);
        m_testNames.push_back(parser.GetAttribute(test.Get(), L"name"));
    }
    m_subTests = static_cast<int>(xml::NodeCount(parser.SelectNodes(root.Get(), L"/QDX/Test/SubTest").Get()));
}

void KeepForLinuxCheck(const std::wstring& path, const std::wstring& name) {
    std::wstring folder = std::wstring(SUITE_TEST_BIN_DIR) + L"e2e-results\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::CopyFileW(path.c_str(), (folder + name).c_str(), FALSE);
}

}  // namespace e2e
