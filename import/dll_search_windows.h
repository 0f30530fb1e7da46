#pragma once
// Where the program loads DLLs from.

namespace modMain::windows {

// From now on every DLL that this process loads by name, itself or through a system DLL (the
// shell, COM, the common controls), comes from the system folder alone, never from the program's
// own folder: the program may be started from Downloads, beside whatever else was saved there.
// Call it first, before anything loads a DLL. False when the system refused; the search order is
// then as it was.
bool LoadDllsFromSystemFolderOnly();

}  // namespace modMain::windows
