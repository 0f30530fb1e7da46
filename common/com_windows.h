#pragma once
// COM for the product, the test bed and the tests: the _com_ptr_t smart pointers, declared once
// here, the owner of a BSTR, and the apartment of the calling thread.
#include <windows.h>

#include <comdef.h>
#include <shlobj.h>

#include "common/unique_any.h"

_COM_SMARTPTR_TYPEDEF(IDispatch, __uuidof(IDispatch));
_COM_SMARTPTR_TYPEDEF(IUnknown, __uuidof(IUnknown));
// The shell's progress dialog. mingw-w64 10 declares the interface without its __uuidof.
__CRT_UUID_DECL(IProgressDialog, 0xEBBC7C04, 0x315E, 0x11d2, 0xB6, 0x2F, 0x00, 0x60, 0x97, 0xDF, 0x5B, 0xD4)
_COM_SMARTPTR_TYPEDEF(IProgressDialog, __uuidof(IProgressDialog));

namespace common {

// A BSTR that a callee handed over (the strings of an EXCEPINFO, say); adopting one cannot fail,
// where a _bstr_t allocates its own record first.
using UniqueBstr = UniqueAny<BSTR, &::SysFreeString>;
// Text that a callee allocated for the caller with CoTaskMemAlloc (SHGetKnownFolderPath, say).
using UniqueCoTaskText = UniqueAny<PWSTR, &::CoTaskMemFree>;

namespace com_detail {
inline void LeaveApartment(bool) noexcept { ::CoUninitialize(); }
}  // namespace com_detail

// A COM apartment that this thread entered and leaves (CoUninitialize) when the owner goes.
using ComApartment = UniqueAny<bool, &com_detail::LeaveApartment, false>;

// Enters a single-threaded apartment. The owner is empty when CoInitializeEx failed; `result`, when
// given, receives its HRESULT (S_FALSE when the thread was in one already, which is left as often
// as it is entered).
inline ComApartment EnterApartment(HRESULT* result = nullptr) {
  const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (result != nullptr) *result = hr;
  return ComApartment(SUCCEEDED(hr));
}

}  // namespace common
