// Border grids: the map from a float32 value to its uint8 bin.
//
// Bin 0 is reserved for missing values (NaN). Any other value goes to
// 1 + the number of borders strictly below it, so a value equal to a border
// falls in the lower bin and infinities are ordinary values. A grid with k
// borders has k + 2 bins. `build_grid` chooses the borders of a numeric
// column: exact midpoints when the column has few distinct values, else a
// weighted-quantile sketch refined so that heavy clumps of one value do not
// waste bins.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/error.h"

namespace fq::data {

using FeatureId = std::uint32_t;
using TsEncodingId = std::uint8_t;

struct AxisKind {
  enum class Tag : std::uint8_t { Numeric = 0, CategoricalTS = 1, Missing = 2 };
  Tag tag = Tag::Numeric;
  TsEncodingId encoding = 0;  // meaningful for CategoricalTS only

  static constexpr AxisKind numeric() { return {Tag::Numeric, 0}; }
  static constexpr AxisKind categorical_ts(TsEncodingId e) { return {Tag::CategoricalTS, e}; }
  static constexpr AxisKind missing() { return {Tag::Missing, 0}; }
  constexpr bool operator==(const AxisKind& o) const {
    return tag == o.tag && (tag != Tag::CategoricalTS || encoding == o.encoding);
  }
};

// Ties a model axis to the raw feature it reads.
struct AxisProvenance {
  FeatureId raw = 0;
  AxisKind kind;
  constexpr bool operator==(const AxisProvenance&) const = default;
};

struct BorderGrid {
  std::vector<float> borders;  // finite, strictly ascending
  std::uint16_t n_bins = 2;    // borders + 2 (or 1 with no borders)
  std::uint8_t missing_bin = 0;
  bool operator==(const BorderGrid&) const = default;
};

enum class BorderFamily : std::uint8_t { EqualCount = 0, HessianWeighted = 1 };

struct BinConfig {
  std::uint32_t subsample_for_binning = 200000;
  std::uint32_t min_rows_per_bin = 0;  // 0: gap filling; K > 0: prune bins under K rows
  std::uint8_t max_bin = 254;
  BorderFamily border_family = BorderFamily::EqualCount;

  Status validate() const;
  bool operator==(const BinConfig&) const = default;
};

struct ValueWeight {
  float value;
  double weight;
};

// `weights`, when given, must have one entry per value. `feature` only
// perturbs the subsampling seed.
Result<BorderGrid> build_grid(std::span<const float> values, std::optional<std::span<const float>> weights,
                              const BinConfig& config, std::uint64_t seed, std::uint32_t feature);

// Weighted quantile borders of `pairs` (sorted by value), at most
// max_bin - 1 of them, sorted and without duplicates.
Result<std::vector<float>> quantile_borders(std::span<const ValueWeight> pairs, std::uint8_t max_bin);

// The number of borders strictly below `v` (a NaN counts as below none; the
// caller maps it to the missing bin).
inline std::size_t borders_below(std::span<const float> borders, float v) {
  // Branch-free lower bound: the loop length depends on the border count
  // only, so the search costs the same for every row.
  const float* base = borders.data();
  std::size_t len = borders.size();
  while (len > 1) {
    const std::size_t half = len / 2;
    base = (base[half] < v) ? base + half : base;
    len -= half;
  }
  return static_cast<std::size_t>(base - borders.data()) + ((len == 1 && *base < v) ? 1 : 0);
}

Result<std::uint8_t> bin(float v, const BorderGrid& grid);

}  // namespace fq::data
