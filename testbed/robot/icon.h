#pragma once
// Recognising a message box's icon from what the screen shows. Icon handles belong to the process
// that loaded them (so in Wine a handle means nothing in another process), and the box tells
// nobody which icon it got. What it shows is the one honest source: the robot draws each system
// icon itself, on the background the box shows, and compares pixels.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace robot {

// Pixels in rows from the top, each 0x00RRGGBB.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  Image Crop(const RECT& area) const;  // `area` is clipped to the image
  bool operator==(const Image&) const = default;
};

enum class IconKind { kNone, kInformation, kExclamation, kCritical, kQuestion };
std::string_view IconName(IconKind kind);

// What the screen shows in `area` (screen coordinates). Nothing when the area is empty or the
// screen cannot be read.
std::optional<Image> CaptureScreen(const RECT& area);

// `icon` drawn at (0, 0), stretched to width x height, over a plain `background`, as a static
// control with SS_ICON draws it.
Image RenderIcon(HICON icon, int width, int height, std::uint32_t background);

// The most frequent colour on the image's border: an icon control's background.
std::uint32_t BorderColour(const Image& image);

// The system icon that `shown` shows, or kNone when it matches none of them well (a box without
// icon shows only its background).
IconKind RecogniseIcon(const Image& shown);

}  // namespace robot
