// Portable reading of a number, following the platform's variant conversion with the United
// States conventions: "." decimal, "," group, "$" currency.
#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "common/locale_number.h"

namespace common {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0xA0; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

class Scanner {
 public:
  explicit Scanner(std::wstring_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  wchar_t Peek() const { return AtEnd() ? L'\0' : text_[pos_]; }
  bool Take(wchar_t c) {
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  void SkipBlanks() {
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
  }
  wchar_t Next() { return text_[pos_++]; }

 private:
  std::wstring_view text_;
  std::size_t pos_ = 0;
};

// &H and &O literals are 32-bit: values from 2^31 to 2^32 - 1 wrap like the platform's do only
// for exactly 0x80000000; the platform refuses the rest as overflow. Keep that shape.
std::optional<double> ReadRadix(Scanner& in, int radix) {
  std::uint64_t value = 0;
  int digits = 0;
  while (!in.AtEnd()) {
    const wchar_t c = in.Peek();
    int d = -1;
    if (IsDigit(c))
      d = c - L'0';
    else if (c >= L'a' && c <= L'f')
      d = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F')
      d = c - L'A' + 10;
    if (d < 0 || d >= radix) break;
    in.Next();
    value = value * radix + d;
    if (value > 0xFFFFFFFFull) return std::nullopt;
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (value == 0x80000000ull) return -2147483648.0;
  if (value > 0x7FFFFFFFull) return std::nullopt;
  return static_cast<double>(value);
}

// strtod under the "C" locale whatever the process's own: under de_DE, plain strtod would stop
// at the "." of "12.50". Made once, kept for the life of the process.
locale_t ClassicLocale() {
  static const locale_t classic = newlocale(LC_ALL_MASK, "C", locale_t{});
  return classic;
}

}  // namespace

std::optional<double> TextToDouble(std::wstring_view text) {
  Scanner in(text);
  bool negative = false;
  bool paren = false;   // an opening parenthesis was read
  bool closed = false;  // ...and its closing one
  bool currency = false;
  bool sign = false;

  in.SkipBlanks();
  // Leading decorations in any order: one sign, one opening parenthesis, one currency sign.
  for (;;) {
    if (!sign && (in.Peek() == L'-' || in.Peek() == L'+')) {
      negative = negative || in.Next() == L'-';
      sign = true;
    } else if (!paren && in.Take(L'(')) {
      paren = true;
    } else if (!currency && in.Take(L'$')) {
      currency = true;
    } else {
      break;
    }
    in.SkipBlanks();
  }

  std::optional<double> radix_value;
  std::string number;  // normalised for strtod: digits, '.', exponent
  if (in.Take(L'&')) {
    if (in.Take(L'H') || in.Take(L'h'))
      radix_value = ReadRadix(in, 16);
    else if (in.Take(L'O') || in.Take(L'o'))
      radix_value = ReadRadix(in, 8);
    if (!radix_value) return std::nullopt;
  } else {
    int digits = 0;
    // Integer part; group separators may follow any digit, but not lead.
    while (IsDigit(in.Peek()) || (digits > 0 && in.Peek() == L',')) {
      const wchar_t c = in.Next();
      if (c != L',') {
        number.push_back(static_cast<char>(c));
        ++digits;
      }
    }
    if (in.Take(L'.')) {
      number.push_back('.');
      // The fraction skips group separators, as the platform's conversion does.
      while (IsDigit(in.Peek()) || in.Peek() == L',') {
        const wchar_t c = in.Next();
        if (c != L',') {
          number.push_back(static_cast<char>(c));
          ++digits;
        }
      }
    }
    if (digits == 0) return std::nullopt;
    if (in.Peek() == L'e' || in.Peek() == L'E') {
      in.Next();
      number.push_back('e');
      if (in.Peek() == L'+' || in.Peek() == L'-') number.push_back(static_cast<char>(in.Next()));
      if (!IsDigit(in.Peek())) return std::nullopt;
      while (IsDigit(in.Peek())) number.push_back(static_cast<char>(in.Next()));
    }
  }

  // Trailing decorations: a sign when none led, the currency sign, the closing parenthesis.
  in.SkipBlanks();
  for (;;) {
    if (!sign && (in.Peek() == L'-' || in.Peek() == L'+')) {
      negative = negative || in.Next() == L'-';
      sign = true;
    } else if (!currency && in.Take(L'$')) {
      currency = true;
    } else if (paren && !closed && in.Take(L')')) {
      closed = true;
    } else {
      break;
    }
    in.SkipBlanks();
  }
  if (paren != closed || !in.AtEnd()) return std::nullopt;

  double value = 0.0;
  if (radix_value) {
    value = *radix_value;
  } else {
    errno = 0;
    value = strtod_l(number.c_str(), nullptr, ClassicLocale());
    if (errno == ERANGE && std::isinf(value)) return std::nullopt;  // overflow; underflow reads as 0
    if (std::fabs(value) < 2.2250738585072014e-308) value = 0.0;
  }
  // Parentheses mean negative, and so does a minus sign; both together are still negative.
  return (negative || paren) ? -value : value;
}

}  // namespace common
