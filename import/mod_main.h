#pragma once
// modMain: the cart import. `Run` is the program: it runs the whole import with its partners (the
// quoting application's automation, the user's desk, the progress window) and reports what went
// wrong unexpectedly. The steps are public so that each can be tested on its
// own; the cart (cart.h), its file (cart_file.h) and the Documents folder
// (documents_folder.h) have headers of their own.
//
// Expected conditions (no cart file, a file that is no cart, prices written two ways, the quoting
// application not running, no open document, malformed lines, a cart file that cannot be opened)
// are told to the user in message boxes.
// Everything else (an automation error, a 16-bit overflow, a failed conversion) is raised as
// common::RuntimeError; `Run` turns it into the unexpected-error report.
#include <cstdint>
#include <optional>
#include <string>

#include "common/runtime_error.h"
#include "import/automation.h"
#include "import/desk.h"
#include "import/program.h"
#include "import/progress.h"

namespace modMain {

inline constexpr wchar_t kHostProgId[] = L"Brevanto.Application";
// One import at a time per Windows session: the lock is named in the session's namespace
// ("Local\"), so that the users of one terminal server do not keep each other out.
inline constexpr wchar_t kImportLockName[] = L"Local\\KestrovaCartImport";

// What the run works with; each must outlive the run.
struct Partners {
  Automation& automation;
  Desk& desk;
  Progress& progress;
  Clock& clock;        // the wall clock of the record of recent imports
  const Texts& texts;  // what the user reads, in the run's language
};

// The import of ShoppingCart.csv in the Documents folder: the folder lookup, the check that the
// cart is there (in the folder the shell names too, when the registry's holds none; a box when it
// is nowhere), then ImportCart. Returns ImportCart's exit code, 0 when there is no cart.
int Main(const Partners& partners);
// The import of the cart at `cart_path` (a full path, of a file that is there), from the read to
// the final count. The file is read and parsed first: a file that is no cart, or whose prices
// are written in two ways, is told in a box before Brevanto is looked for, and nothing more
// happens. Right after the document check, a cart imported into the open document less than 12
// hours ago is asked about (recent_imports.h). Lines without 14 columns, and lines that name no
// item, are told in one box after that, where the user may choose to import none. While the
// lines are sent, the progress window may show; its Cancel, between two lines, clears Brevanto's
// multi-line buffer again and ends the run without a box. An import whose paste call returned is
// recorded as pasted, one that stopped in the paste call as maybe pasted. Returns the exit code:
// 0 for an import and for the ends that Brevanto's state decides (not running, no document), 1
// when nothing could or should be imported (no cart, two ways, No to the question, Cancel or no
// line to import in the lines box, Cancel in the progress window). Raises unexpected errors (an
// UnexpectedError when one happened within a cart line, its parse included, or the paste call),
// after every object reference it took has been released.
int ImportCart(const Partners& partners, const std::wstring& cart_path);
// The program, with the command line's arguments (an empty one counts as none): none imports the
// Documents folder's cart (Main), one the cart at that path, taken from the current folder when
// it is relative. More than one, or another import holding the import lock, is told in a box, and
// nothing is read. Whatever is raised ends here, in the unexpected-error report. Returns the
// process exit code: ImportCart's, 0 for a missing cart, 1 after the report, after a refused
// start, and when the user stopped the run in the busy box (RunCancelled, which has said all
// there is to say).
int Run(const Partners& partners);
// Shows the unexpected-error report. When the application has gone away, the report says so, and
// whether anything may have been pasted: only when the paste call itself was under way.
void ReportUnexpectedError(Desk& desk, const Texts& texts, const UnexpectedError& failure);

// Whether the quoting application's running object can be obtained. Keeps no reference and
// never raises a runtime error.
bool IsHostRunning(Automation& automation);

}  // namespace modMain
