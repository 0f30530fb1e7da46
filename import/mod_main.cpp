// The import run, its report of an unexpected error, and the presence check of the quoting
// application.
#include "import/mod_main.h"

#include <array>
#include <new>
#include <optional>

#include "common/int16.h"
#include "common/variant.h"
#include "import/cart_file.h"
#include "import/cart_text.h"
#include "import/documents_folder.h"
#include "import/program.h"

namespace modMain {
namespace {

using common::Int16;
using common::Variant;

constexpr std::int16_t kColumns = 14;

// The document index as a 16-bit integer: numbers round half to even, text must read as a number.
Int16 ToInt16(const Variant& value) { return Int16::From(common::ToInt32(value)); }

// Every call on ItemFunctions reads the property afresh and lets the object go right after it.
void CallItemFunction(const ObjectRef& app, const wchar_t* method, std::span<Argument> args = {}) {
  const ObjectRef items = app.Get(L"ItemFunctions");
  items.Call(method, args);
}

void SetValue(const ObjectRef& app, const wchar_t* field, Argument value) {
  std::array<Argument, 2> args = {Argument::Value(Variant(field)), std::move(value)};
  CallItemFunction(app, L"SLIBufferSetValue", args);
}

// One well-formed line into the single-line buffer and from there into the multi-line buffer.
// Columns 1 to 4 go by reference to the field array's own strings.
void ImportLine(const ObjectRef& app, std::vector<std::wstring>& fields) {
  const double price = ToNumber(NumericCharsOnly(fields[10], L".-()"));
  const double cost = ToNumber(NumericCharsOnly(fields[11], L".-()"));
  const double quantity = ToNumber(fields[12]);
  CallItemFunction(app, L"SLIBufferClear");
  SetValue(app, L"VendorPartNumber", Argument::Reference(fields[1]));
  SetValue(app, L"Manufacturer", Argument::Reference(fields[2]));
  SetValue(app, L"ManufacturerPartNumber", Argument::Reference(fields[3]));
  SetValue(app, L"Description", Argument::Reference(fields[4]));
  SetValue(app, L"UnitPrice", Argument::Value(price));
  SetValue(app, L"UnitCost", Argument::Value(cost));
  SetValue(app, L"QtyBase", Argument::Value(quantity));
  SetValue(app, L"TaxCode", Argument::Value(L"Y"));
  SetValue(app, L"Vendor", Argument::Value(L"Kestrova"));
  CallItemFunction(app, L"SLIBufferCopyToMLIBuffer");
}

// Runs `step`, a cart line's (`line`) or the paste call itself (`in_paste`), and raises a runtime
// error from it as the UnexpectedError of that place.
template <typename Step>
bool Placed(std::optional<std::int16_t> line, bool in_paste, Step step) {
  try {
    return step();
  } catch (const HostGone& error) {
    throw UnexpectedError{error, true, line, in_paste};
  } catch (const common::RuntimeError& error) {
    throw UnexpectedError{error, false, line, in_paste};
  }
}

std::wstring WrongColumnsMessage(std::int16_t line) {
  return L"It appears that line " + std::to_wstring(line) +
         L" in the shopping cart file does not have the correct number of columns of data, so the data will not be "
         L"pasted into Brevanto.";
}

std::wstring TooManyArgumentsMessage(std::size_t count) {
  return L"Kestrova Cart Import takes at most one argument, the path of a cart file, but it was given " +
         std::to_wstring(count) + L". Import one cart file at a time.";
}

void ShowCartNotFound(Platform& platform, const std::wstring& cart_path) {
  platform.ShowMessage(
      L"The Kestrova shopping cart file " + QuoteText(cart_path) + L" was not found. Import cancelled!",
      MessageIcon::kExclamation, kAppTitle);
}

}  // namespace

void Main(Platform& platform) {
  const std::wstring folder = GetMyDocumentsFolder(platform.Registry());
  const std::optional<std::wstring> found = FindDocumentsCart(platform, folder);
  if (!found) {
    ShowCartNotFound(platform, folder + kCartFileName);
    return;
  }
  ImportCart(platform, *found);
}

void ImportCart(Platform& platform, const std::wstring& cart_path) {
  // The cart is read before Brevanto is looked for: a cart that cannot be opened is told first,
  // whatever Brevanto's state, and the file is closed again before the first call to Brevanto.
  const std::vector<std::wstring> lines = CartLines(ReadFileToString(platform, cart_path));

  if (!IsHostRunning(platform)) {
    platform.ShowMessage(L"Brevanto is not running. Brevanto must be running in order to use this API",
                         MessageIcon::kCritical, L"Brevanto API");
    return;
  }
  // Attached a second time: the presence check keeps no reference, so that it leaves no hold on
  // Brevanto, and the run takes its own (should Brevanto close in between, this attach fails as an
  // unexpected error). Held to the end of the run; released on every way out, after the last
  // message.
  const ObjectRef app = ObjectRef::GetActive(platform, kHostProgId);
  Variant document;
  {
    const ObjectRef docs = app.Get(L"DocFunctions");
    document = docs.CallForValue(L"GetActiveDocumentIndex");
  }
  if (ToInt16(document) == -1) {
    platform.ShowMessage(L"There are no documents currently open in Brevanto.", MessageIcon::kCritical, kAppTitle);
    return;
  }

  Int16 imported = 0;
  CallItemFunction(app, L"MLIBufferClear");
  // The line index is 16-bit: a last index beyond 32,767 overflows here, and a cart of exactly
  // 32,768 lines overflows when the index steps past its last line. Nothing is pasted either way.
  const Int16 last = Int16::From(static_cast<std::int64_t>(lines.size()) - 1);
  std::vector<std::wstring> fields;
  // From 1: line 0 is the header, never imported, whatever it holds.
  for (Int16 i = 1; i <= last; ++i) {
    const std::wstring& line = lines[static_cast<std::size_t>(i)];
    if (line.empty()) continue;
    const bool copied = Placed(i, false, [&] {
      fields.assign(1, std::wstring());
      ParseCsvLine(line, fields);
      if (fields.size() - 1 != kColumns) {
        platform.ShowMessage(WrongColumnsMessage(i), MessageIcon::kInformation, kAppTitle);
        return false;
      }
      ImportLine(app, fields);
      return true;
    });
    if (copied) ++imported;
  }
  {
    // A failure in the read before the paste leaves nothing pasted; in the paste itself, maybe some.
    const ObjectRef items = app.Get(L"ItemFunctions");
    Placed(std::nullopt, true, [&] {
      items.Call(L"MLIBufferAppendPaste");
      return true;
    });
  }
  platform.ShowMessage(std::to_wstring(imported) + L" Kestrova Shopping Cart Items have been imported into Brevanto.",
                       MessageIcon::kInformation, kAppTitle);
}

int Run(Platform& platform) {
  try {
    const std::vector<std::wstring> arguments = platform.CommandLineArguments();
    if (arguments.size() > 1) {
      platform.ShowMessage(TooManyArgumentsMessage(arguments.size()), MessageIcon::kExclamation, kAppTitle);
      return 1;
    }
    // Two runs at once would fill the application's buffers together and mix their lines.
    if (!platform.TryLockImport(kImportLockName)) {
      platform.ShowMessage(kAlreadyRunningText, MessageIcon::kExclamation, kAppTitle);
      return 1;
    }
    if (arguments.empty()) {
      Main(platform);
      return 0;
    }
    const std::wstring cart_path = platform.FullPath(arguments.front());
    if (!FileExists(platform, cart_path)) {
      ShowCartNotFound(platform, cart_path);
      return 0;
    }
    ImportCart(platform, cart_path);
    return 0;
  } catch (const UnexpectedError& failure) {
    ReportUnexpectedError(platform, failure);
  } catch (const HostGone& error) {
    ReportUnexpectedError(platform, {.error = error, .host_gone = true});
  } catch (const common::RuntimeError& error) {
    ReportUnexpectedError(platform, {.error = error});
  } catch (const std::bad_alloc&) {
    ReportUnexpectedError(platform, {.error = common::RuntimeError(common::kErrOutOfMemory)});
  } catch (const RunCancelled&) {
    // The user chose Cancel in the busy box; every reference is released by now.
  } catch (...) {
    ReportUnexpectedError(platform, {.error = common::RuntimeError(common::kErrInternal)});
  }
  return 1;
}

void ReportUnexpectedError(Platform& platform, const UnexpectedError& failure) {
  std::wstring text;
  if (!failure.host_gone) {
    text = L"The cart import stopped because of an unexpected error.";
  } else if (failure.in_paste) {
    // The paste call was under way: Brevanto may have pasted some or all items before it went.
    text =
        L"The cart import stopped because Brevanto closed while the items were being pasted into it. Some or all "
        L"of them may have been pasted: check the open document in Brevanto before you import the cart again.";
  } else {
    text =
        L"The cart import stopped because Brevanto closed while the cart was being imported. Nothing was pasted "
        L"into Brevanto.";
  }
  text += L"\r\n\r\n" + ErrorText(CurrentError{failure.error.number(), failure.error.description()});
  if (failure.line) {
    text +=
        L"It happened while line " + std::to_wstring(*failure.line) + L" of the shopping cart file was being handled.";
  } else {
    text.resize(text.size() - 2);  // no line break at the end
  }
  platform.ShowMessage(text, MessageIcon::kCritical, kAppTitle);
}

bool IsHostRunning(Platform& platform) {
  try {
    const ObjectRef app = ObjectRef::GetActive(platform, kHostProgId);
    return static_cast<bool>(app);
  } catch (const common::RuntimeError&) {
    return false;  // not running, or the identifier is not registered
  }
}

}  // namespace modMain
