// The IEEE 754 total order as integer keys: -NaN < -inf < ... < -0 < +0 <
// ... < +inf < +NaN. Sorting by these keys is the "total order" sort that
// several algorithms fix, with -0 strictly before +0.
#pragma once

#include <bit>
#include <cstdint>

namespace fq {

constexpr std::int32_t total_order_key(float v) {
  auto k = std::bit_cast<std::int32_t>(v);
  return k ^ static_cast<std::int32_t>(static_cast<std::uint32_t>(k >> 31) >> 1);
}

constexpr std::int64_t total_order_key(double v) {
  auto k = std::bit_cast<std::int64_t>(v);
  return k ^ static_cast<std::int64_t>(static_cast<std::uint64_t>(k >> 63) >> 1);
}

template <class F>
constexpr bool total_less(F a, F b) {
  return total_order_key(a) < total_order_key(b);
}

}  // namespace fq
