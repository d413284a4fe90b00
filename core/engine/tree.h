// Oblivious (symmetric) trees of depth 1 to 3.
//
// Every level splits all nodes on the same axis and threshold, so a tree is
// its splits plus 8 leaf values (only the first 2^depth are reachable; the
// rest are stored, finite, and 0 in grown trees). Leaf address of a row: bit
// i is 1 when the row's bin b on split i's axis is not missing and b <=
// bin_le, or missing (b == 0) and missing_left is set; leaf = sum bit_i 2^i,
// level 0 the least significant bit.
//
//   depth 3, row low at level 0, high at level 1, low at level 2:
//   bits (1, 0, 1) -> leaf 1 + 0 + 4 = 5
//
// A tree never reads one raw feature twice, not even through two axes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/data/grid.h"
#include "core/error.h"

namespace fq::engine {

struct Split {
  std::uint32_t axis = 0;
  std::uint8_t bin_le = 0;
  bool missing_left = false;

  // The level's bit for a row whose bin on `axis` is b.
  constexpr bool goes_low(std::uint8_t b) const { return b == 0 ? missing_left : b <= bin_le; }
  bool operator==(const Split&) const = default;
};

struct ObliviousTree {
  std::vector<Split> splits;     // level 0 first, 1 to 3 entries
  std::array<float, 8> leaves{};
  std::uint8_t depth = 0;        // == splits.size()

  // Checks depth 1..3, split axes present in `provenance` and distinct raw
  // features.
  static Result<ObliviousTree> try_new(std::vector<Split> splits, const std::array<float, 8>& leaves,
                                       std::span<const data::AxisProvenance> provenance);

  // The leaf index of one row given as one bin code per model axis.
  Result<std::uint8_t> leaf_index(std::span<const std::uint8_t> row) const;
  // The leaf value of one row given as one bin code per model axis.
  Result<float> lookup(std::span<const std::uint8_t> row) const;

  bool operator==(const ObliviousTree&) const = default;
};

}  // namespace fq::engine
