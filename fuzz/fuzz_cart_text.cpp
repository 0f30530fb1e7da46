// A whole import run on any cart file: raw bytes decoded (UTF-16 and UTF-8 by their marks or
// validity, else the ANSI code page), the cut at the first blank line, the split into lines, the
// parser, the column clean-up and the quoting application's buffers. The run must end (normally, or with the overflow
// report), give back every object it took, and count exactly the lines it copied.
#include <cstdlib>
#include <string>

#include "import/mod_main.h"
#include "testbed/doubles/silent_double.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  modMain::testing::SilentDouble platform(std::string(reinterpret_cast<const char*>(data), size));
  const int exit_code = modMain::Run(platform);
  if (platform.LiveObjects() != 0 || platform.bad_releases != 0) std::abort();
  if (exit_code == 0) {
    if (platform.pastes != 1) std::abort();
    const std::wstring done = std::to_wstring(platform.copies) + L" Kestrova Shopping Cart Items have been imported";
    if (!platform.last_message.starts_with(done)) std::abort();
    if (platform.boxes != platform.line_boxes + 1) std::abort();
  } else {
    // Only a line of 32,767 characters or more (or a cart of 32,768 lines) can stop the run here.
    if (exit_code != 1 || platform.pastes != 0) std::abort();
    if (platform.last_message.find(L"Error (6) Overflow") == std::wstring::npos) std::abort();
  }
  return 0;
}
