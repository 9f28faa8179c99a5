#pragma once
// Move-only owners for the automation values the recorder interfaces hand out.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <vector>

#include "framework/unique_resource.h"

namespace imapi {

struct BstrTraits {
    using Value = BSTR;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::SysFreeString(v); }
};
struct SafeArrayTraits {
    using Value = SAFEARRAY*;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::SafeArrayDestroy(v); }
};
struct TaskMemTraits {
    using Value = BYTE*;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::CoTaskMemFree(v); }
};

using UniqueBstr = fw::UniqueResource<BstrTraits>;
using UniqueSafeArray = fw::UniqueResource<SafeArrayTraits>;
using UniqueTaskMem = fw::UniqueResource<TaskMemTraits>;

// Receives an out-parameter into an owner: call(Out(owner)). The owner holds the value
// once the statement has ended, not within the same expression.
template <typename Owner>
class OutParam {
public:
    explicit OutParam(Owner& owner) noexcept : m_owner(owner) {}
    ~OutParam() { m_owner.reset(m_value); }
    OutParam(const OutParam&) = delete;
    OutParam& operator=(const OutParam&) = delete;
    operator typename Owner::Value*() noexcept { return &m_value; }

private:
    Owner& m_owner;
    typename Owner::Value m_value = nullptr;
};
template <typename Owner>
OutParam<Owner> Out(Owner& owner) noexcept {
    owner.reset();
    return OutParam<Owner>(owner);
}

UniqueBstr MakeBstr(std::wstring_view text);
std::wstring ToString(BSTR text);
// Texts of a one-dimensional array of VARIANTs holding BSTRs; other elements give empty texts.
std::vector<std::wstring> StringsOf(SAFEARRAY* array);
// 32-bit values of a one-dimensional array of VARIANTs (or of LONGs).
std::vector<LONG> LongsOf(SAFEARRAY* array);

}  // namespace imapi
