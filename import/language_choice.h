#pragma once
// The language of a run: chosen once, from the user's Windows display language, unless the user's
// settings in the registry ask for one of the program's languages.
#include <cstdint>
#include <optional>
#include <string_view>

#include "import/desk.h"
#include "import/program.h"
#include "import/texts.h"

namespace modMain {

// A REG_SZ value under kSettingsKey (program.h) holding a language's code ("en", "de", "fr";
// languages.h): that language, whatever the display language. Support asks for it, and so may a
// user who wants English boxes on a German Windows.
inline constexpr wchar_t kLanguageValue[] = L"Language";

// The language whose code is `code`, exactly; nothing for any other text.
std::optional<Language> LanguageOfCode(std::wstring_view code);
// The language of a Windows display language (a LANGID): the one of its primary language (German
// for de-DE, de-AT, de-CH...), the first of languages.h for one that has none.
Language LanguageOfDisplay(std::uint16_t display_language);
// The run's language: the registry's `Language` when it names one, else the display language's.
// A value of another type, or one that cannot be read, counts as none. The desk's display
// language is asked only when the registry decides nothing. Never fails.
Language ChooseLanguage(Desk& desk);

}  // namespace modMain
