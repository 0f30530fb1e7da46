#pragma once
// The pieces of an end-to-end import under Wine, shared by the scenario tests, the Wine benchmark
// and the demo: the Documents folder that the registry names, the cart file in it, the stand-in
// quoting application, the importer run under the dialog robot, and what the robot's transcript
// and the stand-in's journal say afterwards.
//
// Every process these start is owned by an object here and killed, with what it started, when
// that object goes; every registry change is undone and every scratch folder removed the same way.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "testbed/common/win_handles.h"
#include "testbed/driver/harness.h"

namespace e2e {

using testbed::Utf8;
using testbed::driver::BinFolder;
using testbed::driver::ChildProcess;
using testbed::driver::ReadLines;
using testbed::driver::TextOf;

inline constexpr wchar_t kImporter[] = L"KestrovaCartImport.exe";
inline constexpr wchar_t kStandIn[] = L"BrevantoStandIn.exe";
inline constexpr wchar_t kRobot[] = L"DialogRobot.exe";
inline constexpr wchar_t kCartName[] = L"ShoppingCart.csv";

// --- The Documents folder ----------------------------------------------------------------------

// The current user's "Personal" shell folder entries, as they were when this was made; put back,
// or removed again where there was none, when this goes. Both keys that name the folder: "Shell
// Folders" (HKCU ... Explorer\Shell Folders), which the importer reads through the registry, and
// "User Shell Folders", from which the shell answers SHGetKnownFolderPath.
class PersonalFolder {
 public:
  PersonalFolder();
  ~PersonalFolder();
  PersonalFolder(const PersonalFolder&) = delete;
  PersonalFolder& operator=(const PersonalFolder&) = delete;

  // Whether the original entries could be read (or were found missing); nothing is changed otherwise.
  bool saved() const { return saved_; }
  // Both entries name `folder` (in UTF-16: the registry keeps any character).
  bool Set(const std::wstring& folder);
  // No "Shell Folders" entry at all; the shell's own stays as Set left it.
  bool Remove();

 private:
  struct Entry {
    const wchar_t* key;
    bool existed = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
  };
  bool saved_ = false;
  std::vector<Entry> entries_;
};

// The importer's key (HKCU\Software\Kestrova, its record of recent imports) copied aside and
// deleted while this lives, so that no earlier import asks; back when this goes, what the imports
// wrote removed. A key that cannot be copied is left as it is.
class KestrovaKeyAside {
 public:
  KestrovaKeyAside() : copied_(Copy(kKey, kAside)) { Clear(); }
  ~KestrovaKeyAside() {
    Clear();
    if (copied_ == ERROR_SUCCESS && Copy(kAside, kKey) == ERROR_SUCCESS) RegDeleteTreeW(HKEY_CURRENT_USER, kAside);
  }
  void Clear() {  // removes what the imports wrote since
    if (copied_ == ERROR_SUCCESS || copied_ == ERROR_FILE_NOT_FOUND) RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  }

 private:
  // HKCU\from copied into HKCU\to, created when missing: the result of the first step that fails.
  static LSTATUS Copy(const wchar_t* from, const wchar_t* to) {
    testbed::UniqueHkey source, target;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, from, 0, KEY_READ, source.put());
    if (status == ERROR_SUCCESS)
      status = RegCreateKeyExW(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, target.put(), nullptr);
    return status == ERROR_SUCCESS ? RegCopyTreeW(source.get(), nullptr, target.get()) : status;
  }
  static constexpr wchar_t kKey[] = L"Software\\Kestrova";
  static constexpr wchar_t kAside[] = L"Software\\Kestrova (aside)";
  LSTATUS copied_;
};

// A new empty folder under the temporary folder; removed with the files in it when this goes.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::wstring_view tag);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& path() const { return path_; }
  bool ok() const { return ok_; }

 private:
  std::wstring path_;
  bool ok_ = false;
};

// --- Files ------------------------------------------------------------------------------------

bool WriteBytes(const std::wstring& path, std::string_view bytes);

// What a reader can tell about a file without changing it: its bytes and its last-write time.
struct FileState {
  std::string bytes;
  std::uint64_t last_write = 0;
  bool operator==(const FileState&) const = default;
};
std::optional<FileState> ReadFileState(const std::wstring& path);

// --- The stand-in -----------------------------------------------------------------------------

class StandIn {
 public:
  StandIn() = default;
  ~StandIn() { Stop(); }
  StandIn(const StandIn&) = delete;
  StandIn& operator=(const StandIn&) = delete;

  // Starts it with `options` and an --exit-after backstop, and waits for its window, which it
  // shows only once clients can attach. False when it did not come up (it is killed then).
  bool Start(const std::vector<std::wstring>& options, double backstop_seconds = 300);
  // Closes it as a user would (WM_CLOSE to its window) and waits for it to end; killed when it
  // does not. Its exit code, or nothing when it had to be killed or never ran.
  std::optional<DWORD> Stop();
  // Waits up to `milliseconds` for it to end by itself (its window closed by the user, or the
  // backstop); nothing while it still runs.
  std::optional<DWORD> WaitForEnd(DWORD milliseconds) { return process_.Wait(milliseconds); }
  bool running() const { return process_.running(); }

 private:
  ChildProcess process_;
  HWND window_ = nullptr;
};

// --- The robot's transcript ---------------------------------------------------------------------

struct Box {
  std::string title;
  std::string text;  // UTF-8, line breaks as shown
  std::string icon;  // "information", "exclamation", "critical", "question" or "none"
  std::vector<std::string> buttons{"OK"};
  bool operator==(const Box&) const = default;
};
void PrintTo(const Box& box, std::ostream* out);

struct Transcript {
  std::vector<Box> boxes;
  std::optional<std::int64_t> exit_code;  // the program's, when it ran to its end
  std::vector<std::string> other;         // any line that is neither (a timeout, say)
  // When the robot saw each box, in ms on the progress file's clock (robot run with --progress).
  std::vector<std::optional<std::int64_t>> box_times_ms = {};
};
Transcript ReadTranscript(const std::wstring& path);

// --- The robot's progress file (--progress) -----------------------------------------------------

// One line of the progress file: a sample of the progress window, its disappearance, or the
// robot's press of its Cancel.
struct ProgressSample {
  std::int64_t time_ms = -1;  // ms since the robot started the program
  bool visible = false;       // a sample of the window; false: it had gone (or the line is a press)
  std::string pressed;        // "Cancel" when the robot pressed it here, else ""
  std::string title, line1, line2;
  std::int64_t bar = 0, bar_max = 0;
  std::optional<std::int64_t> item;  // K when line2 reads "Item K of M"
  std::string line;                  // the line as written
  bool readable = false;             // a JSON object with its time
};
std::vector<ProgressSample> ReadProgress(const std::wstring& path);

// `command` under the dialog robot, which writes `transcript`, with the robot's own
// `robot_options` (--watch leaves each box for the user to close; --press CAPTION). The robot, and
// the program it starts, start in `folder` (this process's current folder when it is empty). Start
// returns at once, so that several can run together; Wait collects the robot.
class RobotRun {
 public:
  bool Start(const std::wstring& transcript, const std::vector<std::wstring>& command, double timeout_seconds,
             const std::vector<std::wstring>& robot_options = {}, const std::wstring& folder = {});
  // The robot's own exit code, or nothing when it had to be killed (together with the program)
  // after the timeout and a grace period.
  std::optional<DWORD> Wait();

 private:
  ChildProcess robot_;
  double timeout_seconds_ = 0;
};

// Start and Wait of one RobotRun, in this process's current folder.
std::optional<DWORD> RunUnderRobot(const std::wstring& transcript, const std::vector<std::wstring>& command,
                                   double timeout_seconds, const std::vector<std::wstring>& robot_options = {});

// --- The stand-in's journal ---------------------------------------------------------------------

struct JournalEntry {
  std::string event;   // "connect" / "disconnect" / "rejected" for events, else ""
  std::string object;  // "Application", "DocFunctions", "ItemFunctions"
  std::string call;    // "GetIDsOfNames" / "Invoke" for calls and refused calls, else ""
  std::string member;
  std::string kind;  // "get" / "method" / "put" for an Invoke
  std::string line;  // the line as written
  bool readable = false;
  // A call that reached the object and ran (a refused one never did).
  bool ran() const { return event.empty() && !call.empty(); }
};
std::vector<JournalEntry> ReadJournal(const std::wstring& path);

// Cross-process round trips as the journal shows them, refused calls left out. A connect comes with the reply that
// hands out a client's first reference and costs no call of its own; a disconnect is the release of the last one, which
// is a call of its own.
struct RoundTrips {
  std::int64_t item_reads = 0;   // reads of the application's ItemFunctions property
  std::int64_t other_reads = 0;  // every other property read (DocFunctions)
  std::int64_t methods = 0;      // Invokes of methods
  std::int64_t lookups = 0;      // GetIDsOfNames
  std::int64_t connects = 0;     // connection events
  std::int64_t disconnects = 0;
  std::int64_t total() const { return item_reads + other_reads + methods + lookups + disconnects; }
  RoundTrips operator-(const RoundTrips& other) const;
};
RoundTrips CountRoundTrips(const std::vector<JournalEntry>& journal);

// What is wrong with the connection events: per object they must alternate connect, disconnect,
// beginning with a connect and ending with a disconnect, so that no client connection is left
// when the journal ends. "" when nothing is.
std::string ConnectionProblems(const std::vector<JournalEntry>& journal);

}  // namespace e2e
