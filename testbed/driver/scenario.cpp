#include "testbed/driver/scenario.h"

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <system_error>

#include "common/owners_windows.h"
#include "import/documents_folder.h"
#include "testbed/common/item_line.h"
#include "testbed/common/win_handles.h"
#include "testbed/standin/identity.h"

namespace e2e {
namespace {

using modMain::kShellFoldersKey;
constexpr wchar_t kUserShellFoldersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const wchar_t* kPersonal = modMain::kDocumentsValue;

testbed::UniqueHkey OpenKey(const wchar_t* path, REGSAM access) {
  testbed::UniqueHkey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, key.put()) != ERROR_SUCCESS) key.reset();
  return key;
}

bool SetText(const wchar_t* path, DWORD type, const std::wstring& text) {
  const testbed::UniqueHkey key = OpenKey(path, KEY_SET_VALUE);
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return key && RegSetValueExW(key.get(), kPersonal, 0, type, reinterpret_cast<const BYTE*>(text.c_str()), bytes) ==
                    ERROR_SUCCESS;
}

// The whole number in member `key`, when `value` has one.
std::optional<std::int64_t> NumberOf(const nlohmann::json& value, const char* key) {
  const auto member = value.find(key);
  if (member == value.end() || !member->is_number_integer()) return std::nullopt;
  return member->get<std::int64_t>();
}

}  // namespace

// --- PersonalFolder -----------------------------------------------------------------------------

PersonalFolder::PersonalFolder()
    : entries_{Entry{kShellFoldersKey, false, REG_NONE, {}}, Entry{kUserShellFoldersKey, false, REG_NONE, {}}} {
  for (Entry& entry : entries_) {
    const testbed::UniqueHkey key = OpenKey(entry.key, KEY_READ);
    if (!key) return;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key.get(), kPersonal, nullptr, &entry.type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) continue;  // nothing to put back but the absence
    if (status != ERROR_SUCCESS) return;
    entry.data.resize(size);
    status = RegQueryValueExW(key.get(), kPersonal, nullptr, &entry.type, entry.data.data(), &size);
    if (status != ERROR_SUCCESS) return;
    entry.data.resize(size);
    entry.existed = true;
  }
  saved_ = true;
}

PersonalFolder::~PersonalFolder() {
  if (!saved_) return;
  for (const Entry& entry : entries_) {
    const testbed::UniqueHkey key = OpenKey(entry.key, KEY_SET_VALUE);
    if (!key) continue;
    if (entry.existed) {
      RegSetValueExW(key.get(), kPersonal, 0, entry.type, entry.data.data(), static_cast<DWORD>(entry.data.size()));
    } else {
      RegDeleteValueW(key.get(), kPersonal);
    }
  }
}

bool PersonalFolder::Set(const std::wstring& folder) {
  return saved_ && SetText(kShellFoldersKey, REG_SZ, folder) && SetText(kUserShellFoldersKey, REG_EXPAND_SZ, folder);
}

bool PersonalFolder::Remove() {
  if (!saved_) return false;
  const testbed::UniqueHkey key = OpenKey(kShellFoldersKey, KEY_SET_VALUE);
  if (!key) return false;
  const LSTATUS status = RegDeleteValueW(key.get(), kPersonal);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// --- ScratchFolder ------------------------------------------------------------------------------

ScratchFolder::ScratchFolder(std::wstring_view tag) : path_(testbed::driver::UniqueTempPath(L"kci_e2e", tag)) {
  ok_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;  // a destructor does not throw; what cannot go stays in the temp folder
  if (ok_) std::filesystem::remove_all(path_, ignored);
}

// --- Files --------------------------------------------------------------------------------------

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
  common::UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::optional<FileState> ReadFileState(const std::wstring& path) {
  common::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  FileState state;
  FILETIME written{};
  if (!GetFileTime(file.get(), nullptr, nullptr, &written)) return std::nullopt;
  state.last_write = (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) state.bytes.append(buffer, read);
  return state;
}

// --- StandIn ------------------------------------------------------------------------------------

bool StandIn::Start(const std::vector<std::wstring>& options, double backstop_seconds) {
  std::vector<std::wstring> arguments{L"--exit-after", std::to_wstring(backstop_seconds)};
  arguments.insert(arguments.end(), options.begin(), options.end());
  if (!process_.Start(kStandIn, arguments)) return false;
  window_ = testbed::driver::WaitForWindow(process_.id(), standin::kWindowClass, 30000);
  if (window_ == nullptr) {
    process_.Kill();
    return false;
  }
  return true;
}

std::optional<DWORD> StandIn::Stop() {
  if (!process_.running()) return process_.Wait(0);
  PostMessageW(window_, WM_CLOSE, 0, 0);
  std::optional<DWORD> code = process_.Wait(15000);
  if (!code) process_.Kill();
  return code;
}

// --- Transcript ---------------------------------------------------------------------------------

void PrintTo(const Box& box, std::ostream* out) {
  *out << "{" << box.icon << " \"" << box.title << "\": \"" << box.text << "\"";
  for (const auto& button : box.buttons) *out << " [" << button << "]";
  *out << "}";
}

Transcript ReadTranscript(const std::wstring& path) {
  Transcript transcript;
  for (const std::string& line : ReadLines(path).value_or(std::vector<std::string>{})) {
    const nlohmann::json value = testbed::driver::ParseLine(line);
    const bool object = value.is_object();
    if (object && value.contains("title")) {
      Box box{TextOf(value, "title"), TextOf(value, "text"), TextOf(value, "icon"), {}};
      if (const auto buttons = value.find("buttons"); buttons != value.end() && buttons->is_array()) {
        for (const nlohmann::json& button : *buttons)
          box.buttons.push_back(button.is_string() ? button.get<std::string>() : "");
      }
      transcript.boxes.push_back(std::move(box));
      transcript.box_times_ms.push_back(NumberOf(value, "time_ms"));
    } else if (object && value.contains("exit_code") && value["exit_code"].is_number()) {
      transcript.exit_code = value["exit_code"].get<std::int64_t>();
    } else {
      transcript.other.push_back(line);
    }
  }
  return transcript;
}

std::vector<ProgressSample> ReadProgress(const std::wstring& path) {
  std::vector<ProgressSample> samples;
  for (std::string& line : ReadLines(path).value_or(std::vector<std::string>{})) {
    ProgressSample sample;
    if (const nlohmann::json value = testbed::driver::ParseLine(line); value.is_object()) {
      const std::optional<std::int64_t> time = NumberOf(value, "time_ms");
      sample.readable = time.has_value();
      sample.time_ms = time.value_or(-1);
      const auto visible = value.find("visible");
      sample.visible = visible != value.end() && visible->is_boolean() && visible->get<bool>();
      sample.pressed = TextOf(value, "pressed");
      sample.title = TextOf(value, "title");
      sample.line1 = TextOf(value, "line1");
      sample.line2 = TextOf(value, "line2");
      sample.bar = NumberOf(value, "bar").value_or(0);
      sample.bar_max = NumberOf(value, "bar_max").value_or(0);
      if (const auto count = testbed::ParseItemLine(testbed::FromUtf8(sample.line2))) sample.item = count->item;
    }
    sample.line = std::move(line);
    samples.push_back(std::move(sample));
  }
  return samples;
}

bool RobotRun::Start(const std::wstring& transcript, const std::vector<std::wstring>& command, double timeout_seconds,
                     const std::vector<std::wstring>& robot_options, const std::wstring& folder) {
  std::vector<std::wstring> arguments{L"--transcript", transcript, L"--timeout", std::to_wstring(timeout_seconds)};
  arguments.insert(arguments.end(), robot_options.begin(), robot_options.end());
  arguments.push_back(L"--");
  arguments.insert(arguments.end(), command.begin(), command.end());
  timeout_seconds_ = timeout_seconds;
  return robot_.Start(kRobot, arguments, folder);
}

std::optional<DWORD> RobotRun::Wait() {
  // The robot kills the program at its timeout; the grace period covers its own ending.
  std::optional<DWORD> code = robot_.Wait(static_cast<DWORD>(timeout_seconds_ * 1000) + 30000);
  robot_.Kill();  // the program too, should either of them still run
  return code;
}

std::optional<DWORD> RunUnderRobot(const std::wstring& transcript, const std::vector<std::wstring>& command,
                                   double timeout_seconds, const std::vector<std::wstring>& robot_options) {
  RobotRun robot;
  if (!robot.Start(transcript, command, timeout_seconds, robot_options)) return std::nullopt;
  return robot.Wait();
}

// --- Journal ------------------------------------------------------------------------------------

std::vector<JournalEntry> ReadJournal(const std::wstring& path) {
  std::vector<JournalEntry> journal;
  for (std::string& line : ReadLines(path).value_or(std::vector<std::string>{})) {
    JournalEntry entry;
    if (const nlohmann::json value = testbed::driver::ParseLine(line); value.is_object()) {
      entry.event = TextOf(value, "event");
      entry.object = TextOf(value, "object");
      entry.call = TextOf(value, "call");
      entry.member = TextOf(value, "member");
      entry.kind = TextOf(value, "kind");
      // An event names no call, a call no event; only a refused call is both.
      entry.readable = !entry.object.empty() && (entry.event.empty() != entry.call.empty() ||
                                                 (entry.event == "rejected" && !entry.call.empty()));
    }
    entry.line = std::move(line);
    journal.push_back(std::move(entry));
  }
  return journal;
}

RoundTrips RoundTrips::operator-(const RoundTrips& other) const {
  return RoundTrips{item_reads - other.item_reads, other_reads - other.other_reads, methods - other.methods,
                    lookups - other.lookups,       connects - other.connects,       disconnects - other.disconnects};
}

RoundTrips CountRoundTrips(const std::vector<JournalEntry>& journal) {
  RoundTrips counts;
  for (const JournalEntry& entry : journal) {
    if (entry.event == "connect") ++counts.connects;
    if (entry.event == "disconnect") ++counts.disconnects;
    if (!entry.ran()) continue;
    if (entry.call == "GetIDsOfNames") ++counts.lookups;
    if (entry.call != "Invoke") continue;
    if (entry.kind == "method") {
      ++counts.methods;
    } else if (entry.kind == "get") {
      ++(entry.member == "ItemFunctions" ? counts.item_reads : counts.other_reads);
    }
  }
  return counts;
}

std::string ConnectionProblems(const std::vector<JournalEntry>& journal) {
  std::map<std::string, int> connected;
  std::string problems;
  for (const JournalEntry& entry : journal) {
    if (entry.event != "connect" && entry.event != "disconnect") continue;
    int& count = connected[entry.object];
    count += entry.event == "connect" ? 1 : -1;
    if (count < 0 || count > 1) problems += entry.object + ": " + entry.event + " out of turn; ";
  }
  for (const auto& [object, count] : connected) {
    if (count != 0) problems += object + ": still connected when the journal ends; ";
  }
  return problems;
}

}  // namespace e2e
