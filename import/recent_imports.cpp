#include "import/recent_imports.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

#include "common/collection.h"
#include "common/text.h"
#include "common/variant.h"
#include "import/program.h"
#include "registry/registry_access.h"

namespace modMain {
namespace {

// FNV-1a, 64 bits: a hash whose value is fixed by its definition, unlike std::hash's.
class Fnv1a {
 public:
  void Add(std::uint64_t number, int bytes = 8) {
    for (int i = 0; i < bytes; ++i) {
      hash_ ^= (number >> (8 * i)) & 0xFF;
      hash_ *= 0x100000001B3u;
    }
  }
  // Its length first, so that no two lists of texts give the same bytes.
  void Add(const std::wstring& text) {
    Add(text.size());
    for (const wchar_t c : text) Add(static_cast<std::uint32_t>(c), 4);
  }
  void Add(double number) { Add(std::bit_cast<std::uint64_t>(number + 0.0)); }  // -0 as 0
  std::uint64_t value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xCBF29CE484222325u;
};

bool IsDigits(std::wstring_view text, std::size_t min, std::size_t max) {
  return text.size() >= min && text.size() <= max &&
         std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// The digits of `text` as a number; IsDigits has checked them.
std::int64_t Number(std::wstring_view text) {
  std::int64_t number = 0;
  for (const wchar_t c : text) number = number * 10 + (c - L'0');
  return number;
}

std::wstring Padded(std::int64_t number, std::size_t width) {
  std::wstring text = std::to_wstring(number);
  return std::wstring(width - std::min(width, text.size()), L'0') + text;
}

// A name that RecentImportName writes: 16 lowercase hex digits, "-", a 16-bit index.
bool IsEntryName(std::wstring_view name) {
  if (name.size() < 18 || name[16] != L'-') return false;
  const bool hex = std::all_of(name.begin(), name.begin() + 16,
                               [](wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'); });
  std::wstring_view index = name.substr(17);
  if (index.starts_with(L'-')) index.remove_prefix(1);
  return hex && IsDigits(index, 1, 5);
}

// Younger than 12 hours. An entry dated after now was written before the clock was set back: it
// counts as old, or it would be asked about until the clock caught up.
bool IsRecent(const RecentImport& import, std::int64_t now) {
  return import.utc_seconds <= now && now - import.utc_seconds < kRecentImportSeconds;
}

registry::winreg RecordKey(registry::RegistryApi& api) {
  registry::winreg reg(api);
  reg.hkey(static_cast<std::int32_t>(registry::kHkeyCurrentUser));
  reg.KeyRoot(kSettingsKey);
  reg.Subkey(kRecentImportsKey);
  return reg;
}

}  // namespace

std::uint64_t CartIdentity(const Cart& cart) {
  Fnv1a hash;
  for (const CartItem& item : cart.items) {
    hash.Add(item.vendor_part);
    hash.Add(item.manufacturer);
    hash.Add(item.manufacturer_part);
    hash.Add(item.description);
    hash.Add(item.price);
    hash.Add(item.cost);
    hash.Add(item.quantity);
  }
  return hash.value();
}

std::wstring RecentImportName(std::uint64_t identity, std::int16_t document) {
  std::wstring name(16, L'0');
  for (int i = 15; i >= 0; --i, identity >>= 4) name[static_cast<std::size_t>(i)] = L"0123456789abcdef"[identity & 0xF];
  return name + L"-" + std::to_wstring(document);
}

std::wstring RecentImportData(const RecentImport& import) {
  using namespace std::chrono;
  const sys_seconds time{seconds(import.utc_seconds)};
  const sys_days day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss hms{time - day};
  return Padded(static_cast<int>(date.year()), 4) + L"-" + Padded(static_cast<unsigned>(date.month()), 2) + L"-" +
         Padded(static_cast<unsigned>(date.day()), 2) + L"T" + Padded(hms.hours().count(), 2) + L":" +
         Padded(hms.minutes().count(), 2) + L":" + Padded(hms.seconds().count(), 2) + L"Z " +
         std::to_wstring(import.items) + (import.state == PasteState::kPasted ? L" pasted" : L" maybe");
}

std::optional<RecentImport> ParseRecentImport(std::wstring_view data) {
  using namespace std::chrono;
  // "YYYY-MM-DDThh:mm:ssZ COUNT STATE"
  if (data.size() < 24 || data.substr(4, 1) != L"-" || data.substr(7, 1) != L"-" || data.substr(10, 1) != L"T" ||
      data.substr(13, 1) != L":" || data.substr(16, 1) != L":" || data.substr(19, 2) != L"Z ") {
    return std::nullopt;
  }
  const std::wstring_view fields[] = {data.substr(0, 4),  data.substr(5, 2),  data.substr(8, 2),
                                      data.substr(11, 2), data.substr(14, 2), data.substr(17, 2)};
  if (!std::all_of(std::begin(fields), std::end(fields), [](auto f) { return IsDigits(f, f.size(), f.size()); })) {
    return std::nullopt;
  }
  const year_month_day date{year(static_cast<int>(Number(fields[0]))), month(static_cast<unsigned>(Number(fields[1]))),
                            day(static_cast<unsigned>(Number(fields[2])))};
  const std::int64_t h = Number(fields[3]), m = Number(fields[4]), s = Number(fields[5]);
  if (!date.ok() || h > 23 || m > 59 || s > 59) return std::nullopt;

  const std::wstring_view rest = data.substr(21);
  const std::size_t space = rest.find(L' ');
  if (space == std::wstring_view::npos || !IsDigits(rest.substr(0, space), 1, 9)) return std::nullopt;
  RecentImport import;
  import.items = static_cast<std::size_t>(Number(rest.substr(0, space)));
  const std::wstring_view state = rest.substr(space + 1);
  if (import.items == 0 || (state != L"pasted" && state != L"maybe")) return std::nullopt;
  import.state = state == L"pasted" ? PasteState::kPasted : PasteState::kMaybe;
  import.utc_seconds = duration_cast<seconds>(sys_days(date).time_since_epoch()).count() + h * 3600 + m * 60 + s;
  return import;
}

RecentImports::RecentImports(registry::RegistryApi& api, Clock& clock, const Cart& cart, std::int16_t document)
    : api_(api), clock_(clock), items_(cart.items.size()) {
  if (items_ > 0) name_ = RecentImportName(CartIdentity(cart), document);
}

bool RecentImports::Confirmed(Desk& desk, const Texts& texts) {
  const std::optional<RecentImport> recent = Find();
  if (!recent) return true;
  const std::wstring text =
      texts.Say(recent->state == PasteState::kPasted ? Message::kAlreadyImported : Message::kMaybeImported, items_,
                desk.LocalTimeOfDay(recent->utc_seconds));
  return desk.AskYesOrNo(text, MessageIcon::kExclamation, kAppTitle) == Choice::kYes;
}

std::optional<RecentImport> RecentImports::Find() const noexcept {
  if (name_.empty()) return std::nullopt;
  try {
    const common::Variant data = RecordKey(api_).GetRegistryValue(name_);
    if (data.kind() != common::Variant::Kind::kText) return std::nullopt;  // none, or of another type
    std::optional<RecentImport> found = ParseRecentImport(data.text());
    if (found && IsRecent(*found, clock_.UtcSeconds())) return found;
  } catch (...) {  // an unreadable record asks nothing
  }
  return std::nullopt;
}

void RecentImports::Record(PasteState state) noexcept {
  if (name_.empty()) return;
  try {
    const std::int64_t now = clock_.UtcSeconds();
    registry::winreg reg = RecordKey(api_);
    // The other entries that stay, by time; every other value goes.
    std::vector<std::pair<std::int64_t, std::wstring>> kept;
    const common::Collection values = reg.EnumRegistryValues(reg.hkey(), reg.KeyRoot() + L"\\" + reg.Subkey());
    for (const common::Variant& value : values) {
      const std::wstring& name = value.items()[0].text();
      const common::Variant& data = value.items()[1];
      if (common::FoldCase(name) == common::FoldCase(name_)) continue;  // replaced below
      const std::optional<RecentImport> entry =
          data.kind() == common::Variant::Kind::kText ? ParseRecentImport(data.text()) : std::nullopt;
      if (entry && IsEntryName(name) && IsRecent(*entry, now)) {
        kept.emplace_back(entry->utc_seconds, name);
      } else {
        reg.DeleteValue(name);
      }
    }
    reg.SetRegistryValue(name_, RecentImportData({now, items_, state}), registry::kRegSz);
    std::sort(kept.begin(), kept.end(), std::greater<>());  // the newest first
    for (std::size_t i = kRecentImportsKept - 1; i < kept.size(); ++i) reg.DeleteValue(kept[i].second);
  } catch (...) {  // what could not be recorded is not asked about
  }
}

}  // namespace modMain
