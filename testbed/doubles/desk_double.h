#pragma once
// What the doubles of the user's desk share: an emulated registry that names the Documents folder,
// and a display language that a test may set.
#include <cstdint>
#include <string>

#include "common/runtime_error.h"
#include "import/desk.h"
#include "testbed/doubles/registry_emulation.h"

namespace modMain::testing {

// What the doubles raise for a file they do not hold.
inline constexpr common::ErrorCode kErrFileNotFound{53, L"File not found"};

class DeskDouble : public Desk {
 public:
  registry::RegistryEmulation registry;
  std::uint16_t display_language = 0x0409;  // en-US

  // Names `folder` as the current user's Documents folder, where GetMyDocumentsFolder reads it.
  // Throws std::runtime_error when the registry refuses.
  void SetDocumentsFolder(const std::wstring& folder);
  registry::RegistryApi& Registry() override { return registry; }
  std::uint16_t UserDisplayLanguage() override { return display_language; }
  // No import has to be asked about on a fresh registry: Yes, at noon, when one is.
  Choice AskYesOrNo(const std::wstring&, MessageIcon, const std::wstring&) override { return Choice::kYes; }
  std::wstring LocalTimeOfDay(std::int64_t) override { return L"12:00"; }
};

}  // namespace modMain::testing
