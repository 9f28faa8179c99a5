#include <gtest/gtest.h>

#include <thread>

#include "temp_folder.h"
#include "xml/xml_parser.h"

using namespace xml;
using testsupport::TempFolder;

namespace {

constexpr wchar_t kSample[] =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    L"<Root version=\"2\">\r\n"
    L"  <Child>one</Child>\r\n"
    L"  <Other name=\"Vid\u00e9o\">  spaced  text  </Other>\r\n"
    L"  <Child>two</Child>\r\n"
    L"  <Nest><Child>deep</Child></Nest>\r\n"
    L"  <Empty/>\r\n"
    L"</Root>\r\n";

class XmlParser : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_parser.Init(), kXmlOk); }

    fw::ComPtr<IXMLDOMElement> LoadSample() {
        EXPECT_EQ(m_parser.Load(m_temp.WriteUtf8(L"sample.xml", kSample)), kXmlOk);
        return m_parser.GetRoot();
    }

    TempFolder m_temp;
    CXMLParser m_parser;
};

std::wstring NodeName(IXMLDOMNode* node) {
    BSTR name = nullptr;
    if (FAILED(node->get_nodeName(&name))) return L"?";
    std::wstring text(name, ::SysStringLen(name));
    ::SysFreeString(name);
    return text;
}

template <typename F>
HRESULT ThrownCode(F&& call) {
    try {
        call();
    } catch (const fw::HResultError& error) {
        return error.code();
    }
    return S_OK;
}

// Whether COM is still initialised on this thread with `model`: a further
// CoInitializeEx then only counts up (S_FALSE).
bool ApartmentStillOpen(DWORD model) {
    HRESULT hr = ::CoInitializeEx(nullptr, model);
    if (SUCCEEDED(hr)) ::CoUninitialize();
    return hr == S_FALSE;
}

}  // namespace

TEST_F(XmlParser, RootChildrenTextAndAttributes) {
    fw::ComPtr<IXMLDOMElement> root = LoadSample();
    ASSERT_TRUE(root);
    EXPECT_EQ(NodeName(root.Get()), L"Root");
    EXPECT_EQ(m_parser.GetAttribute(root.Get(), L"version"), L"2");
    EXPECT_EQ(m_parser.GetAttribute(root.Get(), L"missing"), L"");
    EXPECT_EQ(m_parser.GetAttribute(root.Get(), L"VERSION"), L"");  // names are case-sensitive

    fw::ComPtr<IXMLDOMNode> child = m_parser.SelectNode(root.Get(), L"Child");
    ASSERT_TRUE(child);
    EXPECT_EQ(m_parser.GetText(child.Get()), L"one");

    fw::ComPtr<IXMLDOMNode> other = m_parser.SelectNode(root.Get(), L"Other");
    ASSERT_TRUE(other);
    EXPECT_EQ(m_parser.GetText(other.Get()), L"  spaced  text  ");  // white space is kept
    fw::ComPtr<IXMLDOMElement> otherElement;
    ASSERT_TRUE(SUCCEEDED(other.As(&otherElement)));
    EXPECT_EQ(m_parser.GetAttribute(otherElement.Get(), L"name"), L"Vid\u00e9o");

    fw::ComPtr<IXMLDOMNode> empty = m_parser.SelectNode(root.Get(), L"Empty");
    ASSERT_TRUE(empty);
    EXPECT_EQ(m_parser.GetText(empty.Get()), L"");
}

TEST_F(XmlParser, SelectNodesTakesDirectChildrenInDocumentOrder) {
    fw::ComPtr<IXMLDOMElement> root = LoadSample();
    ASSERT_TRUE(root);
    fw::ComPtr<IXMLDOMNodeList> children = m_parser.SelectNodes(root.Get(), L"Child");
    ASSERT_TRUE(children);
    ASSERT_EQ(NodeCount(children.Get()), 2);
    EXPECT_EQ(m_parser.GetText(NodeAt(children.Get(), 0).Get()), L"one");
    EXPECT_EQ(m_parser.GetText(NodeAt(children.Get(), 1).Get()), L"two");
    EXPECT_FALSE(NodeAt(children.Get(), 2));
}

TEST_F(XmlParser, MissingNodesAreNullOrEmpty) {
    fw::ComPtr<IXMLDOMElement> root = LoadSample();
    ASSERT_TRUE(root);
    EXPECT_FALSE(m_parser.SelectNode(root.Get(), L"Nothing"));
    EXPECT_FALSE(m_parser.SelectNode(root.Get(), L"child"));
    fw::ComPtr<IXMLDOMNodeList> none = m_parser.SelectNodes(root.Get(), L"Nothing");
    ASSERT_TRUE(none);
    EXPECT_EQ(NodeCount(none.Get()), 0);
}

TEST_F(XmlParser, UnreadableFilesFailToLoad) {
    EXPECT_EQ(m_parser.Load(m_temp.path() + L"absent.xml"), kXmlLoadFailed);
    EXPECT_EQ(m_parser.Load(m_temp.WriteUtf8(L"bad.xml", L"<Root><Child>one</Root>")), kXmlLoadFailed);
    EXPECT_EQ(m_parser.Load(m_temp.WriteUtf8(L"empty.xml", L"")), kXmlLoadFailed);
    EXPECT_EQ(m_parser.Load(m_temp.WriteUtf8(L"text.xml", L"not xml at all")), kXmlLoadFailed);
    // The parser stays usable after a failed load.
    EXPECT_TRUE(LoadSample());
}

TEST_F(XmlParser, Utf16FileLoads) {
    ASSERT_EQ(m_parser.Load(m_temp.WriteUtf16(L"wide.xml", L"<Root><Child>\u00e9t\u00e9</Child></Root>")), kXmlOk);
    fw::ComPtr<IXMLDOMElement> root = m_parser.GetRoot();
    ASSERT_TRUE(root);
    EXPECT_EQ(m_parser.GetText(m_parser.SelectNode(root.Get(), L"Child").Get()), L"\u00e9t\u00e9");
}

TEST_F(XmlParser, NoDocumentElementBeforeLoad) { EXPECT_FALSE(m_parser.GetRoot()); }

TEST_F(XmlParser, NullArgumentsRaiseEPointer) {
    EXPECT_EQ(ThrownCode([&] { m_parser.SelectNode(nullptr, L"Child"); }), E_POINTER);
    EXPECT_EQ(ThrownCode([&] { m_parser.SelectNodes(nullptr, L"Child"); }), E_POINTER);
    EXPECT_EQ(ThrownCode([&] { m_parser.GetText(nullptr); }), E_POINTER);
    EXPECT_EQ(ThrownCode([&] { m_parser.GetAttribute(nullptr, L"a"); }), E_POINTER);
    EXPECT_EQ(ThrownCode([] { NodeCount(nullptr); }), E_POINTER);
    EXPECT_EQ(ThrownCode([] { NodeAt(nullptr, 0); }), E_POINTER);
}

TEST_F(XmlParser, FailedCallRaisesItsOwnHResult) {
    // A typed value that does not fit its declared type cannot be read.
    ASSERT_EQ(m_parser.Load(m_temp.WriteUtf8(
                  L"typed.xml", L"<Root xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">"
                                L"<Number dt:dt=\"int\">abc</Number><Text>plain</Text></Root>")),
              kXmlOk);
    fw::ComPtr<IXMLDOMElement> root = m_parser.GetRoot();
    ASSERT_TRUE(root);
    fw::ComPtr<IXMLDOMNode> number = m_parser.SelectNode(root.Get(), L"Number");
    ASSERT_TRUE(number);
    VARIANT value;
    ::VariantInit(&value);
    HRESULT direct = number->get_nodeTypedValue(&value);
    ::VariantClear(&value);
    ASSERT_TRUE(FAILED(direct)) << "the document object read an int from \"abc\"";

    try {
        m_parser.GetText(number.Get());
        FAIL() << "no exception";
    } catch (const fw::HResultError& error) {
        EXPECT_EQ(error.code(), direct);
        EXPECT_NE(std::string(error.what()).find("get_nodeTypedValue - Error:0x"), std::string::npos)
            << error.what();
    }
    // The document stays readable afterwards.
    EXPECT_EQ(m_parser.GetText(m_parser.SelectNode(root.Get(), L"Text").Get()), L"plain");
}

TEST(XmlParserLifetime, LoadNeedsInitAndInitAgainAfterUninit) {
    TempFolder temp;
    std::wstring path = temp.WriteUtf8(L"a.xml", L"<A/>");
    CXMLParser parser;
    EXPECT_EQ(parser.Load(path), kXmlNotInitialised);
    EXPECT_EQ(ThrownCode([&] { parser.GetRoot(); }), E_POINTER);
    ASSERT_EQ(parser.Init(), kXmlOk);
    EXPECT_EQ(parser.Init(), kXmlOk);
    EXPECT_EQ(parser.Load(path), kXmlOk);
    EXPECT_EQ(parser.Uninit(), kXmlOk);
    EXPECT_EQ(parser.Load(path), kXmlNotInitialised);
    EXPECT_EQ(ThrownCode([&] { parser.GetRoot(); }), E_POINTER);
    ASSERT_EQ(parser.Init(), kXmlOk);
    EXPECT_EQ(parser.Load(path), kXmlOk);
    EXPECT_TRUE(parser.GetRoot());
}

// Every CoInitialize the parser makes is undone once, and never one it did not make.
TEST(XmlParserLifetime, LeavesTheCallersApartmentOpen) {
    std::thread([] {
        fw::ComApartment caller(COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(caller.ok());
        {
            CXMLParser parser;
            ASSERT_EQ(parser.Init(), kXmlOk);
            EXPECT_EQ(parser.Uninit(), kXmlOk);
            EXPECT_EQ(parser.Uninit(), kXmlOk);
        }
        EXPECT_TRUE(ApartmentStillOpen(COINIT_APARTMENTTHREADED));
    }).join();
}

TEST(XmlParserLifetime, WorksOnAMultithreadedApartmentAndLeavesItOpen) {
    std::thread([] {
        fw::ComApartment caller(COINIT_MULTITHREADED);
        ASSERT_TRUE(caller.ok());
        TempFolder temp;
        {
            CXMLParser parser;
            ASSERT_EQ(parser.Init(), kXmlOk);  // its own CoInitialize fails: the thread is in another model
            ASSERT_EQ(parser.Load(temp.WriteUtf8(L"a.xml", L"<A>x</A>")), kXmlOk);
            EXPECT_EQ(parser.GetText(parser.GetRoot().Get()), L"x");
        }
        EXPECT_TRUE(ApartmentStillOpen(COINIT_MULTITHREADED));
    }).join();
}

TEST(XmlParserLifetime, DestructorEndsTheApartmentItOpened) {
    std::thread([] {
        {
            CXMLParser parser;
            ASSERT_EQ(parser.Init(), kXmlOk);
            EXPECT_TRUE(ApartmentStillOpen(COINIT_APARTMENTTHREADED));
        }
        EXPECT_FALSE(ApartmentStillOpen(COINIT_APARTMENTTHREADED));
    }).join();
}
