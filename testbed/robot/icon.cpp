#include "testbed/robot/icon.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "testbed/common/win_handles.h"

namespace robot {
namespace {

// A 32-bit top-down DIB section selected into a memory DC for one drawing or capture.
class Canvas {
 public:
  Canvas(HDC compatible, int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(compatible)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_.reset(CreateDIBSection(compatible, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
  }
  bool ok() const { return dc_ && bitmap_ && bits_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  HGDIOBJ bitmap() const { return bitmap_.get(); }

  Image Read() const {
    GdiFlush();  // drawing into a DIB section may be batched
    Image image{width_, height_, {}};
    const auto* source = static_cast<const std::uint32_t*>(bits_);
    image.pixels.assign(source, source + static_cast<std::size_t>(width_) * height_);
    for (auto& pixel : image.pixels) pixel &= 0x00FFFFFFu;  // the fourth byte is not colour
    return image;
  }

 private:
  int width_;
  int height_;
  testbed::UniqueMemoryDc dc_;
  testbed::UniqueGdiObject bitmap_;
  void* bits_ = nullptr;  // owned by bitmap_
};

COLORREF ToColorRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

bool Close(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift <= 16; shift += 8) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 16) return false;
  }
  return true;
}

double Similarity(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 0;
  std::size_t same = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) same += Close(a.pixels[i], b.pixels[i]) ? 1 : 0;
  return static_cast<double>(same) / static_cast<double>(a.pixels.size());
}

}  // namespace

Image Image::Crop(const RECT& area) const {
  int left = std::clamp<int>(area.left, 0, width), right = std::clamp<int>(area.right, left, width);
  int top = std::clamp<int>(area.top, 0, height), bottom = std::clamp<int>(area.bottom, top, height);
  Image part{right - left, bottom - top, {}};
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) part.pixels.push_back(at(x, y));
  }
  return part;
}

std::string_view IconName(IconKind kind) {
  switch (kind) {
    case IconKind::kInformation:
      return "information";
    case IconKind::kExclamation:
      return "exclamation";
    case IconKind::kCritical:
      return "critical";
    case IconKind::kQuestion:
      return "question";
    case IconKind::kNone:
      break;
  }
  return "none";
}

std::optional<Image> CaptureScreen(const RECT& area) {
  int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return std::nullopt;
  const testbed::WindowDc screen = testbed::GetWindowDc(nullptr);
  if (screen.get() == nullptr) return std::nullopt;
  Canvas canvas(screen.get(), width, height);
  if (!canvas.ok()) return std::nullopt;
  const testbed::Selection selected = testbed::Select(canvas.dc(), canvas.bitmap());
  if (!BitBlt(canvas.dc(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY)) return std::nullopt;
  return canvas.Read();
}

Image RenderIcon(HICON icon, int width, int height, std::uint32_t background) {
  const testbed::WindowDc screen = testbed::GetWindowDc(nullptr);
  Canvas canvas(screen.get(), width, height);
  if (!canvas.ok()) return {};
  const testbed::Selection selected = testbed::Select(canvas.dc(), canvas.bitmap());
  testbed::UniqueGdiObject brush(CreateSolidBrush(ToColorRef(background)));
  RECT all{0, 0, width, height};
  FillRect(canvas.dc(), &all, static_cast<HBRUSH>(brush.get()));
  DrawIconEx(canvas.dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  return canvas.Read();
}

std::uint32_t BorderColour(const Image& image) {
  std::map<std::uint32_t, int> counts;
  for (int x = 0; x < image.width; ++x) {
    ++counts[image.at(x, 0)];
    ++counts[image.at(x, image.height - 1)];
  }
  for (int y = 0; y < image.height; ++y) {
    ++counts[image.at(0, y)];
    ++counts[image.at(image.width - 1, y)];
  }
  auto most =
      std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
  return most == counts.end() ? 0 : most->first;
}

IconKind RecogniseIcon(const Image& shown) {
  if (shown.width == 0 || shown.height == 0) return IconKind::kNone;
  // The shared system icons: LoadIcon hands out the same icon every time; it is not destroyed.
  static const std::pair<IconKind, LPCWSTR> kCandidates[] = {{IconKind::kInformation, IDI_ASTERISK},
                                                             {IconKind::kExclamation, IDI_EXCLAMATION},
                                                             {IconKind::kCritical, IDI_HAND},
                                                             {IconKind::kQuestion, IDI_QUESTION}};
  std::uint32_t background = BorderColour(shown);
  IconKind best = IconKind::kNone;
  double best_score = 0;
  for (auto [kind, id] : kCandidates) {
    HICON icon = LoadIconW(nullptr, id);
    if (icon == nullptr) continue;
    double score = Similarity(shown, RenderIcon(icon, shown.width, shown.height, background));
    if (score > best_score) {
      best = kind;
      best_score = score;
    }
  }
  // A few pixels may differ (blending, a cursor); a different icon or a bare background differs
  // in a large share of them.
  return best_score >= 0.97 ? best : IconKind::kNone;
}

}  // namespace robot
