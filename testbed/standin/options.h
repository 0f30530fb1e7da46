#pragma once
// The stand-in's command line.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin {

struct FailurePoint {
  std::wstring member;  // compared without regard to case, as member names are
  std::int64_t call;    // the K-th call of the member, from 1
};

// --busy SECONDS[@K]: from the K-th incoming call on, every incoming call is refused for SECONDS.
struct BusySpell {
  double seconds;
  std::int64_t from_call;  // from 1
};

struct Options {
  enum class Mode { kRun, kRegister, kUnregister };
  Mode mode = Mode::kRun;
  // What GetActiveDocumentIndex answers; -1 means that no document is open.
  std::int32_t document_index = 0;
  std::vector<FailurePoint> failures;
  std::wstring journal_path;  // empty: no journal
  std::wstring items_path;    // empty: no items file
  std::wstring buffer_path;   // empty: no buffer file
  std::optional<double> exit_after_seconds;
  std::optional<BusySpell> busy;
  std::optional<std::int64_t> quit_at;  // --quit-at K: end when the K-th incoming call arrives
  std::int64_t delay_ms = 0;            // --delay MS: how long each call that reaches an object waits
};

struct ParsedOptions {
  Options options;
  std::wstring error;  // empty when the command line was understood
};

// Reads the arguments that follow the program name. Every mistake (an unknown option, a missing
// or malformed value) is reported in `error`, naming the argument.
ParsedOptions ParseOptions(const std::vector<std::wstring>& arguments);

inline constexpr wchar_t kUsage[] =
    L"usage: BrevantoStandIn [--register | --unregister] [--no-document] [--document-index N] "
    L"[--fail MEMBER:K]... [--journal FILE] [--items FILE] [--buffer FILE] [--exit-after SECONDS] "
    L"[--busy SECONDS[@K]] [--quit-at K] [--delay MS]";

}  // namespace standin
