// The binned matrix the learner works on: one uint8 column of bin codes per
// model axis, with each axis's grid and provenance.
//
// Axis order is fixed when the matrix is built: numeric columns first in the
// order the caller lists them, then categorical columns. A model records its
// grids and provenance in that order and serving rebuilds the same order from
// the model, whatever order the caller passes the columns in.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/cat/encoder.h"
#include "core/data/grid.h"
#include "core/error.h"

namespace fq::data {

struct BinnedMatrix {
  std::vector<std::vector<std::uint8_t>> data;  // data[j][row]: the bin of axis j
  std::vector<BorderGrid> grids;
  std::vector<AxisProvenance> provenance;
  std::uint32_t n_rows = 0;
};

// A numeric column handed to the serving binner, named by its raw feature.
struct NumericColumn {
  std::span<const float> values;
  FeatureId raw = 0;
};

struct CategoricalColumn {
  std::span<const std::string> levels;
  FeatureId raw = 0;
  TsEncodingId encoding = 0;
};

// Bins a column under one grid: NaN to bin 0, otherwise 1 + the number of
// borders below the value.
Result<std::vector<std::uint8_t>> bin_values(std::span<const float> values, const BorderGrid& grid);

// Builds a grid per column (in parallel) and bins it; axis j is column j with
// provenance (FeatureId j, Numeric).
Result<BinnedMatrix> bin_columns(std::span<const std::span<const float>> columns,
                                 std::optional<std::span<const float>> weights, const BinConfig& config,
                                 std::uint64_t seed);

// Checks the invariants the driver relies on before every fit.
Status validate_binned_matrix(const BinnedMatrix& m);

// Bins new data with a model's grids, provenance and encoders; the result is
// laid out exactly like the model's axes. Columns no axis refers to are
// ignored.
Result<BinnedMatrix> bin_serve_columns(std::span<const NumericColumn> numeric,
                                       std::span<const CategoricalColumn> categorical,
                                       std::span<const BorderGrid> grids,
                                       std::span<const AxisProvenance> provenance,
                                       const cat::CatEncoderStore& encoders);

}  // namespace fq::data
