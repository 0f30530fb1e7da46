#pragma once
// Runtime errors from the platform's own error codes, described in the platform's own words.
#include <windows.h>

#include <string>

#include "common/runtime_error.h"

namespace modMain::windows {

// The system's message for a Win32 error code or an HRESULT, without the line break that ends it;
// the empty text when the system has none.
std::wstring SystemMessage(DWORD code);
// A Win32 error: its code and the system's message.
common::RuntimeError Win32Error(DWORD code);
// A failed HRESULT: its value as a signed number and the system's message, or "Automation error".
common::RuntimeError HresultError(HRESULT hr);

}  // namespace modMain::windows
