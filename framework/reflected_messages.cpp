#include "reflected_messages.h"

namespace fw {

namespace {

// The child window a notification comes from, or null when the message is not
// one that is reflected.
HWND SourceOf(UINT message, LPARAM lParam) {
    switch (message) {
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        // Menu items carry a menu handle in hwndItem.
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return header ? header->hwndFrom : nullptr;
    }
    case WM_COMMAND:  // lParam is null for menus and accelerators
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}

}  // namespace

std::optional<LRESULT> ReflectToChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND child = SourceOf(message, lParam);
    // Only our own children: the record's address means nothing to anyone else.
    if (!child || !::IsChild(parent, child)) return std::nullopt;
    Reflection reflection{wParam, lParam, 0};
    if (!::SendMessageW(child, ReflectedOf(message), 0, reinterpret_cast<LPARAM>(&reflection)))
        return std::nullopt;
    return reflection.result;
}

}  // namespace fw
