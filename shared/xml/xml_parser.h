#pragma once
// A thin owner of the platform's XML document object (DOMDocument 3.0 over
// COM). Failed COM calls raise fw::HResultError with the call's HRESULT; a
// null node or list handed in raises it with E_POINTER.
#include <optional>
#include <string>

#include "framework/com.h"
#include "msxml_uuids.h"

namespace xml {

// Results of Init, Load and Uninit.
constexpr int kXmlOk = 0;
constexpr int kXmlCreateFailed = 1;    // Init: the document object could not be made
constexpr int kXmlNotInitialised = 1;  // Load: Init has not succeeded
constexpr int kXmlLoadFailed = 3;      // Load: missing, unreadable or malformed file

// Initialises COM for the calling thread (single-threaded apartment); use an
// object only on the thread that called Init.
class CXMLParser {
public:
    CXMLParser() = default;
    virtual ~CXMLParser();
    CXMLParser(const CXMLParser&) = delete;
    CXMLParser& operator=(const CXMLParser&) = delete;

    // Loads synchronously and keeps white space. Already initialised: kXmlOk.
    int Init();
    int Load(const std::wstring& path);
    // Releases the document and COM; always kXmlOk. Calling it again is harmless.
    int Uninit();

    // Null when the document has no document element.
    fw::ComPtr<IXMLDOMElement> GetRoot() const;
    // The first node matching `pattern` relative to `context`; null when none does.
    fw::ComPtr<IXMLDOMNode> SelectNode(IXMLDOMNode* context, const std::wstring& pattern) const;
    // Every node matching `pattern` relative to `context`, in document order.
    fw::ComPtr<IXMLDOMNodeList> SelectNodes(IXMLDOMNode* context, const std::wstring& pattern) const;
    // The node's typed value as text; empty when it has none.
    std::wstring GetText(IXMLDOMNode* node) const;
    // The attribute's value; empty when the element has no such attribute.
    std::wstring GetAttribute(IXMLDOMElement* element, const std::wstring& name) const;

private:
    // Declared first so that it ends last: the document is released inside the apartment.
    std::optional<fw::ComApartment> m_apartment;
    fw::ComPtr<IXMLDOMDocument> m_document;
    bool m_initialised = false;
};

// Helpers for the lists SelectNodes returns.
long NodeCount(IXMLDOMNodeList* list);
fw::ComPtr<IXMLDOMNode> NodeAt(IXMLDOMNodeList* list, long index);

}  // namespace xml
