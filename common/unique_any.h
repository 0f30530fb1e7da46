#pragma once
// The one owner of operating-system resources, in the shape of WIL's unique_any: the handle's
// type, the function that closes it and the value that means "none" are template arguments.
// Move-only; closes what it holds exactly once, in its destructor or on reset.
//
// The close function takes the handle alone, `Close(T)`, or, when closing has to go back to where
// the handle came from (the registry backend that opened a key, the platform that handed out an
// object id), that origin first: `Close(Origin, T)`. The owner then keeps the origin beside the
// handle and is built from both. The invalid value is an integer, converted to T: WIL does the
// same, since INVALID_HANDLE_VALUE is no constant expression.
//
//   using UniqueFile = common::UniqueAny<HANDLE, &::CloseHandle, -1>;
//   using KeyHandle = common::UniqueAny<RegKey, &CloseKey>;  // void CloseKey(RegistryApi*, RegKey)
#include <cstdint>
#include <type_traits>
#include <utility>

namespace common {
namespace unique_any_detail {

template <typename Close>
struct OriginOf {
  using type = void;
};
template <typename R, typename Origin, typename T>
struct OriginOf<R (*)(Origin, T)> {
  using type = Origin;
};
template <typename R, typename Origin, typename T>
struct OriginOf<R (*)(Origin, T) noexcept> {
  using type = Origin;
};

struct NoOrigin {};

}  // namespace unique_any_detail

template <typename T, auto Close, std::intptr_t Invalid = 0>
class UniqueAny {
 public:
  using Origin = typename unique_any_detail::OriginOf<decltype(Close)>::type;
  static constexpr bool kHasOrigin = !std::is_void_v<Origin>;
  using OriginSlot = std::conditional_t<kHasOrigin, Origin, unique_any_detail::NoOrigin>;

  static T InvalidValue() noexcept {
    if constexpr (std::is_pointer_v<T>) {
      return reinterpret_cast<T>(Invalid);  // a handle value, not an address
    } else {
      return static_cast<T>(Invalid);
    }
  }

  UniqueAny() = default;
  explicit UniqueAny(T value) noexcept requires(!kHasOrigin) : value_(value) {}
  UniqueAny(OriginSlot origin, T value) noexcept requires(kHasOrigin) : origin_(origin), value_(value) {}
  ~UniqueAny() { reset(); }

  UniqueAny(UniqueAny&& other) noexcept : origin_(other.origin_), value_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) {
      reset();
      origin_ = other.origin_;
      value_ = other.release();
    }
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;

  T get() const noexcept { return value_; }
  OriginSlot origin() const noexcept { return origin_; }
  explicit operator bool() const noexcept { return value_ != InvalidValue(); }

  // Closes what is held and takes `value` (of the same origin) instead.
  void reset(T value = InvalidValue()) noexcept {
    if (*this) {
      if constexpr (kHasOrigin) {
        Close(origin_, value_);
      } else {
        Close(value_);
      }
    }
    value_ = value;
  }
  // Gives up ownership without closing: the caller closes, for example to report a failing close.
  [[nodiscard]] T release() noexcept { return std::exchange(value_, InvalidValue()); }
  // For out-parameters: closes what is held and hands out the slot.
  T* put() noexcept {
    reset();
    return &value_;
  }

 private:
  [[no_unique_address]] OriginSlot origin_{};
  T value_ = InvalidValue();
};

}  // namespace common
