#include "import/language_choice.h"

#include "common/variant.h"
#include "registry/registry_access.h"

namespace modMain {
namespace {

struct LanguageLine {
  Language language;
  const wchar_t* code;
  std::uint16_t primary;
};

constexpr LanguageLine kLines[] = {
#define KCI_LANGUAGE_LINE(name, code, primary, sublanguage, plural, verb) {Language::name, L"" code, primary},
    KCI_LANGUAGES(KCI_LANGUAGE_LINE)
#undef KCI_LANGUAGE_LINE
};

// The lower ten bits of a LANGID (PRIMARYLANGID).
constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;

}  // namespace

std::optional<Language> LanguageOfCode(std::wstring_view code) {
  for (const LanguageLine& line : kLines) {
    if (code == line.code) return line.language;
  }
  return std::nullopt;
}

Language LanguageOfDisplay(std::uint16_t display_language) {
  for (const LanguageLine& line : kLines) {
    if ((display_language & kPrimaryLanguageMask) == line.primary) return line.language;
  }
  return kLines[0].language;
}

Language ChooseLanguage(Desk& desk) {
  try {
    registry::winreg reg(desk.Registry());
    reg.hkey(static_cast<std::int32_t>(registry::kHkeyCurrentUser));
    reg.KeyRoot(kSettingsKey);
    reg.Subkey(L"");
    // Text comes from REG_SZ (and from the other string types, which winreg reads as text too);
    // a number or bytes are no code.
    const common::Variant value = reg.GetRegistryValue(kLanguageValue);
    if (value.kind() == common::Variant::Kind::kText) {
      if (const std::optional<Language> chosen = LanguageOfCode(value.text())) return *chosen;
    }
  } catch (const common::RuntimeError&) {
    // A value that winreg cannot convert names no language.
  }
  return LanguageOfDisplay(desk.UserDisplayLanguage());
}

}  // namespace modMain
