// A whole import run on any cart file: raw bytes decoded (UTF-16 and UTF-8 by their marks, by
// the NULs of the first line or by validity, else the ANSI code page), the line ends, the
// separator and its "sep=" hint, the cut at the first blank line, the parser, the decimal mark,
// the column clean-up and the quoting application's buffers. The run must end (normally, or with
// one of the boxes that end it), give back every object it took, and count exactly the lines it
// copied.
#include <cstdlib>
#include <string>

#include "import/mod_main.h"
#include "testbed/doubles/silent_double.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  modMain::testing::SilentDouble platform(std::string(reinterpret_cast<const char*>(data), size));
  const int exit_code = modMain::Run(platform.partners());
  const modMain::testing::SilentHost& host = platform.host;
  const modMain::testing::SilentDesk& desk = platform.desk;
  if (host.LiveObjects() != 0 || host.bad_releases != 0) std::abort();
  const modMain::Texts& texts = platform.texts;
  if (exit_code == 0) {
    if (host.pastes != 1) std::abort();
    if (desk.last_message != texts.Say(modMain::Message::kImported, host.copies)) std::abort();
    // At most one box about the lines that are left out, answered with OK, before the count.
    if (desk.line_boxes > 1 || desk.boxes != desk.line_boxes + 1) std::abort();
  } else {
    // The runs that end with exit code 1 here end with a single box and copy nothing: a line of
    // 32,767 characters or more (or a cart of 32,768 lines), a file that is no cart, prices
    // written two ways, or no line that can be imported.
    if (exit_code != 1 || host.pastes != 0 || host.copies != 0 || desk.boxes != 1) std::abort();
    const std::wstring& box = desk.last_message;
    const std::wstring overflow =
        texts.Say(modMain::Message::kErrorText, common::kErrOverflow.number, texts.Say(modMain::Message::kErrOverflow));
    const std::wstring_view two_ways = texts.Form(modMain::Message::kTwoWays, modMain::PluralForm::kOther);
    if (box.find(overflow) == std::wstring::npos &&
        box != texts.Say(modMain::Message::kNotACart, modMain::testing::kSilentCartPath) &&
        !box.starts_with(two_ways.substr(0, two_ways.find(L'{'))) && desk.line_boxes != 1) {
      std::abort();
    }
  }
  return 0;
}
