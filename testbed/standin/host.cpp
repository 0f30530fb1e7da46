#include "testbed/standin/host.h"

#include <algorithm>
#include <chrono>
#include <cwctype>

#include "testbed/common/command_line.h"
#include "testbed/common/json.h"
#include "testbed/common/utf8.h"
#include "testbed/common/variant_json.h"
#include "testbed/standin/identity.h"

namespace standin {
namespace {

std::wstring Upper(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towupper(c); });
  return text;
}

// Replaces the file at `path` (none when empty) with one line per item.
void WriteItems(const std::wstring& path, const std::vector<LineItem>& items, const wchar_t* what) {
  if (path.empty()) return;
  std::vector<std::string> lines;
  lines.reserve(items.size());
  for (const auto& item : items) lines.push_back(ItemJson(item));
  if (!testbed::WriteWholeFile(path, lines))
    testbed::ReportError(L"cannot write the " + std::wstring(what) + L" " + path);
}

}  // namespace

Host::Host(Options options) : options_(std::move(options)) {}

bool Host::Open(std::wstring& error) {
  if (!options_.journal_path.empty() && !journal_.Create(options_.journal_path)) {
    error = L"cannot create the journal " + options_.journal_path;
    return false;
  }
  for (const std::wstring* path : {&options_.items_path, &options_.buffer_path}) {
    if (!path->empty()) DeleteFileW(path->c_str());  // absent is fine
  }
  return true;
}

void Host::JournalLine(const std::string& line) {
  if (journal_.is_open() && !journal_.WriteLine(line)) testbed::ReportError(L"cannot write to the journal");
}

void Host::JournalEvent(const char* event, const char* object) {
  if (!events_) return;
  JournalLine(testbed::JsonLine({{"event", event}, {"object", object}}));
}

void Host::Delay() const {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(options_.delay_ms);
  // Sleep may wake up to a clock tick early on Windows: sleep on until the whole delay has passed.
  for (Clock::time_point now = Clock::now(); now < until; now = Clock::now()) {
    Sleep(static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(until - now).count()));
  }
}

std::optional<std::wstring> Host::CountCall(const std::wstring& member) {
  std::int64_t count = ++call_counts_[Upper(member)];
  for (const auto& failure : options_.failures) {
    if (failure.call == count && Upper(failure.member) == Upper(member)) {
      return member + L" failed: injected failure at call " + std::to_wstring(count);
    }
  }
  return std::nullopt;
}

bool Host::SetValue(const std::wstring& field, const _variant_t& value) {
  auto known = std::find_if(std::begin(kFieldNames), std::end(kFieldNames),
                            [&](const wchar_t* name) { return Upper(name) == Upper(field); });
  if (known == std::end(kFieldNames)) return false;
  auto stored =
      std::find_if(single_line_.begin(), single_line_.end(), [&](const Field& f) { return f.name == *known; });
  if (stored != single_line_.end()) {
    stored->value = value;
  } else {
    single_line_.push_back({*known, value});
  }
  return true;
}

bool Host::Paste() {
  if (!has_document()) return false;
  document_.insert(document_.end(), multi_line_.begin(), multi_line_.end());
  WriteItems(options_.items_path, document_, L"items file");
  if (listener_) listener_();
  return true;
}

void Host::WriteBuffer() const { WriteItems(options_.buffer_path, multi_line_, L"buffer file"); }

std::string ItemJson(const LineItem& item) {
  testbed::Json object = testbed::Json::object();  // the fields in the order they were stored
  for (const auto& field : item) object[testbed::Utf8(field.name)] = testbed::TypedValueJson(field.value);
  return testbed::JsonLine(object);
}

}  // namespace standin
