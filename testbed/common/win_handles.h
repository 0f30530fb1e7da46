#pragma once
// The owners of what only the testbed holds: the registry keys that the stand-in and the driver
// open, and the GDI objects of the robot's screen capture. Each is a common::UniqueAny, like the
// kernel handles and LocalAlloc memory of common/owners_windows.h.
#include <windows.h>

#include "common/owners_windows.h"
#include "common/unique_any.h"

namespace testbed {

namespace handles_detail {
inline void ReleaseWindowDc(HWND window, HDC dc) noexcept { ReleaseDC(window, dc); }
inline void SelectBack(HDC dc, HGDIOBJ previous) noexcept { SelectObject(dc, previous); }
}  // namespace handles_detail

// A key that RegOpenKeyEx or RegCreateKeyEx opened (never a predefined root).
using UniqueHkey = common::UniqueAny<HKEY, &::RegCloseKey>;
// A memory DC from CreateCompatibleDC.
using UniqueMemoryDc = common::UniqueAny<HDC, &::DeleteDC>;
// A bitmap, brush or other GDI object.
using UniqueGdiObject = common::UniqueAny<HGDIOBJ, &::DeleteObject>;
// A DC from GetDC, given back to its window (null: the screen) with ReleaseDC.
using WindowDc = common::UniqueAny<HDC, &handles_detail::ReleaseWindowDc>;
inline WindowDc GetWindowDc(HWND window) { return WindowDc(window, GetDC(window)); }
// An object selected into a DC: the one it replaced is selected again when this goes.
using Selection = common::UniqueAny<HGDIOBJ, &handles_detail::SelectBack>;
inline Selection Select(HDC dc, HGDIOBJ object) {
  HGDIOBJ previous = SelectObject(dc, object);
  return Selection(dc, previous == HGDI_ERROR ? nullptr : previous);
}

}  // namespace testbed
