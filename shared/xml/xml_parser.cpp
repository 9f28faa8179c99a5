#include "xml_parser.h"

#include <oleauto.h>
#include <ole2.h>

namespace xml {

namespace {

// DOMDocument 3.0 by its own class id: the version-independent one may pick another version.
constexpr CLSID kDomDocument30 = {0xf5078f32, 0xc551, 0x11d3, {0x89, 0xb9, 0x00, 0x00, 0xf8, 0x1f, 0xe2, 0x21}};

class Bstr {
public:
    explicit Bstr(const std::wstring& text)
        : m_value(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
        if (!m_value) throw fw::HResultError(E_OUTOFMEMORY, "SysAllocStringLen");
    }
    ~Bstr() { ::SysFreeString(m_value); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR get() const noexcept { return m_value; }

private:
    BSTR m_value;
};

class Variant {
public:
    Variant() noexcept { ::VariantInit(&m_value); }
    ~Variant() { ::VariantClear(&m_value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* out() noexcept { return &m_value; }

    std::wstring Text() {
        if (m_value.vt == VT_EMPTY || m_value.vt == VT_NULL) return {};
        if (m_value.vt != VT_BSTR)
            fw::ThrowIfFailed(::VariantChangeType(&m_value, &m_value, 0, VT_BSTR), "VariantChangeType");
        if (!m_value.bstrVal) return {};
        return std::wstring(m_value.bstrVal, ::SysStringLen(m_value.bstrVal));
    }

private:
    VARIANT m_value;
};

template <typename T>
T* Required(T* pointer, const char* what) {
    if (!pointer) throw fw::HResultError(E_POINTER, what);
    return pointer;
}

fw::ComPtr<IXMLDOMDocument> CreateDocument() {
    fw::ComPtr<IUnknown> unknown;
    fw::ComPtr<IXMLDOMDocument> document;
    if (FAILED(::CoCreateInstance(kDomDocument30, nullptr, CLSCTX_SERVER, IID_IUnknown, &unknown)) ||
        FAILED(::OleRun(unknown.Get())) || FAILED(unknown.As(&document)) ||
        FAILED(document->put_async(VARIANT_FALSE)) || FAILED(document->put_preserveWhiteSpace(VARIANT_TRUE)))
        return nullptr;
    return document;
}

}  // namespace

CXMLParser::~CXMLParser() { Uninit(); }

int CXMLParser::Init() {
    if (m_initialised) return kXmlOk;
    if (!m_apartment) m_apartment.emplace();
    m_document = CreateDocument();
    if (!m_document) return kXmlCreateFailed;
    m_initialised = true;
    return kXmlOk;
}

int CXMLParser::Load(const std::wstring& path) {
    if (!m_initialised) return kXmlNotInitialised;
    Bstr text(path);
    VARIANT source;
    ::VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = text.get();  // still owned by `text`
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (FAILED(m_document->load(source, &loaded)) || loaded != VARIANT_TRUE) return kXmlLoadFailed;
    return kXmlOk;
}

int CXMLParser::Uninit() {
    m_document.Reset();
    m_initialised = false;
    m_apartment.reset();  // CoUninitialize only for a CoInitialize of ours that succeeded
    return kXmlOk;
}

fw::ComPtr<IXMLDOMElement> CXMLParser::GetRoot() const {
    fw::ComPtr<IXMLDOMElement> root;
    fw::ThrowIfFailed(Required(m_document.Get(), "GetRoot")->get_documentElement(&root), "get_documentElement");
    return root;
}

fw::ComPtr<IXMLDOMNode> CXMLParser::SelectNode(IXMLDOMNode* context, const std::wstring& pattern) const {
    fw::ComPtr<IXMLDOMNode> node;
    fw::ThrowIfFailed(Required(context, "SelectNode")->selectSingleNode(Bstr(pattern).get(), &node),
                      "selectSingleNode");
    return node;
}

fw::ComPtr<IXMLDOMNodeList> CXMLParser::SelectNodes(IXMLDOMNode* context, const std::wstring& pattern) const {
    fw::ComPtr<IXMLDOMNodeList> list;
    fw::ThrowIfFailed(Required(context, "SelectNodes")->selectNodes(Bstr(pattern).get(), &list), "selectNodes");
    return list;
}

std::wstring CXMLParser::GetText(IXMLDOMNode* node) const {
    Variant value;
    fw::ThrowIfFailed(Required(node, "GetText")->get_nodeTypedValue(value.out()), "get_nodeTypedValue");
    return value.Text();
}

std::wstring CXMLParser::GetAttribute(IXMLDOMElement* element, const std::wstring& name) const {
    Variant value;
    fw::ThrowIfFailed(Required(element, "GetAttribute")->getAttribute(Bstr(name).get(), value.out()),
                      "getAttribute");
    return value.Text();
}

long NodeCount(IXMLDOMNodeList* list) {
    long count = 0;
    fw::ThrowIfFailed(Required(list, "NodeCount")->get_length(&count), "get_length");
    return count;
}

fw::ComPtr<IXMLDOMNode> NodeAt(IXMLDOMNodeList* list, long index) {
    fw::ComPtr<IXMLDOMNode> node;
    fw::ThrowIfFailed(Required(list, "NodeAt")->get_item(index, &node), "get_item");
    return node;
}

}  // namespace xml
