#pragma once
// What every part of the importer shares: the title that its message boxes carry, and the end of a
// run that the user chose.

namespace modMain {

inline constexpr wchar_t kAppTitle[] = L"Kestrova Cart Import";

// Raised when the user stops the import in the busy box. Deliberately not a RuntimeError, so that
// no procedure that traps errors (the presence check) can take it for a failed call.
struct RunCancelled {};

}  // namespace modMain
