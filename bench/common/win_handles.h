#pragma once
// Owners for the Win32 resources the bench programs hold: kernel handles, registry keys, memory
// from LocalAlloc, and the GDI objects of a screen capture. Each is move-only and frees its
// resource exactly once, in its destructor.
// clang-format off
#include <windows.h>
// clang-format on
#include <utility>

namespace bench {

template <typename T, typename Traits>
class UniqueResource {
 public:
  UniqueResource() = default;
  explicit UniqueResource(T value) : value_(value) {}
  ~UniqueResource() { reset(); }
  UniqueResource(UniqueResource&& other) noexcept : value_(std::exchange(other.value_, Traits::Empty())) {}
  UniqueResource& operator=(UniqueResource&& other) noexcept {
    if (this != &other) {
      reset();
      value_ = std::exchange(other.value_, Traits::Empty());
    }
    return *this;
  }
  UniqueResource(const UniqueResource&) = delete;
  UniqueResource& operator=(const UniqueResource&) = delete;

  T get() const { return value_; }
  explicit operator bool() const { return Traits::Valid(value_); }
  void reset(T value = Traits::Empty()) {
    if (Traits::Valid(value_)) Traits::Free(value_);
    value_ = value;
  }
  // For out-parameters: frees what is held and hands out the slot.
  T* put() {
    reset();
    return &value_;
  }

 private:
  T value_ = Traits::Empty();
};

// CreateFile gives INVALID_HANDLE_VALUE on failure, most other calls null: both mean "none".
struct HandleTraits {
  static HANDLE Empty() { return nullptr; }
  static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Free(HANDLE h) { CloseHandle(h); }
};
using UniqueHandle = UniqueResource<HANDLE, HandleTraits>;

struct KeyTraits {
  static HKEY Empty() { return nullptr; }
  static bool Valid(HKEY k) { return k != nullptr; }
  static void Free(HKEY k) { RegCloseKey(k); }
};
using UniqueKey = UniqueResource<HKEY, KeyTraits>;

struct LocalTraits {
  static HLOCAL Empty() { return nullptr; }
  static bool Valid(HLOCAL p) { return p != nullptr; }
  static void Free(HLOCAL p) { LocalFree(p); }
};
using UniqueLocal = UniqueResource<HLOCAL, LocalTraits>;

struct MemoryDcTraits {
  static HDC Empty() { return nullptr; }
  static bool Valid(HDC dc) { return dc != nullptr; }
  static void Free(HDC dc) { DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueResource<HDC, MemoryDcTraits>;

struct GdiObjectTraits {
  static HGDIOBJ Empty() { return nullptr; }
  static bool Valid(HGDIOBJ o) { return o != nullptr; }
  static void Free(HGDIOBJ o) { DeleteObject(o); }
};
using UniqueGdiObject = UniqueResource<HGDIOBJ, GdiObjectTraits>;

// A DC from GetDC, given back to its window with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC for one scope and puts the previous one back.
class SelectionScope {
 public:
  SelectionScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectionScope() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectionScope(const SelectionScope&) = delete;
  SelectionScope& operator=(const SelectionScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace bench
