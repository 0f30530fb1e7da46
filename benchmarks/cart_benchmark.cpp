// Throughput of the cart parser and the text helpers, and the heap a whole import run needs for
// carts of 10, 1,000 and 32,000 lines. Run with tools/benchmark-native.sh.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "common/ansi.h"
#include "import/cart_encoding.h"
#include "import/cart_line.h"
#include "import/cart_numbers.h"
#include "import/mod_main.h"
#include "import/text_helpers.h"
#include "testbed/doubles/silent_double.h"

// --- Heap accounting: every allocation of the process, current and peak bytes. The replacement
// new/delete pair below allocates with malloc and frees with free; GCC sees free() meet memory
// from operator new once both are inlined and warns, which does not apply to a replacement pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<std::size_t> g_current{0};
std::atomic<std::size_t> g_peak{0};

void Account(void* block) {
  if (!block) return;
  const std::size_t now = g_current += malloc_usable_size(block);
  std::size_t peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
}
}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  Account(block);
  return block;
}
void operator delete(void* block) noexcept {
  if (!block) return;
  g_current -= malloc_usable_size(block);
  std::free(block);
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace {

// A realistic cart line: fourteen columns, a quoted description with commas, quoted prices with
// signs and digit groups.
std::string CartLine(int i) {
  return "KS-" + std::to_string(100000 + i) + ",Acme Industrial,AC-" + std::to_string(7000 + i) +
         ",\"Hex bolt, zinc plated, M8 x 40, box of " + std::to_string(i % 90 + 10) +
         "\",Fasteners,In stock,3 days,Each,,\"$1,234.50\",\"$1,049.99\",2,Y,N";
}

std::string Cart(int lines) {
  std::string cart =
      "Kestrova Part Number,Manufacturer,Manufacturer Part Number,Description,Category,Availability,Lead "
      "Time,Unit,Note,List Price,Your Price,Quantity,Taxable,Hazardous\r\n";
  for (int i = 1; i < lines; ++i) cart += CartLine(i) + "\r\n";
  return cart;
}

void BM_ParseCsvLine(benchmark::State& state) {
  const std::wstring line = common::AnsiToText(CartLine(42));
  std::vector<std::wstring> fields;
  for ([[maybe_unused]] auto _ : state) {
    fields.assign(1, std::wstring());
    modMain::ParseCsvLine(line, fields);
    benchmark::DoNotOptimize(fields.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_ParseCsvLine);

void BM_NumericCharsOnly(benchmark::State& state) {
  const std::wstring price = L"  USD $1,234.50 ";
  for ([[maybe_unused]] auto _ : state) benchmark::DoNotOptimize(modMain::NumericCharsOnly(price, L".-()"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * price.size()));
}
BENCHMARK(BM_NumericCharsOnly);

void BM_ToNumber(benchmark::State& state) {
  const std::wstring price = L"1234.50";
  for ([[maybe_unused]] auto _ : state) benchmark::DoNotOptimize(modMain::ToNumber(price));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * price.size()));
}
BENCHMARK(BM_ToNumber);

void BM_TruncateAt(benchmark::State& state) {
  const std::wstring text = common::AnsiToText(Cart(1000));  // no blank line: the whole text is searched
  for ([[maybe_unused]] auto _ : state) benchmark::DoNotOptimize(modMain::TruncateAt(text, L"\r\n\r\n"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TruncateAt);

// The cart's bytes to text: the ANSI code page (no byte above 0x7F, as Cart() writes it), UTF-8
// with non-ASCII names (validated, then decoded) and UTF-16 little-endian.
void BM_DecodeCart(benchmark::State& state) {
  std::string bytes = Cart(1000);
  if (state.range(0) == 1) {
    for (std::size_t at = 0; (at = bytes.find("Acme", at)) != std::string::npos;) bytes.replace(at, 4, "Müller µ");
  } else if (state.range(0) == 2) {
    std::string utf16 = "\xFF\xFE";
    for (const char c : bytes) utf16 += {c, '\0'};
    bytes = std::move(utf16);
  }
  for ([[maybe_unused]] auto _ : state) benchmark::DoNotOptimize(modMain::DecodeCart(bytes));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeCart)->ArgName("ansi_utf8_utf16")->Arg(0)->Arg(1)->Arg(2);

// A whole run over a silent double: the cart text path plus the calls the run makes. Reports
// the peak heap the run added, against the cart's size in bytes.
void BM_ImportRun(benchmark::State& state) {
  const std::string cart = Cart(static_cast<int>(state.range(0)));
  std::size_t peak = 0;
  for ([[maybe_unused]] auto _ : state) {
    modMain::testing::SilentDouble platform(cart);
    const std::size_t before = g_current.load();
    g_peak = before;
    if (modMain::Run(platform.partners()) != 0) state.SkipWithError("the run did not end normally");
    peak = std::max(peak, g_peak.load() - before);
    benchmark::DoNotOptimize(platform.host.copies);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * cart.size()));
  state.counters["cart_bytes"] = static_cast<double>(cart.size());
  state.counters["peak_heap_bytes"] = static_cast<double>(peak);
  state.counters["peak_per_cart_byte"] = static_cast<double>(peak) / static_cast<double>(cart.size());
}
BENCHMARK(BM_ImportRun)->Arg(10)->Arg(1000)->Arg(32000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
