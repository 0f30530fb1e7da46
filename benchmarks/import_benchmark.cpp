// The import's cost under Wine, against the stand-in: round trips per imported line by kind (from
// the stand-in's journal), time per line, and the bare round-trip time of one Invoke measured
// against the same stand-in in the same run. Prints figures; judges nothing.
//
//   import_benchmark [--lines N] [--repeat R] [--calls C] [--trace-lines K]
//
// Each repeat imports a cart with only its header line and then one with N lines, so that what a
// run costs once (start-up, the presence check, the document check, clear and paste) falls out of
// the difference. The importer is timed from its start to its first contact with the stand-in
// (the journal's first new line), from there to the final box, and to its exit; this program
// presses OK itself, so that no robot's screen reading is timed.
//
// With --trace-lines K it then imports a header-only cart and one of K lines once more, each with
// Wine's "ole" trace on for the importer alone. The trace goes to the standard error that the
// importer inherits from us, between the marker lines "@@ trace L lines" and "@@ end"; every
// "NdrProxySendReceive" line in it is one call the importer made to another process, including
// those of COM's own (reference counting, interface queries) that the journal cannot see.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "testbed/common/command_line.h"
#include "testbed/driver/scenario.h"
#include "testbed/robot/dialogs.h"
#include "testbed/standin/identity.h"

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

struct Settings {
  int lines = 200;
  int repeat = 3;
  int calls = 500;
  int trace_lines = 0;
};

// A cart of `lines` well-formed lines like a real one: quoted descriptions with commas, prices
// with currency signs and digit grouping.
std::string MakeCart(int lines) {
  std::string cart =
      "Kestrova Part Number,Manufacturer,Manufacturer Part Number,Description,Customer Reference,RoHS Status,"
      "Lead Time,Quantity Available,Minimum Order Quantity,List Price,Your Price,Quantity,Extended Price,"
      "Ship Date\r\n";
  for (int i = 1; i <= lines; ++i) {
    const std::string n = std::to_string(i);
    cart.append("KV-").append(n).append("-2281,Netvance,NV-S").append(n).append("P,\"Switch, managed, ").append(n);
    cart.append(" ports\",Site A rack 2,Compliant,In stock,37,1,\"$3,249.00\",\"$2,716.50\",");
    cart.append(std::to_string(i % 9 + 1)).append(",\"$5,433.00\",2024-05-14\r\n");
  }
  return cart;
}

std::uint64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

struct ImportTiming {
  bool ok = false;
  double to_first_contact = 0;  // process start to the stand-in's first new journal line
  double in_run = 0;            // first contact to the final box
  double to_exit = 0;           // process start to its exit, the box pressed at once
  std::wstring last_box;
  std::vector<JournalEntry> journal;  // what this run added to the journal
};

// Starts the importer, presses OK on every box it shows and times it. Boxes before the last are
// answered as they come; the run's in-run time ends at the last one. The progress window of a
// long import is left alone.
ImportTiming TimeImport(const std::wstring& journal_path) {
  ImportTiming timing;
  const std::size_t journal_before = ReadJournal(journal_path).size();
  const std::uint64_t size_before = FileSize(journal_path);
  ChildProcess importer;
  const Clock::time_point start = Clock::now();
  if (!importer.Start(BinFolder() + L"\\" + kImporter, {})) return timing;
  std::optional<Clock::time_point> contact, box_shown;
  const Clock::time_point deadline = start + std::chrono::minutes(5);
  while (importer.running() && Clock::now() < deadline) {
    if (!contact && FileSize(journal_path) != size_before) contact = Clock::now();
    for (HWND box : robot::FindDialogs(importer.id())) {
      if (!robot::IsMessageBox(box)) continue;  // the progress window: it goes by itself
      box_shown = Clock::now();
      timing.last_box = robot::ReadBox(box).text;  // after the time is taken: it reads the screen
      robot::PressOk(box);
      while (IsWindow(box) && IsWindowVisible(box) && Clock::now() < deadline) Sleep(1);
    }
    Sleep(1);
  }
  const std::optional<DWORD> code = importer.Wait(10000);
  const Clock::time_point end = Clock::now();
  if (!code || *code != 0 || !contact || !box_shown) return timing;
  timing.ok = true;
  timing.to_first_contact = Milliseconds(*contact - start).count();
  timing.in_run = Milliseconds(*box_shown - *contact).count();
  timing.to_exit = Milliseconds(end - start).count();
  std::vector<JournalEntry> journal = ReadJournal(journal_path);
  timing.journal.assign(journal.begin() + static_cast<std::ptrdiff_t>(std::min(journal_before, journal.size())),
                        journal.end());
  return timing;
}

// The average time of one GetActiveDocumentIndex Invoke, its DISPID looked up once beforehand.
std::optional<double> BareRoundTrip(int calls) {
  IUnknownPtr running;
  if (FAILED(GetActiveObject(standin::kClsid, nullptr, &running))) return std::nullopt;
  IDispatchPtr application = running;
  if (!application) return std::nullopt;
  IDispatchPtr documents = testbed::driver::ReadObject(application, L"DocFunctions");
  if (!documents) return std::nullopt;
  DISPID id = DISPID_UNKNOWN;
  auto* name = const_cast<LPOLESTR>(L"GetActiveDocumentIndex");
  if (FAILED(documents->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return std::nullopt;
  constexpr WORD kMethodForResult = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  if (FAILED(testbed::driver::CallId(documents, id, kMethodForResult).result)) return std::nullopt;  // warm-up
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < calls; ++i) {
    if (FAILED(testbed::driver::CallId(documents, id, kMethodForResult).result)) return std::nullopt;
  }
  return Milliseconds(Clock::now() - start).count() / calls;
}

// The average time of one ItemFunctions call as the import makes it: read the property, look the
// member up on the fresh object, call it, release the object (SLIBufferClear, which changes
// nothing that the benchmark looks at).
std::optional<double> ItemFunctionsCycle(int calls) {
  IUnknownPtr running;
  if (FAILED(GetActiveObject(standin::kClsid, nullptr, &running))) return std::nullopt;
  IDispatchPtr application = running;
  if (!application) return std::nullopt;
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < calls; ++i) {
    IDispatchPtr items = testbed::driver::ReadObject(application, L"ItemFunctions");
    if (!items || FAILED(testbed::driver::Call(items, L"SLIBufferClear", DISPATCH_METHOD).result)) return std::nullopt;
  }
  return Milliseconds(Clock::now() - start).count() / calls;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void PrintTrips(const char* label, const RoundTrips& t, double per) {
  std::printf(
      "  %-18s ItemFunctions reads %5.2f | other reads %5.2f | method Invokes %5.2f | GetIDsOfNames %5.2f"
      " | connects %5.2f | disconnects %5.2f | round trips %6.2f\n",
      label, t.item_reads / per, t.other_reads / per, t.methods / per, t.lookups / per, t.connects / per,
      t.disconnects / per, t.total() / per);
}

int Run(const Settings& settings) {
  PersonalFolder personal;
  KestrovaKeyAside kestrova_key;  // every import of the same cart is timed as a first one
  ScratchFolder folder(L"benchmark");
  testbed::driver::TempFile journal(L"benchmark_journal.jsonl");
  if (!personal.saved() || !folder.ok() || !personal.Set(folder.path())) {
    std::fprintf(stderr, "cannot point the Documents folder at a scratch folder\n");
    return 1;
  }
  const std::wstring cart = folder.path() + L"\\" + kCartName;
  StandIn standin;
  if (!standin.Start({L"--journal", journal.path()}, 1800)) {
    std::fprintf(stderr, "the stand-in did not come up\n");
    return 1;
  }
  const std::optional<double> rtt_before = BareRoundTrip(settings.calls);

  std::vector<double> fixed_in_run, fixed_contact, fixed_exit, full_in_run, full_contact, full_exit;
  RoundTrips fixed_trips, full_trips;
  for (int r = 0; r < settings.repeat; ++r) {
    for (int lines : {0, settings.lines}) {
      if (!WriteBytes(cart, MakeCart(lines))) {
        std::fprintf(stderr, "cannot write the cart\n");
        return 1;
      }
      kestrova_key.Clear();
      ImportTiming timing = TimeImport(journal.path());
      const std::wstring expected = std::to_wstring(lines) + L" Kestrova Shopping Cart Items";
      if (!timing.ok || timing.last_box.rfind(expected, 0) != 0) {
        std::fprintf(stderr, "the import of %d lines did not end as expected (%s): %s\n", lines,
                     timing.ok ? "ended" : "did not end cleanly", Utf8(timing.last_box).c_str());
        return 1;
      }
      const RoundTrips trips = CountRoundTrips(timing.journal);
      (lines == 0 ? fixed_trips : full_trips) = trips;
      (lines == 0 ? fixed_in_run : full_in_run).push_back(timing.in_run);
      (lines == 0 ? fixed_contact : full_contact).push_back(timing.to_first_contact);
      (lines == 0 ? fixed_exit : full_exit).push_back(timing.to_exit);
    }
  }
  const std::optional<double> rtt_after = BareRoundTrip(settings.calls);
  const std::optional<double> cycle = ItemFunctionsCycle(settings.calls);
  if (settings.trace_lines > 0) {
    for (int lines : {0, settings.trace_lines}) {
      if (!WriteBytes(cart, MakeCart(lines))) return 1;
      // Read by the importer when it starts; our own process keeps the setting it started with.
      SetEnvironmentVariableW(L"WINEDEBUG", L"+ole");
      std::fprintf(stderr, "@@ trace %d lines\n", lines);
      std::fflush(stderr);
      kestrova_key.Clear();
      const bool ok = TimeImport(journal.path()).ok;
      std::fprintf(stderr, "@@ end\n");
      std::fflush(stderr);
      SetEnvironmentVariableW(L"WINEDEBUG", L"-all");
      if (!ok) {
        std::fprintf(stderr, "the traced import of %d lines did not end as expected\n", lines);
        return 1;
      }
    }
  }
  standin.Stop();
  if (!rtt_before || !rtt_after || !cycle) {
    std::fprintf(stderr, "the bare round trip could not be measured\n");
    return 1;
  }

  const double n = settings.lines;
  std::printf("Import of a %d-line cart against the stand-in under Wine (%d repeats, medians)\n\n", settings.lines,
              settings.repeat);
  std::printf(
      "Round trips from the stand-in's journal (a disconnect is the release of a client's last reference,\n"
      "a call of its own; a connect comes with the reply of the read that hands the reference out):\n");
  PrintTrips("once per run:", fixed_trips, 1);
  PrintTrips("per imported line:", full_trips - fixed_trips, n);
  std::printf("\nTime (ms):\n");
  std::printf("  %-18s %10s %16s %12s\n", "cart", "to contact", "contact to box", "to exit");
  std::printf("  %-18s %10.1f %16.1f %12.1f\n", "header only", Median(fixed_contact), Median(fixed_in_run),
              Median(fixed_exit));
  std::printf("  %-18s %10.1f %16.1f %12.1f\n", (std::to_string(settings.lines) + " lines").c_str(),
              Median(full_contact), Median(full_in_run), Median(full_exit));
  const double per_line_wall = Median(full_exit) / n;
  const double per_line = (Median(full_in_run) - Median(fixed_in_run)) / n;
  const double rtt = (*rtt_before + *rtt_after) / 2;
  std::printf("\n  time per line, wall time of the whole import / lines:     %7.3f ms\n", per_line_wall);
  std::printf("  time per line, inside the run (%d lines less header only): %7.3f ms\n", settings.lines, per_line);
  std::printf("  bare round trip, one Invoke (%d calls, before / after):   %7.3f ms (%.3f / %.3f)\n", settings.calls,
              rtt, *rtt_before, *rtt_after);
  std::printf(
      "  ratio, time per line inside the run / bare round trip:     %7.1f  (journal: %.1f round trips per line)\n",
      per_line / rtt, (full_trips - fixed_trips).total() / n);
  std::printf(
      "  one ItemFunctions call as the import makes it (read, look up, call, release):  %7.3f ms = %.1f bare"
      " round trips;\n  eleven of them, as in one line: %.1f ms\n",
      *cycle, *cycle / rtt, 11 * *cycle);
  return 0;
}

std::optional<Settings> Parse(const std::vector<std::wstring>& arguments) {
  Settings settings;
  for (std::size_t i = 1; i < arguments.size(); i += 2) {
    if (i + 1 >= arguments.size()) return std::nullopt;
    const std::optional<long long> value = testbed::ParseInteger(arguments[i + 1]);
    if (!value || *value < 1 || *value > 32000) return std::nullopt;
    if (arguments[i] == L"--lines") {
      settings.lines = static_cast<int>(*value);
    } else if (arguments[i] == L"--repeat") {
      settings.repeat = static_cast<int>(*value);
    } else if (arguments[i] == L"--calls") {
      settings.calls = static_cast<int>(*value);
    } else if (arguments[i] == L"--trace-lines") {
      settings.trace_lines = static_cast<int>(*value);
    } else {
      return std::nullopt;
    }
  }
  return settings;
}

}  // namespace
}  // namespace e2e

int main() {
  const std::optional<e2e::Settings> settings = e2e::Parse(testbed::ProcessArguments());
  if (!settings) {
    std::fprintf(stderr, "usage: import_benchmark [--lines N] [--repeat R] [--calls C] [--trace-lines K]\n");
    return 2;
  }
  const common::ComApartment apartment = common::EnterApartment();
  if (!apartment) return 1;
  return e2e::Run(*settings);
}
