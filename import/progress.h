#pragma once
// The progress of a long import: the window that shows it (the shell's progress dialog in the
// product, progress_windows.h) and when it shows what.
//
// An import that is still sending its lines 2 seconds after its first call to Brevanto shows the
// window, at the first check after that moment: the checks come between Brevanto calls and
// between the busy retries, so a single slow call may delay it. A short import never flashes a
// window. The window says which line is being sent ("Item 37 of 180"; "Item 1 of 180" while the
// first call is still under way) with a bar over the same count, then "Pasting 180 items into
// Brevanto" with the bar full, and closes before any box; a Cancel chosen in it holds. The
// count is told to the window at most every 200 ms: each update makes it draw itself again, and a
// draw for every line of a fast import would cost the import time of its own.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "import/clock.h"
#include "import/texts.h"

namespace modMain {

inline constexpr std::int64_t kProgressDelayMs = 2000;
inline constexpr std::int64_t kProgressUpdateMs = 200;

// A window with a title, two lines of text, a bar and a Cancel button, owned by no window. None of
// its operations fails: a window that cannot be shown is not shown, and is never cancelled.
class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  // Shows the window; it is not shown when this is called.
  virtual void Show(const std::wstring& title, const std::wstring& first_line) = 0;
  // The second line, and the bar at `done` of `total`.
  virtual void Update(const std::wstring& second_line, std::uint64_t done, std::uint64_t total) = 0;
  // Whether the user has chosen Cancel since the window was shown.
  virtual bool Cancelled() = 0;
  // Closes the window; it is shown when this is called.
  virtual void Close() noexcept = 0;
};

// When the window shows and what it says. Reads the clock only while an import waits for its
// window to appear, and at each item while it shows.
class Progress {
 public:
  // All must outlive this object.
  Progress(ProgressWindow& window, Clock& clock, const Texts& texts) : window_(window), clock_(clock), texts_(texts) {}
  ~Progress() { End(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // The import starts sending its `count` lines: its first call to Brevanto is being made. With
  // no line to send, no window shows.
  void Begin(std::size_t count);
  // Line `item` (from 1) is being sent.
  void Item(std::size_t item);
  // The paste call begins.
  void Pasting();
  // A check between two calls: shows the window when the import began 2 s ago or longer.
  void Check();
  // Whether the user chose Cancel in the window; only an import whose window was shown can say so.
  bool Cancelled();
  // Before a box: the window closes, to come back with Resume.
  void Hide();
  // After the user chose to go on in a box: a window that Hide closed comes back at once, unless
  // the user had chosen Cancel in it.
  void Resume();
  // The import ends: the window closes, and stays closed.
  void End() noexcept;

 private:
  enum class State { kIdle, kWaiting, kShown, kHidden };
  void Show();
  // The window's second line and bar as they stand, told to a shown window (the text is made only
  // then: most imports never show one).
  void Tell();

  ProgressWindow& window_;
  Clock& clock_;
  const Texts& texts_;
  State state_ = State::kIdle;
  std::int64_t began_ms_ = 0;
  std::int64_t told_ms_ = 0;  // when the window was last told the count
  std::uint64_t total_ = 0;
  std::uint64_t item_ = 0;  // the line being sent, from 1; 0 before the first
  bool pasting_ = false;
  bool cancelled_ = false;
};

}  // namespace modMain
