#pragma once
// The catalogue: every text that the user reads, in every language the program speaks (the
// languages in languages.h, the texts in texts.cpp).
//
// Each message is one whole sentence (or a few) with numbered inserts, "{1}", "{2}"..., which a
// translation may put in any order. An insert is put in as it is, never read as a format: a path
// with "{1}" or "%s" in it comes out as written. A message with a count has a form for the count
// that the language calls "one" and one for every other count; its count is always insert {1}
// (a form may leave it out: "the other item").
//
//   const Texts texts(Language::kGerman);
//   texts.Say(Message::kImported, 13);           // "13 Kestrova-Warenkorbartikel wurden ..."
//   texts.Say(Message::kCartNotFound, path);     // "Die Kestrova-Warenkorbdatei '...' ..."
//   texts.Say(Message::kWrongColumnsLines, texts.LineList(lines));
//
// The product's name and the host's interface name are names: the same in every language.
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/int16.h"
#include "common/runtime_error.h"
#include "import/languages.h"

namespace modMain {

// The application's title, which every box but one carries, and the title of the box that says
// that Brevanto is not running.
inline constexpr wchar_t kAppTitle[] = L"Kestrova Cart Import";
inline constexpr wchar_t kHostApiTitle[] = L"Brevanto API";

enum class Language {
#define KCI_LANGUAGE_ENUMERATOR(name, code, primary, sublanguage, plural, verb) name,
  KCI_LANGUAGES(KCI_LANGUAGE_ENUMERATOR)
#undef KCI_LANGUAGE_ENUMERATOR
};
// Every language, in the order of languages.h.
inline constexpr Language kLanguages[] = {
#define KCI_LANGUAGE_ITEM(name, code, primary, sublanguage, plural, verb) Language::name,
    KCI_LANGUAGES(KCI_LANGUAGE_ITEM)
#undef KCI_LANGUAGE_ITEM
};

// Which counts take a message's "one" form: 1 alone (English, German), or 0 and 1 (French).
enum class PluralRule { kOnlyOne, kZeroAndOne };
enum class PluralForm { kOne, kOther };
PluralForm PluralOf(Language language, std::int64_t count);

enum class Message {
  // The run's boxes.
  kCartNotFound,       // {1} the cart's path
  kNotACart,           // {1} the file's path; neither its first line nor most others have 14 columns
  kTwoWays,            // {1} path, {2} a line, {3} its price, {4} another line, {5} its price
  kTooManyArguments,   // {1} how many
  kAlreadyRunning,     //
  kHostNotRunning,     // under kHostApiTitle
  kNoDocument,         //
  kWrongColumnsLine,   // {1} the line
  kWrongColumnsLines,  // {1} the lines (LineList)
  kNamesNoItemLine,    // {1} the line
  kNamesNoItemLines,   // {1} the lines (LineList)
  kChooseOkOrCancel,   // {1} the items left to import; the lines box's question
  kNothingImportable,  // the lines box when no item is left
  kAlreadyImported,    // {1} items, {2} the time of the earlier import
  kMaybeImported,      // {1} items, {2} the time that the earlier import stopped
  kImported,           // {1} items
  kBusy,               // the busy box (Retry, Cancel)
  // A list of lines: "2, 5 and 6", "1, 2, ... 10 and 3 more" (LineList builds it).
  kListNext,  // {1} the list so far, {2} the next line
  kListLast,  // {1} the list so far, {2} the last line
  kListMore,  // {1} how many more, {2} the list so far
  // The progress window's lines.
  kProgressFirstLine,  //
  kProgressItem,       // {1} the item being sent, {2} of how many
  kProgressPasting,    // {1} items
  // A failed open of the cart file, and the unexpected-error report.
  kErrorText,          // {1} the error's number, {2} its description
  kReadFailed,         // {1} the path
  kUnexpectedError,    // the report's lead
  kHostClosed,         // the lead when Brevanto closed before the paste
  kHostClosedInPaste,  // the lead when Brevanto closed in the paste
  kErrorInLine,        // {1} the cart line
  // The runtime errors' descriptions (common/runtime_error.h), as the report shows them.
  kErrInvalidCall,
  kErrOverflow,
  kErrOutOfMemory,
  kErrSubscriptOutOfRange,
  kErrTypeMismatch,
  kErrInternal,
  kErrObjectNotSet,
  kErrInvalidUseOfNull,
  kErrObjectRequired,
  kErrAutomation,
  kErrNoSuchMember,
  kErrKeyAlreadyPresent,
  kErrApplicationDefined,
  // Explorer's menu entry for a cart file (from languages.h; the exe's string table holds it too).
  kExplorerVerb,
  kCount  // not a message: how many there are
};

// One insert: a text, or a number written in plain digits.
class Insert {
 public:
  Insert(std::wstring_view text) : text_(text) {}    // NOLINT(google-explicit-constructor)
  Insert(const std::wstring& text) : text_(text) {}  // NOLINT(google-explicit-constructor)
  Insert(const wchar_t* text) : text_(text) {}       // NOLINT(google-explicit-constructor)
  template <std::integral Number>
  Insert(Number number)  // NOLINT(google-explicit-constructor)
      : text_(std::to_wstring(number)), count_(static_cast<std::int64_t>(number)), is_count_(true) {}
  template <typename Number>
  Insert(common::CheckedInt<Number> number) : Insert(number.value()) {}  // NOLINT(google-explicit-constructor)

  const std::wstring& text() const { return text_; }
  bool is_count() const { return is_count_; }
  std::int64_t count() const { return count_; }

 private:
  std::wstring text_;
  std::int64_t count_ = 0;
  bool is_count_ = false;
};

// The texts of one language.
class Texts {
 public:
  explicit Texts(Language language) : language_(language) {}

  Language language() const { return language_; }

  // The message with its inserts, in order: the first is {1}.
  template <typename... Inserts>
  std::wstring Say(Message message, const Inserts&... inserts) const {
    const std::array<Insert, sizeof...(Inserts)> list{Insert(inserts)...};
    return Fill(message, list);
  }
  std::wstring Fill(Message message, std::span<const Insert> inserts) const;
  // The form of `message` that a count in `form` takes, inserts unfilled. Never empty for a
  // message of the catalogue.
  std::wstring_view Form(Message message, PluralForm form) const;

  // Line numbers as a list ("2, 5 and 6"); beyond ten lines the first ten, then "and K more".
  std::wstring LineList(const std::vector<std::int16_t>& lines) const;
  // A runtime error's description as the report shows it: one of the program's own errors
  // (common/runtime_error.h) in this language, any other (the system's, the application's) as
  // it came.
  std::wstring Describe(const common::RuntimeError& error) const;

 private:
  Language language_;
};

}  // namespace modMain
