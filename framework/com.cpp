#include "com.h"

#include <cstdio>

namespace fw {

static std::string DescribeFailure(HRESULT hr, const char* call) {
    char text[64];
    std::snprintf(text, sizeof text, " - Error:0x%08lx", static_cast<unsigned long>(hr));
    return std::string(call ? call : "COM call") + text;
}

HResultError::HResultError(HRESULT hr, const char* call)
    : std::runtime_error(DescribeFailure(hr, call)), m_hr(hr) {}

}  // namespace fw
