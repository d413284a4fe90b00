// Seeded draws.
//
// Every random choice of a fit is a pure function of the seed, an iteration
// or bag index and an item index, hashed through the SplitMix64 output
// function `mix` with a fixed salt per kind of draw, so that draws never
// depend on order of evaluation or thread count. The one stateful generator,
// PCG XSL RR 128/64, serves the without-replacement subsampling draws.
#pragma once

#include <cstdint>

namespace fq::rng {

// Multiplies the iteration or bag index.
inline constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;
// Multiplies the item index.
inline constexpr std::uint64_t kStride = 0x94D049BB133111EBULL;
inline constexpr std::uint64_t kSaltRowSample = 0x7EB08EDA39C9CB72ULL;  // also the bag draws
inline constexpr std::uint64_t kSaltAxisSample = 0xFAC23B68E7272DC8ULL;
inline constexpr std::uint64_t kSaltValidation = 0xBA1A82D6040C1381ULL;
inline constexpr std::uint64_t kSaltDart = 0x3B69F3FBCA42480FULL;

// The SplitMix64 output function.
constexpr std::uint64_t mix(std::uint64_t z) {
  z ^= z >> 30;
  z *= 0xBF58476D1CE4E5B9ULL;
  z ^= z >> 27;
  z *= 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return z;
}

// A mixed value as a float64 in (0, 1]; never 0, so its logarithm is finite.
constexpr double unit(std::uint64_t z) {
  return static_cast<double>((z >> 11) + 1) * 0x1.0p-53;
}

__extension__ typedef unsigned __int128 u128;

// PCG XSL RR 128/64, seeded from one uint64 by the PCG32 expansion.
class Pcg64 {
 public:
  static constexpr u128 kMultiplier =
      (static_cast<u128>(0x2360ED051FC65DA4ULL) << 64) | static_cast<u128>(0x4385DF649FCCF645ULL);

  explicit constexpr Pcg64(std::uint64_t seed) {
    // Eight 32-bit words from PCG32 steps (advance, then output); stored
    // little-endian, the first four form the state, the last four the
    // increment.
    std::uint64_t s = seed;
    std::uint32_t words[8] = {};
    for (auto& w : words) {
      s = s * 0x5851F42D4C957F2DULL + 0xA17654E46FBE17F3ULL;
      const auto x = static_cast<std::uint32_t>(((s >> 18) ^ s) >> 27);
      const auto rot = static_cast<unsigned>(s >> 59);
      w = (x >> rot) | (x << ((32u - rot) & 31u));
    }
    auto from_words = [&](int first) {
      u128 v = 0;
      for (int k = 3; k >= 0; --k) v = (v << 32) | words[first + k];
      return v;
    };
    state_ = from_words(0);
    increment_ = from_words(4) | 1;
    state_ = (state_ + increment_) * kMultiplier + increment_;
  }

  constexpr std::uint64_t next() {
    state_ = state_ * kMultiplier + increment_;
    const auto hi = static_cast<std::uint64_t>(state_ >> 64);
    const auto lo = static_cast<std::uint64_t>(state_);
    const auto x = hi ^ lo;
    const auto rot = static_cast<unsigned>(hi >> 58);
    return (x >> rot) | (x << ((64u - rot) & 63u));
  }

 private:
  u128 state_ = 0;
  u128 increment_ = 0;
};

}  // namespace fq::rng
