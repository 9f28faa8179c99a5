#include "com_owners.h"

#include "framework/com.h"

namespace imapi {

UniqueBstr MakeBstr(std::wstring_view text) {
    UniqueBstr value(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    if (!value) throw fw::HResultError(E_OUTOFMEMORY, "SysAllocStringLen");
    return value;
}

std::wstring ToString(BSTR text) {
    return text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
}

namespace {

// Calls visit(element) for each element of a one-dimensional VARIANT array.
template <typename Visit>
void ForEachVariant(SAFEARRAY* array, Visit visit) {
    if (!array || ::SafeArrayGetDim(array) != 1) return;
    VARTYPE type = VT_EMPTY;
    if (FAILED(::SafeArrayGetVartype(array, &type))) return;
    LONG lower = 0, upper = -1;
    if (FAILED(::SafeArrayGetLBound(array, 1, &lower)) || FAILED(::SafeArrayGetUBound(array, 1, &upper))) return;
    for (LONG i = lower; i <= upper; ++i) {
        VARIANT element;
        ::VariantInit(&element);
        if (type == VT_VARIANT) {
            if (FAILED(::SafeArrayGetElement(array, &i, &element))) continue;
        } else if (type == VT_I4 || type == VT_INT) {
            element.vt = VT_I4;
            if (FAILED(::SafeArrayGetElement(array, &i, &element.lVal))) continue;
        } else if (type == VT_BSTR) {
            element.vt = VT_BSTR;
            if (FAILED(::SafeArrayGetElement(array, &i, &element.bstrVal))) continue;
        } else {
            continue;
        }
        visit(element);
        ::VariantClear(&element);
    }
}

}  // namespace

std::vector<std::wstring> StringsOf(SAFEARRAY* array) {
    std::vector<std::wstring> texts;
    ForEachVariant(array, [&](const VARIANT& v) { texts.push_back(v.vt == VT_BSTR ? ToString(v.bstrVal) : L""); });
    return texts;
}

std::vector<LONG> LongsOf(SAFEARRAY* array) {
    std::vector<LONG> values;
    ForEachVariant(array, [&](const VARIANT& v) {
        VARIANT number;
        ::VariantInit(&number);
        if (SUCCEEDED(::VariantChangeType(&number, const_cast<VARIANT*>(&v), 0, VT_I4))) values.push_back(number.lVal);
    });
    return values;
}

}  // namespace imapi
