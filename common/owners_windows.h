#pragma once
// The owners of the Win32 resources that the product holds (and the test bed and the tests with
// it), each a common::UniqueAny. COM references and the apartment are in common/com_windows.h.
#include <windows.h>

#include "common/unique_any.h"

namespace common {

// Kernel objects whose "none" is null: processes, threads, jobs, events, snapshots, mutexes.
using UniqueHandle = UniqueAny<HANDLE, &::CloseHandle>;
// CreateFile hands back INVALID_HANDLE_VALUE, not null, when it fails.
using UniqueFile = UniqueAny<HANDLE, &::CloseHandle, -1>;
// The ownership of a mutex that this thread acquired: given back with ReleaseMutex. The handle
// itself has an owner of its own (UniqueHandle), declared before this one.
using UniqueMutexOwnership = UniqueAny<HANDLE, &::ReleaseMutex>;
// Memory that the system allocated for the caller with LocalAlloc (FormatMessage,
// CommandLineToArgvW, ConvertSidToStringSid).
using UniqueLocal = UniqueAny<HLOCAL, &::LocalFree>;

}  // namespace common
