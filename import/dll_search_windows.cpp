#include "import/dll_search_windows.h"

#include <windows.h>

namespace modMain::windows {

// The program's own imports (ADVAPI32, KERNEL32, msvcrt, ole32, OLEAUT32, SHELL32, USER32: objdump
// -p on the exe) are loaded before wWinMain runs, so no search order set here reaches them. All
// seven are KnownDLLs (HKLM\System\CurrentControlSet\Control\Session Manager\KnownDLLs on
// Windows 10 and 11), which Windows maps from the system folder without searching; an import that
// is not one would be looked for in the program's folder first.
bool LoadDllsFromSystemFolderOnly() { return SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE; }

}  // namespace modMain::windows
