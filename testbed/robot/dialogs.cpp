#include "testbed/robot/dialogs.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "testbed/common/json.h"

namespace robot {
namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static control that holds a message box's text
constexpr int kProgressLine1Id = 103;   // the progress window's lines, as Wine 8 numbers them
constexpr int kProgressLine2Id = 104;
constexpr UINT kSendTimeoutMs = 2000;

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return name;
}

// WM_GETTEXT through SendMessageTimeout: the system copies the text across processes, and a hung
// box cannot hang the robot.
std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return L"";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &copied)) {
    return L"";
  }
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM found) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND FindIconControl(HWND box) {
  for (HWND child : Children(box)) {
    if (GetParent(child) == box && ClassName(child) == L"Static" && IsWindowVisible(child) &&
        (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      return child;
    }
  }
  return nullptr;
}

// The client area of `control` relative to the top-left corner of `box`'s window rectangle.
RECT AreaWithin(HWND box, HWND control) {
  RECT box_rect{}, client{};
  GetWindowRect(box, &box_rect);
  GetClientRect(control, &client);
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -box_rect.left, -box_rect.top);
  return client;
}

bool IsUniform(const Image& image) {
  for (auto pixel : image.pixels) {
    if (pixel != image.pixels.front()) return false;
  }
  return true;
}

// Whether another window covers the centre of `control` (a child of `box`, or the box itself).
bool WindowFromPointIsOther(HWND box, HWND control) {
  RECT area{};
  GetWindowRect(control, &area);
  POINT centre{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
  HWND there = WindowFromPoint(centre);
  return there == nullptr || GetAncestor(there, GA_ROOT) != box;
}

// Whatever covers the box on the screen would be captured instead of it: raise it (without
// activating it) when a point of `control` belongs to another window.
void EnsureOnTop(HWND box, HWND control) {
  if (WindowFromPointIsOther(box, control)) {
    SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// The box as drawn on the screen: asks it to paint now, then captures until two captures in a
// row agree and show more than one colour (a box has at least its text and a button).
std::optional<Image> CaptureDrawnBox(HWND box) {
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  std::optional<Image> previous;
  for (int attempt = 0; attempt < 40; ++attempt) {
    Sleep(50);
    RECT area{};
    GetWindowRect(box, &area);
    std::optional<Image> current = CaptureScreen(area);
    if (current && previous && *current == *previous && !IsUniform(*current)) return current;
    previous = std::move(current);
  }
  return previous;
}

// The box's visible buttons, in the order of its child windows.
std::vector<HWND> Buttons(HWND box) {
  std::vector<HWND> buttons;
  for (HWND child : Children(box)) {
    if (GetParent(child) == box && ClassName(child) == L"Button" && IsWindowVisible(child)) buttons.push_back(child);
  }
  return buttons;
}

}  // namespace

std::vector<HWND> FindDialogs(DWORD process_id) {
  struct Search {
    DWORD process_id;
    std::vector<HWND> found;
  } search{process_id, {}};
  EnumWindows(
      [](HWND window, LPARAM context) {
        auto* s = reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->process_id && IsWindowVisible(window) && ClassName(window) == L"#32770") {
          s->found.push_back(window);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsMessageBox(HWND dialog) { return GetDlgItem(dialog, kMessageTextId) != nullptr; }

bool IsProgressWindow(HWND dialog) {
  if (IsMessageBox(dialog)) return false;
  const std::vector<HWND> children = Children(dialog);
  return std::any_of(children.begin(), children.end(), [](HWND child) { return ClassName(child) == PROGRESS_CLASSW; });
}

ProgressReading ReadProgress(HWND window) {
  ProgressReading reading;
  reading.title = WindowText(window);
  if (HWND line = GetDlgItem(window, kProgressLine1Id)) reading.line1 = WindowText(line);
  if (HWND line = GetDlgItem(window, kProgressLine2Id)) reading.line2 = WindowText(line);
  if (HWND bar = FindWindowExW(window, nullptr, PROGRESS_CLASSW, nullptr)) {
    DWORD_PTR value = 0;
    if (SendMessageTimeoutW(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &value))
      reading.bar = static_cast<int>(value);
    if (SendMessageTimeoutW(bar, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &value))
      reading.bar_max = static_cast<int>(value);
  }
  return reading;
}

BoxReading ReadBox(HWND box) {
  // Returns once the box's thread has finished what it was doing (WM_INITDIALOG included).
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(box, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
  // Under Wine a box can be visible a moment before its text is in place (seen when a watcher
  // polls every millisecond): read it only once it is drawn and stable on the screen.
  EnsureOnTop(box, box);
  std::optional<Image> drawn = CaptureDrawnBox(box);

  BoxReading reading;
  reading.title = WindowText(box);
  if (HWND text = GetDlgItem(box, kMessageTextId)) reading.text = WindowText(text);
  for (HWND button : Buttons(box)) reading.buttons.push_back(StripMnemonics(WindowText(button)));
  if (HWND icon = FindIconControl(box)) {
    if (WindowFromPointIsOther(box, icon)) {  // covered meanwhile: raise it and look again
      EnsureOnTop(box, icon);
      drawn = CaptureDrawnBox(box);
    }
    if (drawn) reading.icon = RecogniseIcon(drawn->Crop(AreaWithin(box, icon)));
  }
  return reading;
}

void PressOk(HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

bool PressButton(HWND box, std::wstring_view caption) {
  for (HWND button : Buttons(box)) {
    if (StripMnemonics(WindowText(button)) == caption) {
      const auto id = static_cast<WORD>(GetDlgCtrlID(button));
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
      return true;
    }
  }
  return false;
}

std::wstring StripMnemonics(std::wstring_view caption) {
  std::wstring out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&') {
      if (i + 1 < caption.size() && caption[i + 1] == L'&') out += caption[++i];
      continue;
    }
    out += caption[i];
  }
  return out;
}

std::string ReadingJson(const BoxReading& reading, std::optional<std::int64_t> time_ms) {
  testbed::Json buttons = testbed::Json::array();
  for (const auto& button : reading.buttons) buttons.push_back(testbed::JsonText(button));
  testbed::Json line{{"title", testbed::JsonText(reading.title)},
                     {"text", testbed::JsonText(reading.text)},
                     {"icon", std::string(IconName(reading.icon))},
                     {"buttons", std::move(buttons)}};
  if (time_ms) line["time_ms"] = *time_ms;
  return testbed::JsonLine(line);
}

}  // namespace robot
