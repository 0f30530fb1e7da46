// The catalogue over every message and language, and the choice of a run's language over the
// recording desk and its emulated registry.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <utility>

#include "import/language_choice.h"
#include "import/texts.h"
#include "registry/registry_access.h"
#include "tests/import/recording_double.h"

namespace modMain::testing {
namespace {

std::multiset<std::wstring> InsertsOf(std::wstring_view text) {
  std::multiset<std::wstring> inserts;
  for (std::size_t open = text.find(L'{'); open != std::wstring_view::npos; open = text.find(L'{', open + 1)) {
    inserts.insert(std::wstring(text.substr(open, text.find(L'}', open) - open + 1)));
  }
  return inserts;
}

TEST(Catalogue, EveryFormOfEveryMessageIsThereWithTheInsertsOfItsEnglishForm) {
  const Texts english(Language::kEnglish);
  for (const Language language : kLanguages) {
    const Texts texts(language);
    for (int m = 0; m < static_cast<int>(Message::kCount); ++m) {
      for (const PluralForm form : {PluralForm::kOne, PluralForm::kOther}) {
        SCOPED_TRACE(::testing::Message() << "language " << static_cast<int>(language) << ", message " << m << ", form "
                                          << static_cast<int>(form));
        const std::wstring_view text = texts.Form(static_cast<Message>(m), form);
        EXPECT_FALSE(text.empty());
        EXPECT_EQ(InsertsOf(text), InsertsOf(english.Form(static_cast<Message>(m), form)));
      }
    }
  }
}

TEST(Catalogue, PluralRulePerLanguage) {
  using enum PluralForm;
  const std::pair<Language, std::array<PluralForm, 3>> rows[] = {
      // the forms for 0, 1 and 2
      {Language::kEnglish, {kOther, kOne, kOther}},
      {Language::kGerman, {kOther, kOne, kOther}},
      {Language::kFrench, {kOne, kOne, kOther}},
  };
  for (const auto& [language, forms] : rows) {
    const Texts texts(language);
    for (int count = 0; count < 3; ++count) {
      SCOPED_TRACE(::testing::Message() << "language " << static_cast<int>(language) << ", count " << count);
      EXPECT_EQ(PluralOf(language, count), forms[count]);
      // The count, as insert {1}, chooses the form that Say fills.
      std::wstring form(texts.Form(Message::kImported, forms[count]));
      form.replace(form.find(L"{1}"), 3, std::to_wstring(count));
      EXPECT_EQ(texts.Say(Message::kImported, count), form);
    }
  }
}

// A path that looks like a format stays as it is, wherever the translation puts it.
TEST(Catalogue, AnInsertIsNeverReadAsAFormat) {
  constexpr wchar_t kPath[] = L"C:\\{2}\\%s{1}.csv";
  for (const Language language : kLanguages) {
    const Texts texts(language);
    std::wstring want(texts.Form(Message::kTwoWays, PluralForm::kOther));
    for (const wchar_t* insert : {L"{5}", L"{4}", L"{3}", L"{2}", L"{1}"}) {  // the path last
      const std::wstring with = insert == std::wstring(L"{1}") ? kPath : std::wstring(L"v") + insert[1];
      want.replace(want.find(insert), 3, with);
    }
    EXPECT_EQ(texts.Say(Message::kTwoWays, kPath, L"v2", L"v3", L"v4", L"v5"), want);
  }
}

// The registry's Language value (nothing: none), as written with the type given, and the display
// language; the language chosen, and whether the display language was asked for.
struct ChoiceCase {
  const char* name;
  std::optional<common::Variant> value;
  std::int32_t type;
  std::uint16_t display;
  Language chosen;
  bool display_asked;
};

class LanguageChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(LanguageChoiceTest, TheRegistryWinsWithACodeOfOurs) {
  const ChoiceCase& row = GetParam();
  RecordingDouble platform;
  platform.display_language = row.display;
  if (row.value) {
    registry::winreg setup(platform.registry);
    setup.hkey(static_cast<std::int32_t>(registry::kHkeyCurrentUser));
    setup.KeyRoot(kSettingsKey);
    ASSERT_TRUE(setup.SetRegistryValue(kLanguageValue, *row.value, row.type));
  }
  EXPECT_EQ(ChooseLanguage(platform), row.chosen);
  EXPECT_EQ(platform.log, row.display_asked ? Log{L"UserDisplayLanguage"} : Log{});
}

constexpr std::int32_t kSz = 1, kDword = 4;

INSTANTIATE_TEST_SUITE_P(
    Rows, LanguageChoiceTest,
    ::testing::Values(ChoiceCase{"GermanSwitzerland", std::nullopt, 0, 0x0807, Language::kGerman, true},
                      ChoiceCase{"FrenchCanada", std::nullopt, 0, 0x0C0C, Language::kFrench, true},
                      ChoiceCase{"JapaneseIsEnglish", std::nullopt, 0, 0x0411, Language::kEnglish, true},
                      ChoiceCase{"EnglishOnGerman", common::Variant(L"en"), kSz, 0x0407, Language::kEnglish, false},
                      ChoiceCase{"UpperCaseIsNoCode", common::Variant(L"DE"), kSz, 0x040C, Language::kFrench, true},
                      ChoiceCase{"OtherLanguage", common::Variant(L"it"), kSz, 0x0407, Language::kGerman, true},
                      ChoiceCase{"Dword", common::Variant(std::int32_t{7}), kDword, 0x0407, Language::kGerman, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace modMain::testing
