#include "testbed/standin/window.h"

#include <commctrl.h>

#include <string>

#include "testbed/common/variant_json.h"
#include "testbed/standin/identity.h"

namespace standin {
namespace {

constexpr UINT_PTR kExitTimer = 1;

// The value as the list shows it: text as it is, other values in the user's locale.
std::wstring DisplayText(const _variant_t& value) {
  if (V_VT(&value) == VT_BSTR) return std::wstring(V_BSTR(&value), SysStringLen(V_BSTR(&value)));
  _variant_t text;
  if (FAILED(VariantChangeTypeEx(&text, testbed::SourceArg(&value), LOCALE_USER_DEFAULT, 0, VT_BSTR))) return L"";
  return std::wstring(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
}

std::wstring Title(const Host& host) {
  std::wstring title = L"Brevanto (stand-in) - ";
  if (!host.has_document()) return title + L"no document open";
  return title + L"document " + std::to_wstring(host.document_index()) + L", " +
         std::to_wstring(host.document().size()) + L" line items";
}

}  // namespace

bool MainWindow::Create(HINSTANCE instance, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &MainWindow::Procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&window_class)) return false;
  window_ = CreateWindowExW(0, kWindowClass, Title(host_).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                            900, 300, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;
  ShowWindow(window_, show);
  UpdateWindow(window_);
  return true;
}

void MainWindow::CreateList() {
  RECT area{};
  GetClientRect(window_, &area);
  list_ = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
                          area.right, area.bottom, window_, nullptr, nullptr, nullptr);
  if (list_ == nullptr) return;
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  int index = 0;
  for (const wchar_t* name : kFieldNames) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 100;
    column.pszText = const_cast<wchar_t*>(name);  // the control copies the text
    ListView_InsertColumn(list_, index++, &column);
  }
}

void MainWindow::Refresh() {
  SetWindowTextW(window_, Title(host_).c_str());
  if (list_ == nullptr) return;
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list_);
  int row = 0;
  for (const LineItem& item : host_.document()) {
    LVITEMW entry{};
    entry.mask = LVIF_TEXT;
    entry.iItem = row;
    entry.pszText = const_cast<wchar_t*>(L"");
    ListView_InsertItem(list_, &entry);
    for (const Field& field : item) {
      int column = 0;
      while (column < static_cast<int>(std::size(kFieldNames)) && field.name != kFieldNames[column]) ++column;
      std::wstring text = DisplayText(field.value);
      ListView_SetItemText(list_, row, column, text.data());
    }
    ++row;
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void MainWindow::CloseAfter(UINT milliseconds) { SetTimer(window_, kExitTimer, milliseconds, nullptr); }

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self ? self->Handle(message, wparam, lparam) : DefWindowProcW(window, message, wparam, lparam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      CreateList();
      return 0;
    case WM_SIZE:
      if (list_ != nullptr) MoveWindow(list_, 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
      return 0;
    case WM_TIMER:
      if (wparam == kExitTimer) {
        KillTimer(window_, kExitTimer);
        PostMessageW(window_, WM_CLOSE, 0, 0);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

}  // namespace standin
