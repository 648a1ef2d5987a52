// 32-bit integer arithmetic that wraps modulo 2^32, as the languages' integers do: computed on the
// unsigned bits, where overflow is defined.
#pragma once
#include <cstdint>

namespace orvelt {

constexpr int32_t WrappingAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

constexpr int32_t WrappingSubtract(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

constexpr int32_t WrappingMultiply(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

constexpr int32_t WrappingNegate(int32_t a) { return static_cast<int32_t>(0u - static_cast<uint32_t>(a)); }

}  // namespace orvelt
