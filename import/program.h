#pragma once
// What every part of the importer shares: the end of a run that the user chose, and an unexpected
// error as its report tells it. The title that its message boxes carry is in the catalogue
// (texts.h).
#include <cstdint>
#include <optional>

#include "common/runtime_error.h"
#include "import/texts.h"

namespace modMain {

// Raised when the user stops the import in the busy box. Deliberately not a RuntimeError, so that
// no procedure that traps errors (the presence check) can take it for a failed call.
struct RunCancelled {};

// The program's own key, per user, under HKEY_CURRENT_USER: its settings (language_choice.h) and,
// below it, its record of recent imports (recent_imports.h).
inline constexpr wchar_t kSettingsKey[] = L"Software\\Kestrova\\Cart Import";

// An unexpected error as its report tells it: the error, whether the application had gone away,
// and where the run was, in a cart line (its index) or in the paste call itself. Raised for an
// error within a cart line (its parse, or its calls) or the paste; it is no RuntimeError, so
// nothing that traps those takes it for one.
struct UnexpectedError {
  common::RuntimeError error;
  bool host_gone = false;
  std::optional<std::int16_t> line{};
  bool in_paste = false;
};

}  // namespace modMain
