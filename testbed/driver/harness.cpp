#include "testbed/driver/harness.h"

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <nlohmann/json.hpp>

#include "testbed/common/command_line.h"

namespace testbed::driver {

std::wstring BinFolder() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

std::wstring UniqueTempPath(std::wstring_view prefix, std::wstring_view tag) {
  static std::atomic<int> counter{0};
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + std::wstring(prefix) + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
         std::to_wstring(++counter) + L"_" + std::wstring(tag);
}

TempFile::TempFile(std::wstring_view tag) : path_(UniqueTempPath(L"kci_testbed", tag)) { DeleteFileW(path_.c_str()); }

std::optional<std::vector<std::string>> ReadLines(const std::wstring& path) {
  const common::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(content.substr(start, end - start));
  }
  if (start < content.size()) lines.push_back(content.substr(start));  // an unfinished last line
  return lines;
}

nlohmann::json ParseLine(std::string_view line) {
  return nlohmann::json::parse(line, /*cb=*/nullptr, /*allow_exceptions=*/false);
}

std::string TextOf(const nlohmann::json& value, const char* key) {
  if (!value.is_object()) return {};
  const auto member = value.find(key);
  return member != value.end() && member->is_string() ? member->get<std::string>() : std::string();
}

bool ChildProcess::Start(const std::wstring& program, const std::vector<std::wstring>& arguments,
                         const std::wstring& folder) {
  Kill();
  const bool full_path = program.find_first_of(L"\\/:") != std::wstring::npos;
  std::vector<std::wstring> all{full_path ? program : BinFolder() + L"\\" + program};
  all.insert(all.end(), arguments.begin(), arguments.end());

  // Without a job the program alone is killed; its own children would then be left running.
  job_.reset(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job_ && !SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
    job_.reset();
  }
  PROCESS_INFORMATION started{};
  // Suspended until it is in the job, so that nothing it starts can escape the job.
  if (!StartProcess(JoinCommandLine(all), CREATE_SUSPENDED, folder.empty() ? nullptr : folder.c_str(), started)) {
    job_.reset();
    return false;
  }
  const common::UniqueHandle thread(started.hThread);
  process_.reset(started.hProcess);
  id_ = started.dwProcessId;
  if (job_ && !AssignProcessToJobObject(job_.get(), process_.get())) job_.reset();
  ResumeThread(thread.get());
  return true;
}

std::optional<DWORD> ChildProcess::Wait(DWORD milliseconds) {
  if (!process_ || WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

bool ChildProcess::running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

void ChildProcess::Kill() {
  // The job also holds what the program started, which may outlive the program itself.
  if (job_) TerminateJobObject(job_.get(), 255);
  if (running()) TerminateProcess(process_.get(), 255);
  if (process_) WaitForSingleObject(process_.get(), 5000);
  job_.reset();
}

HWND WaitForWindow(DWORD process_id, const wchar_t* class_name, DWORD milliseconds) {
  struct Search {
    DWORD process_id;
    const wchar_t* class_name;
    HWND found;
  };
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  do {
    Search search{process_id, class_name, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) {
          auto* s = reinterpret_cast<Search*>(context);
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          wchar_t name[128] = {};
          GetClassNameW(window, name, 128);
          if (owner == s->process_id && lstrcmpW(name, s->class_name) == 0) {
            s->found = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(20);
  } while (GetTickCount64() < deadline);
  return nullptr;
}

bool AnyProcessNamed(const wchar_t* exe_name) {
  const common::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, exe_name) == 0) return true;
  }
  return false;
}

Reply CallId(IDispatch* object, DISPID id, WORD flags, const std::vector<_variant_t>& arguments) {
  // DISPPARAMS holds the arguments last to first; shallow copies, owned by `arguments`.
  std::vector<VARIANT> reversed;
  for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) reversed.push_back(*it);
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  Reply reply;
  EXCEPINFO exception{};
  reply.result =
      object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                     (flags & DISPATCH_PROPERTYGET) ? &reply.value : nullptr, &exception, &reply.argument_error);
  if (reply.result == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
    _bstr_t source(exception.bstrSource, false);  // take ownership of both strings
    _bstr_t description(exception.bstrDescription, false);
    reply.error_code = exception.wCode != 0 ? exception.wCode : exception.scode;
    reply.description = description.length() ? static_cast<const wchar_t*>(description) : L"";
  }
  return reply;
}

Reply Call(IDispatch* object, const wchar_t* member, WORD flags, const std::vector<_variant_t>& arguments) {
  DISPID id = DISPID_UNKNOWN;
  auto* name = const_cast<LPOLESTR>(member);  // GetIDsOfNames does not write the names
  HRESULT found = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(found)) {
    Reply reply;
    reply.result = found;
    return reply;
  }
  return CallId(object, id, flags, arguments);
}

IDispatchPtr ReadObject(IDispatch* object, const wchar_t* property) {
  Reply reply = Call(object, property, DISPATCH_PROPERTYGET);
  if (FAILED(reply.result) || V_VT(&reply.value) != VT_DISPATCH) return IDispatchPtr();
  return IDispatchPtr(V_DISPATCH(&reply.value));
}

_variant_t TextRef(BSTR* target) {
  VARIANT reference;
  VariantInit(&reference);
  V_VT(&reference) = VT_BSTR | VT_BYREF;
  V_BSTRREF(&reference) = target;
  return _variant_t(reference);  // copies the reference, not the text
}

}  // namespace testbed::driver
