#pragma once
// The few list-view operations the checker's lists use.
#include <windows.h>
#include <string>

namespace discprobe::listview {

void AddColumn(HWND list, int index, const std::wstring& title, int width);
void DeleteAllColumns(HWND list);
// Appends a row with `text` in column 0 (and image 0 when the list has images).
void AddRow(HWND list, const std::wstring& text, int image = -1);
void SetCell(HWND list, int row, int column, const std::wstring& text);
bool IsSelected(HWND list, int row);

}  // namespace discprobe::listview
