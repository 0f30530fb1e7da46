#pragma once
// Helpers shared by the testbed's tests: the programs beside the test executable, scratch files,
// child processes that never outlive their test, and late-bound calls as a client makes them.
#include <windows.h>

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/com_windows.h"
#include "common/owners_windows.h"
#include "testbed/common/utf8.h"

namespace testbed::driver {

// The folder of the running test program (the build's bin folder, where the testbed programs are).
std::wstring BinFolder();

// A path in the temp folder unique to this process and call: PREFIX_pid_n_TAG. Nothing is created.
std::wstring UniqueTempPath(std::wstring_view prefix, std::wstring_view tag);

// A scratch file name unique to this process and call; the file is removed when this goes.
class TempFile {
 public:
  explicit TempFile(std::wstring_view tag);
  ~TempFile() { DeleteFileW(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

// The file's lines (UTF-8, without their line feeds); nothing when the file cannot be read.
std::optional<std::vector<std::string>> ReadLines(const std::wstring& path);

// One line of a testbed file (journal, items, transcript) as JSON; a discarded value (is_discarded())
// when the line is not JSON.
nlohmann::json ParseLine(std::string_view line);
// The text of member `key` when `value` is an object with a string member of that name, else "".
std::string TextOf(const nlohmann::json& value, const char* key);

// A program from the bin folder, started by the test. It runs in a job of its own, so that the
// programs it starts belong to the job too: when this goes, whatever of the job still runs is
// killed, the program and its children alike (a killed robot must not leave its program behind).
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // `program` is a file name in the bin folder, or a full path. It starts in `folder`, or in this
  // process's current folder when that is empty.
  bool Start(const std::wstring& program, const std::vector<std::wstring>& arguments, const std::wstring& folder = {});
  // The exit code once the program has ended within `milliseconds`.
  std::optional<DWORD> Wait(DWORD milliseconds);
  // Kills the program if it still runs, and every process of its job.
  void Kill();
  bool running() const;
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_.get(); }

 private:
  common::UniqueHandle job_;  // closed after the process handle; closing it kills what is left of the job
  common::UniqueHandle process_;
  DWORD id_ = 0;
};

// The top-level window of class `class_name` that process `process_id` owns, once it shows up
// within `milliseconds`.
HWND WaitForWindow(DWORD process_id, const wchar_t* class_name, DWORD milliseconds);

// Whether a process runs the program named `exe_name` (compared without regard to case).
bool AnyProcessNamed(const wchar_t* exe_name);

// What a late-bound call returned.
struct Reply {
  HRESULT result = E_FAIL;
  _variant_t value;
  HRESULT error_code = S_OK;  // from EXCEPINFO (scode, or wCode when set) for DISP_E_EXCEPTION
  std::wstring description;
  UINT argument_error = ~0u;
};

// Looks `member` up by name and invokes it with `arguments` in the caller's order. The result is
// asked for only with DISPATCH_PROPERTYGET among the flags, as clients do for reads.
Reply Call(IDispatch* object, const wchar_t* member, WORD flags, const std::vector<_variant_t>& arguments = {});
// The same with a DISPID the caller already has.
Reply CallId(IDispatch* object, DISPID id, WORD flags, const std::vector<_variant_t>& arguments = {});

// A property read that hands out an object.
IDispatchPtr ReadObject(IDispatch* object, const wchar_t* property);

// A by-reference text argument (VT_BSTR|VT_BYREF) pointing at `target`, which must outlive it.
_variant_t TextRef(BSTR* target);

}  // namespace testbed::driver
