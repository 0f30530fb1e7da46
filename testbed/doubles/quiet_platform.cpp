#include "testbed/doubles/quiet_platform.h"

#include <utility>

namespace modMain::testing {
namespace {
constexpr wchar_t kCartPath[] = L"C:\\Docs\\ShoppingCart.csv";
}  // namespace

QuietPlatform::QuietPlatform(std::string cart_bytes) : cart_(std::move(cart_bytes)) {
  SetDocumentsFolder(L"C:\\Docs\\");
}

ObjectId QuietPlatform::GetActiveObject(const std::wstring&) { return NewObject({}); }

ObjectId QuietPlatform::GetObjectProperty(ObjectId, const std::wstring&) {
  ++calls;
  return NewObject({});
}

void QuietPlatform::CallMethod(ObjectId, const std::wstring& method, std::span<Argument>) {
  ++calls;
  if (method == L"SLIBufferCopyToMLIBuffer") ++copies;
  if (method == L"MLIBufferAppendPaste") ++pastes;
}

common::Variant QuietPlatform::CallForValue(ObjectId, const std::wstring&, std::span<Argument>) {
  ++calls;
  return common::Variant(0);  // a document is open
}

void QuietPlatform::ReleaseObject(ObjectId object) noexcept { TakeBack(object); }

void QuietPlatform::ShowMessage(const std::wstring& text, MessageIcon, const std::wstring&) {
  ++boxes;
  if (text.starts_with(L"It appears that line ")) ++line_boxes;
  last_message = text;
}

Choice QuietPlatform::AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) {
  ShowMessage(text, icon, title);
  return Choice::kCancel;
}

std::int64_t QuietPlatform::FileLength(const std::wstring& path) {
  if (path != kCartPath) throw common::RuntimeError(common::kErrFileNotFound);
  return static_cast<std::int64_t>(cart_.size());
}

FileContent QuietPlatform::ReadAllShared(const std::wstring&) { return FileContent{std::nullopt, cart_}; }

}  // namespace modMain::testing
