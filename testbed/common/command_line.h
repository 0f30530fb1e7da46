#pragma once
// The command line of the testbed programs: reading this process's arguments, and writing a
// command line for a program the testbed starts.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testbed {

// This process's arguments as the C runtime would split them, the program name first.
std::vector<std::wstring> ProcessArguments();

// One argument quoted so that the C runtime and CommandLineToArgvW read it back unchanged:
// quoted when it is empty or holds white space or quotes; backslashes doubled only where they
// come before a quote.
std::wstring QuoteArgument(std::wstring_view argument);
// The arguments quoted and joined with single spaces.
std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments);

// CreateProcessW for a program the testbed starts; false with the last error set when it cannot
// be started. Under Wine a new process now and then dies while Wine sets it up, before any code of
// the program runs, and CreateProcessW then fails with ERROR_INTERNAL_ERROR: such a start is tried
// again, three times in all, and each retry is reported on standard error. Any other failure is
// final at once.
bool StartProcess(const std::wstring& command_line, DWORD flags, const wchar_t* folder, PROCESS_INFORMATION& started);

// A whole decimal number (optional sign) that fills the text; nothing on anything else or on a
// value outside `long long`.
std::optional<long long> ParseInteger(std::wstring_view text);
// A decimal number such as 2.5 that fills the text.
std::optional<double> ParseDecimal(std::wstring_view text);

// Writes a diagnostic line to the standard error handle that the starting process gave us, if
// any (the testbed programs are GUI programs, usually started by scripts that capture it).
void ReportError(std::wstring_view message);

}  // namespace testbed
