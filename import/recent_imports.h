#pragma once
// The imports of the last 12 hours, kept per user in the registry, so that a cart that was just
// imported into the open document is not imported into it again by mistake: before it imports
// such a cart again, the run asks, with No the default. A second import may be meant, so it asks
// and never refuses.
//
// A cart is known by what the import sends of it, not by its file: for every item, its four text
// columns and its price, cost and quantity as numbers, in order. The same cart saved again by a
// spreadsheet (another separator, decimal mark or encoding) is the same cart; a cart with one
// quantity changed is another. A document is known by its index, the only identity of a document
// that Brevanto's interface gives.
//
// Where and how, through `winreg`: under HKEY_CURRENT_USER\Software\Kestrova\Cart Import\Recent
// imports, one REG_SZ value per import, named by the cart's identity as 16 lowercase hex digits, a
// "-" and the document index ("00c0ffee12345678-1"), holding the time in UTC, the item count and
// how far the paste went, separated by single spaces ("2026-12-09T14:32:05Z 13 pasted"). Each
// record of an import deletes the entries older than 12 hours and those that do not parse, and
// keeps at most 20, the newest. Only the holder of the import lock reads and writes them, so two
// runs never write at once.
//
// The record is a convenience and never in the way: a key that cannot be opened, read or written,
// a value of another type, data that does not parse, a wall clock set back, an error raised inside
// `winreg`: none of them stops or changes an import, and none shows a box of its own.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "import/cart.h"
#include "import/clock.h"
#include "import/desk.h"
#include "import/program.h"
#include "import/texts.h"
#include "registry/registry_api.h"

namespace modMain {

inline constexpr wchar_t kRecentImportsKey[] = L"Recent imports";  // under kSettingsKey (program.h)
inline constexpr std::int64_t kRecentImportSeconds = 12 * 60 * 60;
inline constexpr std::size_t kRecentImportsKept = 20;

// How far a recorded import went: its paste call returned, or it stopped (Brevanto closed, the
// call failed) while the paste was under way, so that some or all items may be in the document.
enum class PasteState { kPasted, kMaybe };

struct RecentImport {
  std::int64_t utc_seconds = 0;  // since 1970-01-01 00:00 UTC
  std::size_t items = 0;
  PasteState state = PasteState::kPasted;
};

// The identity of the items that the run imports: FNV-1a over their columns as described above,
// the same in every build. Never fails.
std::uint64_t CartIdentity(const Cart& cart);
// The value's name: "00c0ffee12345678-1".
std::wstring RecentImportName(std::uint64_t identity, std::int16_t document);
// The value's data, "2026-12-09T14:32:05Z 13 pasted", and back: nothing for data that is not
// exactly of that form (a date that does not exist, a count of 0, anything more or less).
std::wstring RecentImportData(const RecentImport& import);
std::optional<RecentImport> ParseRecentImport(std::wstring_view data);

// One run's dealings with the record, for its cart and the open document. A cart without items is
// neither asked about nor recorded.
class RecentImports {
 public:
  // All must outlive this object. Reads nothing yet.
  RecentImports(registry::RegistryApi& api, Clock& clock, const Cart& cart, std::int16_t document);

  // When this cart was imported into this document less than 12 hours ago, asks the user in a
  // Yes/No box, in the language of `texts`, whether to import it again. True when nothing was
  // asked or the user chose Yes.
  bool Confirmed(Desk& desk, const Texts& texts);
  // Records this run's import as `state`, replacing an earlier entry of this cart and document,
  // and tidies the key. Never fails.
  void Record(PasteState state) noexcept;

 private:
  std::optional<RecentImport> Find() const noexcept;

  registry::RegistryApi& api_;
  Clock& clock_;
  std::size_t items_ = 0;
  std::wstring name_;  // the value's name; empty for a cart without items
};

}  // namespace modMain
