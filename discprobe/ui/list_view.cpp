#include "list_view.h"

#include <commctrl.h>

namespace discprobe::listview {

void AddColumn(HWND list, int index, const std::wstring& title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.cx = width;
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}

void DeleteAllColumns(HWND list) {
    while (ListView_DeleteColumn(list, 0)) {
    }
}

void AddRow(HWND list, const std::wstring& text, int image) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    ListView_InsertItem(list, &item);
}

void SetCell(HWND list, int row, int column, const std::wstring& text) {
    ListView_SetItemText(list, row, column, const_cast<wchar_t*>(text.c_str()));
}

bool IsSelected(HWND list, int row) { return ListView_GetItemState(list, row, LVIS_SELECTED) & LVIS_SELECTED; }

}  // namespace discprobe::listview
