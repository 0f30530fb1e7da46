// The demo's driver (tools/demo.sh runs it): starts the stand-in quoting application with its
// journal and items files, runs KestrovaCartImport.exe under the dialog robot, prints every
// message box the import showed (title, icon, text) and then the line items of the stand-in's
// open document as a table, and closes the stand-in again.
//
//   import_demo --journal FILE --items FILE --transcript FILE [--watch] [--cart PATH]
//
// With --cart the importer gets PATH as its argument, as if the cart had been dropped on it.
// With --watch (a real display) the user closes the boxes, and at the end the stand-in's window,
// themselves; without it the robot presses OK and the stand-in is closed at once. Nothing this
// starts outlives it. Exit code: the importer's, or 1 when the demo itself could not run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "testbed/common/command_line.h"
#include "testbed/common/utf8.h"
#include "testbed/driver/scenario.h"

namespace e2e {
namespace {

using testbed::FromUtf8;

struct Settings {
  std::wstring journal, items, transcript;
  bool watch = false;
  std::wstring cart;  // the importer's argument; none when empty
};

// Text to standard output: through the console when it is one (which knows its own code page),
// else as UTF-8 bytes (a pipe or a file).
void Print(const std::wstring& text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(out, &mode)) {
    WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    const std::string bytes = Utf8(text);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

void PrintBoxes(const Transcript& transcript) {
  Print(L"\nMessage boxes, in the order the import showed them:\n");
  int n = 0;
  for (const Box& box : transcript.boxes) {
    std::wstring text = FromUtf8(box.text);
    // Each line of the text indented under the title.
    for (std::size_t at = 0; (at = text.find(L"\r\n", at)) != std::wstring::npos; at += 2)
      text.replace(at, 2, L"\n     ");
    Print(L"  " + std::to_wstring(++n) + L". " + FromUtf8(box.title) + L"  [" + FromUtf8(box.icon) + L"]\n     " +
          text + L"\n");
  }
  if (n == 0) Print(L"  (none)\n");
  for (const std::string& line : transcript.other) Print(L"  robot: " + FromUtf8(line) + L"\n");
  if (transcript.exit_code)
    Print(L"  The importer ended with exit code " + std::to_wstring(*transcript.exit_code) + L".\n");
}

// The document's line items as a table: nine columns in the stand-in's order, numbers to the right.
void PrintItems(const std::optional<std::vector<std::string>>& lines) {
  static const char* const kColumns[] = {"VendorPartNumber", "Manufacturer", "ManufacturerPartNumber",
                                         "Description",      "UnitPrice",    "UnitCost",
                                         "QtyBase",          "TaxCode",      "Vendor"};
  if (!lines) {
    Print(L"\nNothing was pasted: the open document is unchanged.\n");
    return;
  }
  std::vector<std::vector<std::wstring>> rows;
  std::vector<std::vector<bool>> numeric;
  for (const std::string& line : *lines) {
    const nlohmann::json item = testbed::driver::ParseLine(line);
    std::vector<std::wstring> row;
    std::vector<bool> is_number;
    for (const char* column : kColumns) {
      // A field is {"vt": ..., "value": ...}; anything else leaves its cell empty.
      const nlohmann::json* value = nullptr;
      if (item.is_object() && item.contains(column) && item[column].is_object() && item[column].contains("value")) {
        value = &item[column]["value"];
      }
      std::wstring cell;
      bool number = false;
      if (value != nullptr && value->is_string()) {
        cell = FromUtf8(value->get<std::string>());
      } else if (value != nullptr && value->is_number()) {
        wchar_t buffer[64];
        const bool money = std::string(column) != "QtyBase";
        swprintf(buffer, 64, money ? L"%.2f" : L"%g", value->get<double>());
        cell = buffer;
        number = true;
      }
      row.push_back(cell);
      is_number.push_back(number);
    }
    rows.push_back(std::move(row));
    numeric.push_back(std::move(is_number));
  }
  std::vector<std::size_t> widths;
  for (const char* column : kColumns) widths.push_back(std::string(column).size());
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  }
  auto cell = [&](const std::wstring& text, std::size_t c, bool right) {
    const std::wstring pad(widths[c] - std::min(widths[c], text.size()), L' ');
    if (c + 1 == std::size(kColumns)) return right ? pad + text : text;  // nothing trails the last column
    return (right ? pad + text : text + pad) + L"  ";
  };
  Print(L"\nLine items in the stand-in's open document (" + std::to_wstring(rows.size()) + L"):\n  ");
  for (std::size_t c = 0; c < std::size(kColumns); ++c) Print(cell(FromUtf8(kColumns[c]), c, c >= 4 && c <= 6));
  Print(L"\n");
  for (std::size_t r = 0; r < rows.size(); ++r) {
    Print(L"  ");
    for (std::size_t c = 0; c < rows[r].size(); ++c) Print(cell(rows[r][c], c, numeric[r][c]));
    Print(L"\n");
  }
}

int Run(const Settings& settings) {
  // Each demo's stand-in opens a new, empty document, which no earlier demo imported into: the
  // importer's record of recent imports would ask about it all the same, since the index is the
  // only identity a document has.
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kestrova\\Cart Import\\Recent imports");
  StandIn standin;
  // The backstop: a stand-in left open on a real display ends by itself after an hour.
  if (!standin.Start({L"--journal", settings.journal, L"--items", settings.items}, 3600)) {
    Print(L"The stand-in quoting application did not come up.\n");
    return 1;
  }
  Print(settings.watch ? L"Brevanto (stand-in) is running. The import's message boxes wait for you: close each one.\n"
                       : L"Brevanto (stand-in) is running; the robot answers the import's message boxes.\n");
  std::vector<std::wstring> command{BinFolder() + L"\\" + kImporter};
  if (!settings.cart.empty()) command.push_back(settings.cart);
  const std::optional<DWORD> robot =
      RunUnderRobot(settings.transcript, command, settings.watch ? 1800 : 120,
                    settings.watch ? std::vector<std::wstring>{L"--watch"} : std::vector<std::wstring>{});
  const Transcript transcript = ReadTranscript(settings.transcript);
  PrintBoxes(transcript);
  if (robot != std::optional<DWORD>(0)) Print(L"  The dialog robot did not see the import to its end.\n");
  PrintItems(ReadLines(settings.items));
  if (settings.watch && standin.running()) {
    Print(L"\nClose the Brevanto (stand-in) window to end the demo.\n");
    while (standin.running() && !standin.WaitForEnd(1000)) {
    }
  }
  standin.Stop();
  return transcript.exit_code ? static_cast<int>(*transcript.exit_code) : 1;
}

std::optional<Settings> Parse(const std::vector<std::wstring>& arguments) {
  Settings settings;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const bool has_value = i + 1 < arguments.size();
    if (arguments[i] == L"--watch") {
      settings.watch = true;
    } else if (arguments[i] == L"--journal" && has_value) {
      settings.journal = arguments[++i];
    } else if (arguments[i] == L"--items" && has_value) {
      settings.items = arguments[++i];
    } else if (arguments[i] == L"--transcript" && has_value) {
      settings.transcript = arguments[++i];
    } else if (arguments[i] == L"--cart" && has_value) {
      settings.cart = arguments[++i];
    } else {
      return std::nullopt;
    }
  }
  if (settings.journal.empty() || settings.items.empty() || settings.transcript.empty()) return std::nullopt;
  return settings;
}

}  // namespace
}  // namespace e2e

int main() {
  try {
    const std::optional<e2e::Settings> settings = e2e::Parse(testbed::ProcessArguments());
    if (!settings) {
      std::fprintf(stderr,
                   "usage: import_demo --journal FILE --items FILE --transcript FILE [--watch] [--cart PATH]\n");
      return 2;
    }
    return e2e::Run(*settings);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "the demo could not run: %s\n", error.what());
    return 1;
  }
}
