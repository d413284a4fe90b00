#include "core/data/bin.h"

#include <cmath>
#include <limits>

#include "core/format.h"
#include "core/parallel.h"

namespace fq::data {
namespace {

constexpr std::size_t kMaxRows = std::numeric_limits<std::uint32_t>::max();

CoreError too_many_rows() { return CoreError::invalid_input("more than u32::MAX rows is out of scope for v1"); }

// A grid of at most 254 borders cannot produce a bin above 255, so the check
// is compiled out of the common loop.
template <bool kCheckRange>
Status bin_into(std::span<const float> values, std::span<const float> borders, std::uint8_t missing_bin,
                std::uint8_t* out) {
  for (std::size_t r = 0; r < values.size(); ++r) {
    const float v = values[r];
    const std::size_t below = borders_below(borders, v);
    if constexpr (kCheckRange) {
      if (!std::isnan(v) && below > 254) return fail(CoreError::internal("bin index exceeded u8 (borders.len() > 253?)"));
    }
    out[r] = std::isnan(v) ? missing_bin : static_cast<std::uint8_t>(1 + below);
  }
  return {};
}

}  // namespace

Result<std::vector<std::uint8_t>> bin_values(std::span<const float> values, const BorderGrid& grid) {
  std::vector<std::uint8_t> out(values.size());
  if (grid.borders.size() <= 254) {
    FQ_TRY(bin_into<false>(values, grid.borders, grid.missing_bin, out.data()));
  } else {
    FQ_TRY(bin_into<true>(values, grid.borders, grid.missing_bin, out.data()));
  }
  return out;
}

Result<BinnedMatrix> bin_columns(std::span<const std::span<const float>> columns,
                                 std::optional<std::span<const float>> weights, const BinConfig& config,
                                 std::uint64_t seed) {
  FQ_TRY(config.validate());
  const std::size_t n_rows = columns.empty() ? 0 : columns[0].size();
  for (const auto& c : columns) {
    if (c.size() != n_rows) return fail(CoreError::shape_mismatch("feature columns have unequal lengths"));
  }
  if (weights && weights->size() != n_rows) {
    return fail(CoreError::shape_mismatch(fmt::cat("weight len ", weights->size(), " != n_rows ", n_rows)));
  }
  if (n_rows > kMaxRows) return fail(too_many_rows());

  struct Axis {
    BorderGrid grid;
    std::vector<std::uint8_t> codes;
  };
  FQ_ASSIGN_OR_RETURN(auto axes, par::map<Axis>(columns.size(), [&](std::size_t j) -> Result<Axis> {
                        if (j > std::numeric_limits<std::uint32_t>::max()) {
                          return fail(CoreError::internal("feature index exceeded u32"));
                        }
                        FQ_ASSIGN_OR_RETURN(auto grid, build_grid(columns[j], weights, config, seed,
                                                                  static_cast<std::uint32_t>(j)));
                        FQ_ASSIGN_OR_RETURN(auto codes, bin_values(columns[j], grid));
                        return Axis{std::move(grid), std::move(codes)};
                      }));
  BinnedMatrix m;
  m.n_rows = static_cast<std::uint32_t>(n_rows);
  for (std::size_t j = 0; j < axes.size(); ++j) {
    m.data.push_back(std::move(axes[j].codes));
    m.grids.push_back(std::move(axes[j].grid));
    m.provenance.push_back({static_cast<FeatureId>(j), AxisKind::numeric()});
  }
  return m;
}

Status validate_binned_matrix(const BinnedMatrix& m) {
  if (m.grids.size() != m.data.size()) {
    return fail(CoreError::shape_mismatch(
        fmt::cat("BinnedMatrix grids len ", m.grids.size(), " != data len ", m.data.size())));
  }
  if (m.provenance.size() != m.data.size()) {
    return fail(CoreError::shape_mismatch(
        fmt::cat("BinnedMatrix provenance len ", m.provenance.size(), " != data len ", m.data.size())));
  }
  for (std::size_t j = 0; j < m.data.size(); ++j) {
    const auto& column = m.data[j];
    const auto& g = m.grids[j];
    if (column.size() != m.n_rows) {
      return fail(CoreError::shape_mismatch(
          fmt::cat("BinnedMatrix column ", j, " len ", column.size(), " != n_rows ", m.n_rows)));
    }
    if (g.missing_bin != 0) {
      return fail(CoreError::invalid_input(
          fmt::cat("BinnedMatrix grid ", j, " missing_bin must be 0, got ", g.missing_bin)));
    }
    if (g.n_bins < 1 || g.n_bins > 255) {
      return fail(CoreError::invalid_input(
          fmt::cat("BinnedMatrix grid ", j, " n_bins must be in 1..=255, got ", g.n_bins)));
    }
    if (g.n_bins == 1) {
      if (!g.borders.empty()) {
        return fail(CoreError::invalid_input(
            fmt::cat("BinnedMatrix grid ", j, " has n_bins=1 but ", g.borders.size(), " borders")));
      }
    } else {
      if (g.n_bins != g.borders.size() + 2) {
        return fail(CoreError::invalid_input(fmt::cat("BinnedMatrix grid ", j, " n_bins ", g.n_bins,
                                                      " != borders.len()+2 (", g.borders.size() + 2, ")")));
      }
      for (std::size_t k = 0; k < g.borders.size(); ++k) {
        if (!std::isfinite(g.borders[k])) {
          return fail(CoreError::invalid_input(fmt::cat("BinnedMatrix grid ", j, " border ", k, " must be finite")));
        }
      }
    }
    for (std::size_t k = 1; k < g.borders.size(); ++k) {
      if (!(g.borders[k - 1] < g.borders[k])) {
        return fail(CoreError::invalid_input(fmt::cat("BinnedMatrix grid ", j, " borders must be strictly ascending")));
      }
    }
    for (std::size_t r = 0; r < column.size(); ++r) {
      if (column[r] >= g.n_bins) {
        return fail(CoreError::invalid_input(fmt::cat("BinnedMatrix column ", j, " row ", r, " bin ", column[r],
                                                      " outside grid n_bins ", g.n_bins)));
      }
    }
  }
  return {};
}

Result<BinnedMatrix> bin_serve_columns(std::span<const NumericColumn> numeric,
                                       std::span<const CategoricalColumn> categorical,
                                       std::span<const BorderGrid> grids,
                                       std::span<const AxisProvenance> provenance,
                                       const cat::CatEncoderStore& encoders) {
  if (grids.size() != provenance.size()) {
    return fail(CoreError::shape_mismatch(
        fmt::cat("serve grids len ", grids.size(), " != provenance len ", provenance.size())));
  }
  std::size_t n_rows = 0;
  if (!numeric.empty()) {
    n_rows = numeric[0].values.size();
    for (const auto& c : numeric) {
      if (c.values.size() != n_rows) {
        return fail(CoreError::shape_mismatch("serve numeric columns have unequal lengths"));
      }
    }
  } else if (!categorical.empty()) {
    n_rows = categorical[0].levels.size();
  }
  for (const auto& c : categorical) {
    if (c.levels.size() != n_rows) {
      return fail(CoreError::shape_mismatch("serve categorical columns have unequal lengths"));
    }
  }

  BinnedMatrix m;
  for (std::size_t j = 0; j < provenance.size(); ++j) {
    const AxisProvenance& p = provenance[j];
    switch (p.kind.tag) {
      case AxisKind::Tag::Numeric: {
        const NumericColumn* found = nullptr;
        for (const auto& c : numeric) {
          if (c.raw != p.raw) continue;
          if (found != nullptr) {
            return fail(CoreError::shape_mismatch(fmt::cat("duplicate numeric raw column ", fmt::feature_id(p.raw))));
          }
          found = &c;
        }
        if (found == nullptr) {
          return fail(CoreError::shape_mismatch(fmt::cat("missing numeric raw column ", fmt::feature_id(p.raw))));
        }
        if (found->values.size() != n_rows) {
          return fail(CoreError::shape_mismatch(fmt::cat("numeric raw ", fmt::feature_id(p.raw), " len ",
                                                         found->values.size(), " != n_rows ", n_rows)));
        }
        FQ_ASSIGN_OR_RETURN(auto codes, bin_values(found->values, grids[j]));
        m.data.push_back(std::move(codes));
        break;
      }
      case AxisKind::Tag::CategoricalTS: {
        const TsEncodingId id = p.kind.encoding;
        const std::string pair = fmt::cat(fmt::feature_id(p.raw), "/", fmt::ts_encoding_id(id));
        const CategoricalColumn* found = nullptr;
        for (const auto& c : categorical) {
          if (c.raw != p.raw || c.encoding != id) continue;
          if (found != nullptr) {
            return fail(CoreError::shape_mismatch(fmt::cat("duplicate categorical raw/id column ", pair)));
          }
          found = &c;
        }
        if (found == nullptr) {
          return fail(CoreError::shape_mismatch(fmt::cat("missing categorical raw/id column ", pair)));
        }
        if (found->levels.size() != n_rows) {
          return fail(CoreError::shape_mismatch(
              fmt::cat("categorical raw ", pair, " len ", found->levels.size(), " != n_rows ", n_rows)));
        }
        if (encoders.find(p.raw, id) == nullptr) {
          return fail(CoreError::internal(fmt::cat("categorical encoder ", fmt::ts_encoding_id(id),
                                                   " for raw feature ", fmt::feature_id(p.raw), " not found")));
        }
        return fail(CoreError::internal("categorical serving is not built yet"));
      }
      case AxisKind::Tag::Missing:
        return fail(CoreError::invalid_input(
            fmt::cat("serve axis ", j, " is a standalone Missing axis; unsupported in v1")));
    }
  }
  if (n_rows > kMaxRows) return fail(too_many_rows());
  m.grids.assign(grids.begin(), grids.end());
  m.provenance.assign(provenance.begin(), provenance.end());
  m.n_rows = static_cast<std::uint32_t>(n_rows);
  return m;
}

}  // namespace fq::data
