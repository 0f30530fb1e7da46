#pragma once
// The progress window's second line while the import counts its items: "Item K of M", or the same
// in any language of the program's catalogue. The robot presses Cancel by it, and the scenarios
// read the count back from the robot's progress file.
#include <optional>
#include <string_view>

namespace testbed {

struct ItemCount {
  long long item;   // K
  long long count;  // M
};

// K and M when `line` reads exactly "Item K of M" (or "Artikel K von M"...), both written in
// decimal digits alone; nothing otherwise (the paste's "Pasting M items into Brevanto", an empty
// line, "Item 3 of").
std::optional<ItemCount> ParseItemLine(std::wstring_view line);

}  // namespace testbed
