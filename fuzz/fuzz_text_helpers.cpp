// The text clean-up helpers on any text: NumericCharsOnly keeps only allowed characters of the
// trimmed text, the number in a value starts and ends at a digit and reads without failing,
// TruncateAt gives a prefix that ends where the marker starts, DropRight keeps its length, ToNumber
// never fails.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "common/ansi.h"
#include "common/runtime_error.h"
#include "common/text.h"
#include "import/cart_numbers.h"
#include "import/text_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::wstring extra = common::AnsiToText(input.ConsumeRandomLengthString(8));
  const std::wstring marker = common::AnsiToText(input.ConsumeRandomLengthString(8));
  const auto count = input.ConsumeIntegral<std::int16_t>();
  const std::wstring text = common::AnsiToText(input.ConsumeRemainingBytesAsString());

  try {
    const std::wstring numeric = modMain::NumericCharsOnly(text, extra);
    if (numeric.size() > text.size()) std::abort();
    for (wchar_t c : numeric) {
      if (!(c >= L'0' && c <= L'9') && extra.find(c) == std::wstring::npos) std::abort();
    }
    // ...and they come in the text's own order: a subsequence of it.
    std::size_t at = 0;
    for (wchar_t c : numeric) {
      at = text.find(c, at);
      if (at == std::wstring::npos) std::abort();
      ++at;
    }
  } catch (const common::RuntimeError& error) {
    if (error.number() != common::kErrOverflow.number || text.size() < 32767) std::abort();
  }

  const double number = modMain::ToNumber(text);
  (void)number;

  // The number in a value runs from a digit, or one mark right before it, to a digit; reading it
  // never fails.
  const std::wstring_view in_value = modMain::NumberIn(text);
  auto digit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
  if (!in_value.empty() && (!digit(in_value.back()) || !(digit(in_value.front()) || digit(in_value[1])))) std::abort();
  for (const auto mark : {modMain::DecimalMark::kPoint, modMain::DecimalMark::kComma}) {
    (void)modMain::PriceNumber(text, mark);
    (void)modMain::QuantityNumber(text, mark);
  }

  const std::wstring cut = modMain::TruncateAt(text, marker);
  if (text.compare(0, cut.size(), cut) != 0) std::abort();
  if (cut.size() < text.size() &&
      !common::TextEqualsIgnoreCase(std::wstring_view(text).substr(cut.size(), marker.size()), marker)) {
    std::abort();
  }

  const std::wstring dropped = modMain::DropRight(text, count);
  const std::int64_t keep = static_cast<std::int64_t>(text.size()) - count;
  const std::size_t expected = keep < 0 ? 0 : static_cast<std::size_t>(keep);
  if (dropped != text.substr(0, expected)) std::abort();

  return 0;
}
