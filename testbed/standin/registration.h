#pragma once
// The identifier's registration for the whole machine: HKLM\Software\Classes (Wine's
// CLSIDFromProgID reads only there, not the per-user classes).
#include <windows.h>

namespace standin {

// Writes Brevanto.Application\CLSID and CLSID\{...}\ProgID. There is deliberately no
// LocalServer32: clients attach to a running stand-in and must never start one.
// Returns the Win32 error code, ERROR_SUCCESS when done.
LONG RegisterIdentity();
// Removes both keys; keys that are already gone count as removed.
LONG UnregisterIdentity();

}  // namespace standin
