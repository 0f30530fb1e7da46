// The import run, its report of an unexpected error, and the presence check of the quoting
// application.
#include "import/mod_main.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>

#include "common/int16.h"
#include "common/variant.h"
#include "import/cart.h"
#include "import/cart_file.h"
#include "import/documents_folder.h"
#include "import/program.h"
#include "import/recent_imports.h"

namespace modMain {
namespace {

using common::Int16;
using common::Variant;

// The document index as a 16-bit integer: numbers round half to even, text must read as a number.
Int16 ToInt16(const Variant& value) { return Int16::From(common::ToInt32(value)); }

// Brevanto's item functions as the run calls them: every call reads ItemFunctions afresh and lets
// the object go right after it, and is followed by a check of the progress window.
class ItemFunctions {
 public:
  ItemFunctions(const ObjectRef& app, Progress& progress) : app_(app), progress_(progress) {}

  void Call(const wchar_t* method, std::span<Argument> args = {}) const {
    {
      const ObjectRef items = app_.Get(L"ItemFunctions");
      items.Call(method, args);
    }
    progress_.Check();
  }
  void SetValue(const wchar_t* field, Argument value) const {
    std::array<Argument, 2> args = {Argument::Value(Variant(field)), std::move(value)};
    Call(L"SLIBufferSetValue", args);
  }

 private:
  const ObjectRef& app_;
  Progress& progress_;
};

// One item into the single-line buffer and from there into the multi-line buffer. Columns 1 to 4
// go by reference to the item's own strings.
void ImportLine(const ItemFunctions& items, CartItem& item) {
  items.Call(L"SLIBufferClear");
  items.SetValue(L"VendorPartNumber", Argument::Reference(item.vendor_part));
  items.SetValue(L"Manufacturer", Argument::Reference(item.manufacturer));
  items.SetValue(L"ManufacturerPartNumber", Argument::Reference(item.manufacturer_part));
  items.SetValue(L"Description", Argument::Reference(item.description));
  items.SetValue(L"UnitPrice", Argument::Value(item.price));
  items.SetValue(L"UnitCost", Argument::Value(item.cost));
  items.SetValue(L"QtyBase", Argument::Value(item.quantity));
  items.SetValue(L"TaxCode", Argument::Value(L"Y"));
  items.SetValue(L"Vendor", Argument::Value(L"Kestrova"));
  items.Call(L"SLIBufferCopyToMLIBuffer");
}

// Runs `step`, a cart line's (`line`) or the paste call itself (`in_paste`), and raises a runtime
// error from it as the UnexpectedError of that place.
template <typename Step>
void Placed(std::optional<std::int16_t> line, bool in_paste, Step step) {
  try {
    step();
  } catch (const HostGone& error) {
    throw UnexpectedError{error, true, line, in_paste};
  } catch (const common::RuntimeError& error) {
    throw UnexpectedError{error, false, line, in_paste};
  }
}

// The lines that will not be imported, those without 14 columns first, then those that name no
// item, and what the user may choose.
std::wstring SkippedLinesMessage(const Texts& texts, const Cart& cart) {
  std::vector<std::wstring> sentences;
  const auto tell = [&](const std::vector<std::int16_t>& lines, Message one, Message several) {
    if (lines.size() == 1) sentences.push_back(texts.Say(one, lines.front()));
    if (lines.size() > 1) sentences.push_back(texts.Say(several, texts.LineList(lines)));
  };
  tell(cart.malformed, Message::kWrongColumnsLine, Message::kWrongColumnsLines);
  tell(cart.nameless, Message::kNamesNoItemLine, Message::kNamesNoItemLines);
  sentences.push_back(cart.items.empty() ? texts.Say(Message::kNothingImportable)
                                         : texts.Say(Message::kChooseOkOrCancel, cart.items.size()));
  std::wstring text;
  for (const std::wstring& sentence : sentences) text += (text.empty() ? L"" : L"\r\n\r\n") + sentence;
  return text;
}

void ShowCartNotFound(const Partners& partners, const std::wstring& cart_path) {
  partners.desk.ShowMessage(partners.texts.Say(Message::kCartNotFound, cart_path), MessageIcon::kExclamation,
                            kAppTitle);
}

}  // namespace

int Main(const Partners& partners) {
  const std::wstring folder = GetMyDocumentsFolder(partners.desk.Registry());
  const DocumentsCart found = FindDocumentsCart(partners.desk, folder);
  if (!found.found) {
    ShowCartNotFound(partners, found.path);
    return 0;
  }
  return ImportCart(partners, found.path);
}

int ImportCart(const Partners& partners, const std::wstring& cart_path) {
  Desk& desk = partners.desk;
  const Texts& texts = partners.texts;
  // The cart is read and parsed before Brevanto is looked for: a cart that cannot be opened, or a
  // file that is no cart, is told first, whatever Brevanto's state, and the file is closed again
  // before the first call to Brevanto.
  Cart cart;
  if (std::optional<std::wstring> text = ReadFileToString(desk, texts, cart_path)) {
    cart = ParseCart(*std::move(text));
  } else {
    cart.is_cart = false;  // bytes that are no text
  }
  if (!cart.is_cart) {
    desk.ShowMessage(texts.Say(Message::kNotACart, cart_path), MessageIcon::kExclamation, kAppTitle);
    return 1;
  }
  if (cart.conflict) {
    const auto& [first, second] = *cart.conflict;
    desk.ShowMessage(texts.Say(Message::kTwoWays, cart_path, first.line, first.value, second.line, second.value),
                     MessageIcon::kExclamation, kAppTitle);
    return 1;
  }

  if (!IsHostRunning(partners.automation)) {
    desk.ShowMessage(texts.Say(Message::kHostNotRunning), MessageIcon::kCritical, kHostApiTitle);
    return 0;
  }
  // Attached a second time: the presence check keeps no reference, so that it leaves no hold on
  // Brevanto, and the run takes its own (should Brevanto close in between, this attach fails as an
  // unexpected error). Held to the end of the run; released on every way out, after the last
  // message.
  const ObjectRef app = ObjectRef::GetActive(partners.automation, kHostProgId);
  Variant document;
  {
    const ObjectRef docs = app.Get(L"DocFunctions");
    document = docs.CallForValue(L"GetActiveDocumentIndex");
  }
  const std::int16_t document_index = ToInt16(document);
  if (document_index == -1) {
    desk.ShowMessage(texts.Say(Message::kNoDocument), MessageIcon::kCritical, kAppTitle);
    return 0;
  }
  RecentImports recent(desk.Registry(), partners.clock, cart, document_index);
  if (!recent.Confirmed(desk, texts)) return 1;  // imported here a moment ago, and the user chose No

  // One box for every line that will not be imported, before Brevanto's buffers are touched:
  // Cancel, or a cart with nothing to import, leaves them as they are.
  if (!cart.malformed.empty() || !cart.nameless.empty()) {
    const std::wstring text = SkippedLinesMessage(texts, cart);
    if (cart.items.empty()) {
      desk.ShowMessage(text, MessageIcon::kInformation, kAppTitle);
      return 1;
    }
    if (desk.AskOkOrCancel(text, MessageIcon::kInformation, kAppTitle) == Choice::kCancel) return 1;
  }

  // From the first call to the buffers on, a long import shows its progress; the window closes on
  // every way out, before any box.
  Progress& progress = partners.progress;
  const struct Ended {
    Progress& progress;
    ~Ended() { progress.End(); }
  } ended{progress};
  const ItemFunctions items(app, progress);
  progress.Begin(cart.items.size());
  items.Call(L"MLIBufferClear");
  Int16 imported = 0;
  for (CartItem& item : cart.items) {
    progress.Item(static_cast<std::size_t>(imported) + 1);
    Placed(item.line, false, [&] { ImportLine(items, item); });
    ++imported;
    // Cancel counts between lines: the lines copied so far are cleared out of the buffer again,
    // and the quote stays as it was.
    if (progress.Cancelled()) {
      progress.End();
      items.Call(L"MLIBufferClear");
      return 1;
    }
  }
  progress.Pasting();  // from here on, Cancel changes nothing
  {
    // A failure in the read before the paste leaves nothing pasted; in the paste itself, maybe some.
    const ObjectRef paste = app.Get(L"ItemFunctions");
    try {
      Placed(std::nullopt, true, [&] { paste.Call(L"MLIBufferAppendPaste"); });
    } catch (const UnexpectedError&) {
      recent.Record(PasteState::kMaybe);
      throw;
    }
  }
  recent.Record(PasteState::kPasted);
  progress.End();
  desk.ShowMessage(texts.Say(Message::kImported, imported), MessageIcon::kInformation, kAppTitle);
  return 0;
}

int Run(const Partners& partners) {
  Desk& desk = partners.desk;
  const Texts& texts = partners.texts;
  try {
    std::vector<std::wstring> arguments = desk.CommandLineArguments();
    std::erase(arguments, std::wstring());  // an empty argument ("") names no cart
    if (arguments.size() > 1) {
      desk.ShowMessage(texts.Say(Message::kTooManyArguments, arguments.size()), MessageIcon::kExclamation, kAppTitle);
      return 1;
    }
    // Two runs at once would fill the application's buffers together and mix their lines.
    if (!desk.TryLockImport(kImportLockName)) {
      desk.ShowMessage(texts.Say(Message::kAlreadyRunning), MessageIcon::kExclamation, kAppTitle);
      return 1;
    }
    if (arguments.empty()) return Main(partners);
    const std::wstring cart_path = desk.FullPath(arguments.front());
    if (!FileExists(desk, cart_path)) {
      ShowCartNotFound(partners, cart_path);
      return 0;
    }
    return ImportCart(partners, cart_path);
  } catch (const UnexpectedError& failure) {
    ReportUnexpectedError(desk, texts, failure);
  } catch (const HostGone& error) {
    ReportUnexpectedError(desk, texts, {.error = error, .host_gone = true});
  } catch (const common::RuntimeError& error) {
    ReportUnexpectedError(desk, texts, {.error = error});
  } catch (const std::bad_alloc&) {
    ReportUnexpectedError(desk, texts, {.error = common::RuntimeError(common::kErrOutOfMemory)});
  } catch (const RunCancelled&) {
    // The user chose Cancel in the busy box; every reference is released by now.
  } catch (...) {
    ReportUnexpectedError(desk, texts, {.error = common::RuntimeError(common::kErrInternal)});
  }
  return 1;
}

void ReportUnexpectedError(Desk& desk, const Texts& texts, const UnexpectedError& failure) {
  // When Brevanto went away in the paste call itself, it may have pasted some or all items.
  const Message lead = !failure.host_gone ? Message::kUnexpectedError
                       : failure.in_paste ? Message::kHostClosedInPaste
                                          : Message::kHostClosed;
  std::wstring text = texts.Say(lead) + L"\r\n\r\n" +
                      ErrorText(texts, CurrentError{failure.error.number(), texts.Describe(failure.error)});
  if (failure.line) {
    text += texts.Say(Message::kErrorInLine, *failure.line);
  } else {
    text.resize(text.size() - 2);  // no line break at the end
  }
  desk.ShowMessage(text, MessageIcon::kCritical, kAppTitle);
}

bool IsHostRunning(Automation& automation) {
  try {
    const ObjectRef app = ObjectRef::GetActive(automation, kHostProgId);
    return static_cast<bool>(app);
  } catch (const common::RuntimeError&) {
    return false;  // not running, or the identifier is not registered
  }
}

}  // namespace modMain
