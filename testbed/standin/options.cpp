#include "testbed/standin/options.h"

#include <limits>

#include "testbed/common/command_line.h"

namespace standin {
namespace {

bool ParseFailure(const std::wstring& text, FailurePoint& point) {
  std::size_t colon = text.rfind(L':');
  if (colon == std::wstring::npos || colon == 0) return false;
  auto call = testbed::ParseInteger(std::wstring_view(text).substr(colon + 1));
  if (!call || *call < 1) return false;
  point = {text.substr(0, colon), *call};
  return true;
}

constexpr double kLongestSeconds = 86400.0 * 24;

std::optional<BusySpell> ParseBusy(const std::wstring& text) {
  const std::size_t at = text.find(L'@');
  const auto seconds = testbed::ParseDecimal(std::wstring_view(text).substr(0, at));
  const auto from = at == std::wstring::npos ? std::optional<long long>(1)
                                             : testbed::ParseInteger(std::wstring_view(text).substr(at + 1));
  if (!seconds || *seconds < 0 || *seconds > kLongestSeconds || !from || *from < 1) return std::nullopt;
  return BusySpell{*seconds, *from};
}

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::wstring>& arguments) {
  ParsedOptions result;
  Options& options = result.options;
  auto fail = [&](const std::wstring& message) {
    result.error = message;
    return result;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& name = arguments[i];
    auto value = [&]() -> const std::wstring* { return i + 1 < arguments.size() ? &arguments[++i] : nullptr; };
    if (name == L"--register") {
      options.mode = Options::Mode::kRegister;
    } else if (name == L"--unregister") {
      options.mode = Options::Mode::kUnregister;
    } else if (name == L"--no-document") {
      options.document_index = -1;
    } else if (name == L"--document-index") {
      const std::wstring* text = value();
      auto index = text ? testbed::ParseInteger(*text) : std::nullopt;
      if (!index || *index < std::numeric_limits<std::int32_t>::min() ||
          *index > std::numeric_limits<std::int32_t>::max()) {
        return fail(L"--document-index needs a 32-bit whole number");
      }
      options.document_index = static_cast<std::int32_t>(*index);
    } else if (name == L"--fail") {
      const std::wstring* text = value();
      FailurePoint point;
      if (!text || !ParseFailure(*text, point)) return fail(L"--fail needs MEMBER:K with K at least 1");
      options.failures.push_back(point);
    } else if (name == L"--journal" || name == L"--items" || name == L"--buffer") {
      const std::wstring* path = value();
      if (!path || path->empty()) return fail(name + L" needs a file name");
      (name == L"--journal" ? options.journal_path
       : name == L"--items" ? options.items_path
                            : options.buffer_path) = *path;
    } else if (name == L"--exit-after") {
      const std::wstring* text = value();
      auto seconds = text ? testbed::ParseDecimal(*text) : std::nullopt;
      if (!seconds || *seconds < 0 || *seconds > kLongestSeconds)
        return fail(L"--exit-after needs a number of seconds");
      options.exit_after_seconds = *seconds;
    } else if (name == L"--busy") {
      const std::wstring* text = value();
      options.busy = text ? ParseBusy(*text) : std::nullopt;
      if (!options.busy) return fail(L"--busy needs SECONDS or SECONDS@K with K at least 1");
    } else if (name == L"--quit-at") {
      const std::wstring* text = value();
      auto call = text ? testbed::ParseInteger(*text) : std::nullopt;
      if (!call || *call < 1) return fail(L"--quit-at needs a call number of at least 1");
      options.quit_at = *call;
    } else if (name == L"--delay") {
      const std::wstring* text = value();
      auto milliseconds = text ? testbed::ParseInteger(*text) : std::nullopt;
      if (!milliseconds || *milliseconds < 0 || *milliseconds > kLongestSeconds * 1000)
        return fail(L"--delay needs a whole number of milliseconds");
      options.delay_ms = *milliseconds;
    } else {
      return fail(L"unknown argument: " + name);
    }
  }
  return result;
}

}  // namespace standin
