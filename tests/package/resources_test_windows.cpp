// The resources of KestrovaCartImport.exe, read back the way Windows reads them: the manifest's
// settings through an activation context, the version strings through the version API, the icon
// and the Explorer verb's texts through the resource loader.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/unique_any.h"
#include "import/languages.h"

namespace {

using UniqueActCtx = common::UniqueAny<HANDLE, &::ReleaseActCtx, -1>;
using UniqueModule = common::UniqueAny<HMODULE, &::FreeLibrary>;
using UniqueIcon = common::UniqueAny<HICON, &::DestroyIcon>;
using UniqueBitmap = common::UniqueAny<HBITMAP, &::DeleteObject>;

// The product is built into the folder of the test programs.
std::wstring ProductPath() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"KestrovaCartImport.exe";
}

// The product's resources, without running any of its code.
UniqueModule LoadProductResources() {
  return UniqueModule(
      LoadLibraryExW(ProductPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

// The settings Windows (and Wine) look up at process start. dpiAware in the 2016 namespace is
// there to show that a setting in the wrong namespace is not found.
TEST(ProductResources, ManifestSettingsAsTheLoaderReadsThem) {
  const std::wstring path = ProductPath();
  ACTCTXW request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  const UniqueActCtx context(CreateActCtxW(&request));
  ASSERT_TRUE(context) << "no manifest in " << std::string(path.begin(), path.end()) << ", error " << GetLastError();

  constexpr const wchar_t* k2005 = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
  constexpr const wchar_t* k2016 = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
  struct Row {
    const wchar_t* space;
    const wchar_t* name;
    const wchar_t* value;  // nullptr: not set
  };
  const Row rows[] = {
      {k2005, L"dpiAware", L"true/pm"},
      {k2016, L"dpiAwareness", L"PerMonitorV2, PerMonitor"},
      {k2016, L"dpiAware", nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.name, row.name + wcslen(row.name)));
    wchar_t value[64] = {};
    SIZE_T written = 0;
    const BOOL found = QueryActCtxSettingsW(0, context.get(), row.space, row.name, value, 64, &written);
    if (row.value != nullptr) {
      ASSERT_TRUE(found) << "error " << GetLastError();
      EXPECT_STREQ(value, row.value);
    } else {
      EXPECT_FALSE(found);
    }
  }
}

// Cart and registry text go through the system's ANSI code page, so the manifest must not choose
// another one. Wine 8 does not know this setting, hence the manifest's text is searched for it.
TEST(ProductResources, ManifestSetsNoActiveCodePage) {
  const UniqueModule module = LoadProductResources();
  ASSERT_TRUE(module);
  const HRSRC manifest = FindResourceW(module.get(), MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  const std::string text(static_cast<const char*>(LockResource(LoadResource(module.get(), manifest))),
                         SizeofResource(module.get(), manifest));
  EXPECT_NE(text.find("<dpiAwareness"), std::string::npos);
  EXPECT_EQ(text.find("<activeCodePage"), std::string::npos);
}

TEST(ProductResources, VersionStrings) {
  const std::wstring path = ProductPath();
  std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), nullptr));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  const struct {
    const wchar_t* name;
    const wchar_t* value;
  } rows[] = {{L"CompanyName", KCI_PUBLISHER}, {L"LegalCopyright", KCI_COPYRIGHT}, {L"FileVersion", KCI_VERSION}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.name, row.name + wcslen(row.name)));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), (std::wstring(L"\\StringFileInfo\\040904B0\\") + row.name).c_str(), &value,
                               &length));
    EXPECT_STREQ(static_cast<const wchar_t*>(value), row.value);
  }
}

// Every size the shell asks for is there, and each image (the 256 px one is a PNG) loads as an
// icon of that size.
TEST(ProductResources, IconAtEverySize) {
  const UniqueModule module = LoadProductResources();
  ASSERT_TRUE(module);
  const HRSRC group = FindResourceW(module.get(), MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module.get(), group)));
  ASSERT_NE(directory, nullptr);
  // GRPICONDIR: reserved, type, count, then 14-byte entries whose first byte is the width (0 = 256).
  const WORD count = *reinterpret_cast<const WORD*>(directory + 4);
  std::vector<int> widths;
  for (WORD i = 0; i < count; ++i) widths.push_back(directory[6 + 14 * i] == 0 ? 256 : directory[6 + 14 * i]);
  EXPECT_EQ(widths, (std::vector<int>{16, 24, 32, 48, 256}));

  for (const int size : widths) {
    SCOPED_TRACE(size);
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    const HRSRC image = FindResourceW(module.get(), MAKEINTRESOURCEW(id), RT_ICON);
    ASSERT_NE(image, nullptr);
    const UniqueIcon icon(CreateIconFromResourceEx(static_cast<BYTE*>(LockResource(LoadResource(module.get(), image))),
                                                   SizeofResource(module.get(), image), TRUE, 0x00030000, size, size,
                                                   LR_DEFAULTCOLOR));
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    const UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);  // GetIconInfo made copies for the caller
    BITMAP bitmap{};
    GetObjectW(colour.get(), sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
  }
}

// The verb's string table holds one block per language of languages.h, tagged with that language
// (none neutral), each with the language's text.
TEST(ProductResources, ExplorerVerbInEveryLanguage) {
  const UniqueModule module = LoadProductResources();
  ASSERT_TRUE(module);
  const struct {
    LANGID language;
    const wchar_t* verb;
  } rows[] = {
#define KCI_VERB_ROW(name, code, primary, sublanguage, plural, verb) {MAKELANGID(primary, sublanguage), L"" verb},
      KCI_LANGUAGES(KCI_VERB_ROW)
#undef KCI_VERB_ROW
  };
  // A string table block holds 16 strings, each its length and its characters (no terminator).
  const wchar_t* const block = MAKEINTRESOURCEW(KCI_VERB_STRING_ID / 16 + 1);
  std::set<LANGID> tagged;
  EnumResourceLanguagesW(
      module.get(), RT_STRING, block,
      [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) -> BOOL {
        reinterpret_cast<std::set<LANGID>*>(found)->insert(language);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&tagged));
  std::set<LANGID> listed;
  for (const auto& row : rows) listed.insert(row.language);
  EXPECT_EQ(tagged, listed);
  EXPECT_EQ(listed.count(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), 1u);

  for (const auto& row : rows) {
    SCOPED_TRACE(row.language);
    const HRSRC found = FindResourceExW(module.get(), RT_STRING, block, row.language);
    ASSERT_NE(found, nullptr);
    const auto* entry = static_cast<const WCHAR*>(LockResource(LoadResource(module.get(), found)));
    ASSERT_NE(entry, nullptr);
    for (int skip = KCI_VERB_STRING_ID % 16; skip > 0; --skip) entry += 1 + *entry;
    EXPECT_EQ(std::wstring(entry + 1, *entry), row.verb);
  }
}

}  // namespace
