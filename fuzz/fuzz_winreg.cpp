// Drives every winreg method over a registry whose answers are hostile. Runtime errors (overflow,
// type mismatch, a name listed twice) are allowed outcomes; anything else that escapes, any read or
// write outside a buffer, and any handle left open or closed twice is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "common/ansi.h"
#include "common/runtime_error.h"
#include "fuzz/hostile_registry.h"
#include "registry/registry_access.h"

namespace {

using common::Variant;
using registry::winreg;

std::wstring Text(FuzzedDataProvider& input) { return common::AnsiToText(input.ConsumeRandomLengthString(300)); }

std::int32_t Root(FuzzedDataProvider& input) {
  static constexpr std::int32_t kRoots[] = {0,
                                            static_cast<std::int32_t>(0x80000000u),
                                            static_cast<std::int32_t>(0x80000001u),
                                            static_cast<std::int32_t>(0x80000002u),
                                            static_cast<std::int32_t>(0x80000007u),
                                            0x123};
  return input.PickValueInArray(kRoots);
}

Variant Value(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange<int>(0, 6)) {
    case 0:
      return Variant();
    case 1:
      return Variant(Text(input));
    case 2:
      return Variant(input.ConsumeIntegral<std::int32_t>());
    case 3:
      return Variant(input.ConsumeFloatingPoint<double>());
    case 4:
      return Variant(input.ConsumeBool());
    case 5: {
      const auto lower = input.ConsumeIntegralInRange<std::int32_t>(-3, 3);
      return Variant(common::ByteArray{lower, input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 64))});
    }
    default:
      return Variant::Omitted();
  }
}

std::int32_t DType(FuzzedDataProvider& input) {
  static constexpr std::int32_t kTypes[] = {1, 2, 3, 4, 5, 7, 0, -1, 11};
  return input.PickValueInArray(kTypes);
}

void Call(winreg& reg, FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange<int>(0, 11)) {
    case 0:
      reg.KeyExists();
      break;
    case 1:
      reg.CreateKey();
      break;
    case 2: {
      Variant name = Value(input);
      reg.CreateKey(name);
      break;
    }
    case 3:
      reg.DeleteKey(Text(input));
      break;
    case 4:
      reg.DeleteValue(Text(input));
      break;
    case 5:
      reg.EnumRegistryKeys(Root(input), Text(input));
      break;
    case 6:
      reg.EnumRegistryValues(Root(input), Text(input));
      break;
    case 7:
      reg.GetRegistryValue(Text(input), Value(input));
      break;
    case 8:
      reg.SetRegistryValue(Text(input), Value(input), DType(input));
      break;
    case 9: {
      const std::wstring computer = Text(input);
      const std::int32_t root = Root(input);
      const std::wstring name = Text(input);
      if (input.ConsumeBool()) {
        reg.ReadRemoteRegistryValue(computer, root, name, Text(input));
      } else {
        reg.ReadRemoteRegistryValue(computer, root, name);
      }
      break;
    }
    case 10: {
      const std::wstring computer = Text(input);
      const std::int32_t root = Root(input);
      const std::wstring name = Text(input);
      const Variant value = Value(input);
      reg.WriteRemoteRegistryValue(computer, root, name, value, DType(input));
      break;
    }
    default: {
      std::wstring item = Text(input);
      if (input.ConsumeBool()) item += std::wstring(input.ConsumeIntegralInRange(0, 40000), L'a') + L'\0';
      reg.TrimNull(item);
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  registry::fuzzing::HostileRegistry hostile(input);
  winreg reg(hostile);
  reg.hkey(Root(input));
  reg.KeyRoot(Text(input));
  reg.Subkey(Text(input));
  for (int calls = 0; calls < 8 && input.remaining_bytes() > 0; ++calls) {
    try {
      Call(reg, input);
    } catch (const common::RuntimeError&) {
      // Overflow, type mismatch and the collection's refusal are the class's own errors.
    }
    if (hostile.OpenHandles() != 0 || hostile.BadCloses() != 0) std::abort();
  }
  return 0;
}
