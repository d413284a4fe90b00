#include "core/data/bin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "core/data/exposure.h"
#include "core/parallel.h"

namespace fq::data {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(BinColumns, RejectsBadShapesInOrder) {
  const std::vector<float> a{1, 2, 3}, b{1, 2, 3, 4}, w2{1, 1};
  const std::vector<std::span<const float>> unequal{a, b}, equal{a, a};
  BinConfig bad;
  bad.max_bin = 255;
  EXPECT_EQ(bin_columns(unequal, std::nullopt, bad, 0).error().render(),
            "invalid config: max_bin must be <= 254, got 255");
  EXPECT_EQ(bin_columns(unequal, std::nullopt, BinConfig{}, 0).error().render(),
            "shape mismatch: feature columns have unequal lengths");
  EXPECT_EQ(bin_columns(equal, std::span<const float>(w2), BinConfig{}, 0).error().render(),
            "shape mismatch: weight len 2 != n_rows 3");
}

TEST(BinColumns, NoColumnsGiveAnEmptyMatrix) {
  auto m = bin_columns({}, std::nullopt, BinConfig{}, 0);
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->n_rows, 0u);
  EXPECT_TRUE(m->data.empty());
  EXPECT_TRUE(validate_binned_matrix(*m).has_value());
}

TEST(BinColumns, AxisJIsColumnJAndIdenticalForAnyThreadCount) {
  std::mt19937 gen(9);
  std::normal_distribution<float> dist;
  std::vector<std::vector<float>> cols(5, std::vector<float>(30000));
  for (auto& c : cols) {
    for (auto& v : c) v = dist(gen);
    c[17] = kNaN;
  }
  std::vector<std::span<const float>> spans(cols.begin(), cols.end());
  BinConfig cfg;
  cfg.max_bin = 64;
  cfg.subsample_for_binning = 5000;
  std::optional<BinnedMatrix> reference;
  for (int t : {1, 2, 7}) {
    par::ThreadsForCall guard(t);
    auto m = bin_columns(spans, std::nullopt, cfg, 42);
    ASSERT_TRUE(m.has_value());
    ASSERT_TRUE(validate_binned_matrix(*m).has_value());
    if (!reference) {
      reference = std::move(*m);
      continue;
    }
    EXPECT_EQ(m->data, reference->data);
    EXPECT_EQ(m->grids, reference->grids);
  }
  ASSERT_EQ(reference->n_rows, 30000u);
  for (std::size_t j = 0; j < cols.size(); ++j) {
    EXPECT_EQ(reference->provenance[j], (AxisProvenance{static_cast<FeatureId>(j), AxisKind::numeric()}));
    // Each axis is the column binned under its own grid, seeded by position.
    auto grid = build_grid(cols[j], std::nullopt, cfg, 42, static_cast<std::uint32_t>(j)).value();
    EXPECT_EQ(reference->grids[j], grid);
    EXPECT_EQ(reference->data[j], bin_values(cols[j], grid).value());
    EXPECT_EQ(reference->data[j][17], 0);
  }
}

// A small valid matrix, then one broken invariant per case, each reported
// with its own text; cases that break two invariants show the order.
TEST(ValidateBinnedMatrix, ReportsEachInvariantInOrder) {
  auto valid = [] {
    BinnedMatrix m;
    m.n_rows = 3;
    m.data = {{0, 1, 2}, {0, 0, 0}};
    m.grids = {BorderGrid{{0.5f}, 3, 0}, BorderGrid{{}, 1, 0}};
    m.provenance = {{0, AxisKind::numeric()}, {1, AxisKind::numeric()}};
    return m;
  };
  ASSERT_TRUE(validate_binned_matrix(valid()).has_value());
  struct Case {
    std::function<void(BinnedMatrix&)> breaks;
    const char* message;
  };
  const Case cases[] = {
      {[](auto& m) { m.grids.pop_back(); m.provenance.pop_back(); },
       "shape mismatch: BinnedMatrix grids len 1 != data len 2"},
      {[](auto& m) { m.provenance.pop_back(); }, "shape mismatch: BinnedMatrix provenance len 1 != data len 2"},
      {[](auto& m) { m.data[1].push_back(0); m.grids[1].missing_bin = 1; },
       "shape mismatch: BinnedMatrix column 1 len 4 != n_rows 3"},
      {[](auto& m) { m.grids[0].missing_bin = 2; }, "invalid input: BinnedMatrix grid 0 missing_bin must be 0, got 2"},
      {[](auto& m) { m.grids[1].n_bins = 0; }, "invalid input: BinnedMatrix grid 1 n_bins must be in 1..=255, got 0"},
      {[](auto& m) { m.grids[1].n_bins = 256; }, "invalid input: BinnedMatrix grid 1 n_bins must be in 1..=255, got 256"},
      {[](auto& m) { m.grids[1].borders = {1.0f}; }, "invalid input: BinnedMatrix grid 1 has n_bins=1 but 1 borders"},
      {[](auto& m) { m.grids[0].n_bins = 4; }, "invalid input: BinnedMatrix grid 0 n_bins 4 != borders.len()+2 (3)"},
      {[](auto& m) { m.grids[0].borders = {0.5f, kInf}; m.grids[0].n_bins = 4; },
       "invalid input: BinnedMatrix grid 0 border 1 must be finite"},
      {[](auto& m) { m.grids[0].borders = {kNaN, 0.5f}; m.grids[0].n_bins = 4; },
       "invalid input: BinnedMatrix grid 0 border 0 must be finite"},
      {[](auto& m) { m.grids[0].borders = {0.5f, 0.5f}; m.grids[0].n_bins = 4; },
       "invalid input: BinnedMatrix grid 0 borders must be strictly ascending"},
      {[](auto& m) { m.data[0] = {0, 3, 5}; }, "invalid input: BinnedMatrix column 0 row 1 bin 3 outside grid n_bins 3"},
      {[](auto& m) { m.data[1][2] = 1; }, "invalid input: BinnedMatrix column 1 row 2 bin 1 outside grid n_bins 1"},
  };
  for (const auto& c : cases) {
    BinnedMatrix m = valid();
    c.breaks(m);
    auto s = validate_binned_matrix(m);
    ASSERT_FALSE(s.has_value()) << c.message;
    EXPECT_EQ(s.error().render(), c.message);
  }
}

class ServeColumns : public ::testing::Test {
 protected:
  // A model with axes on raw features 3 and 1, in that order.
  std::vector<BorderGrid> grids{BorderGrid{{1.5f, 2.5f}, 4, 0}, BorderGrid{{0.0f}, 3, 0}};
  std::vector<AxisProvenance> provenance{{3, AxisKind::numeric()}, {1, AxisKind::numeric()}};
  cat::CatEncoderStore encoders;
  std::vector<float> f1{-1, 1, kNaN}, f3{1, 2.5f, 9}, f7{0, 0, 0}, short_col{1, 2};

  Result<BinnedMatrix> serve(std::vector<NumericColumn> numeric, std::vector<CategoricalColumn> categorical = {}) {
    return bin_serve_columns(numeric, categorical, grids, provenance, encoders);
  }
};

TEST_F(ServeColumns, LaysOutTheModelsAxesAndIgnoresExtraColumns) {
  auto m = serve({{f1, 1}, {f7, 7}, {f3, 3}});
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->n_rows, 3u);
  EXPECT_EQ(m->data[0], (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(m->data[1], (std::vector<std::uint8_t>{1, 2, 0}));
  EXPECT_EQ(m->grids, grids);
  EXPECT_EQ(m->provenance, provenance);
  EXPECT_TRUE(validate_binned_matrix(*m).has_value());
}

TEST_F(ServeColumns, ReportsMissingDuplicateAndMisshapenColumns) {
  const std::vector<std::string> levels{"a", "b", "c"}, two_levels{"a", "b"};
  struct Case {
    std::vector<NumericColumn> numeric;
    std::vector<CategoricalColumn> categorical;
    const char* message;
  };
  const Case cases[] = {
      {{{f1, 1}}, {}, "shape mismatch: missing numeric raw column FeatureId(3)"},
      {{{f3, 3}, {f1, 1}, {f1, 3}}, {}, "shape mismatch: duplicate numeric raw column FeatureId(3)"},
      {{{f3, 3}, {short_col, 1}}, {}, "shape mismatch: serve numeric columns have unequal lengths"},
      {{{f3, 3}, {f1, 1}}, {{two_levels, 0, 0}}, "shape mismatch: serve categorical columns have unequal lengths"},
  };
  for (const auto& c : cases) {
    auto m = serve(c.numeric, c.categorical);
    ASSERT_FALSE(m.has_value()) << c.message;
    EXPECT_EQ(m.error().render(), c.message);
  }
  EXPECT_EQ(bin_serve_columns({}, {}, grids, std::span(provenance).first(1), encoders).error().render(),
            "shape mismatch: serve grids len 2 != provenance len 1");
}

TEST_F(ServeColumns, CategoricalAndMissingAxes) {
  const std::vector<std::string> levels{"a", "b", "c"};
  provenance[1] = {5, AxisKind::categorical_ts(2)};
  EXPECT_EQ(serve({{f3, 3}}).error().render(), "shape mismatch: missing categorical raw/id column FeatureId(5)/TsEncodingId(2)");
  EXPECT_EQ(serve({{f3, 3}}, {{levels, 5, 2}, {levels, 5, 2}}).error().render(),
            "shape mismatch: duplicate categorical raw/id column FeatureId(5)/TsEncodingId(2)");
  auto no_encoder = serve({{f3, 3}}, {{levels, 5, 1}, {levels, 5, 2}});
  EXPECT_EQ(no_encoder.error().kind(), CoreError::Kind::Internal);
  EXPECT_EQ(no_encoder.error().message(), "categorical encoder TsEncodingId(2) for raw feature FeatureId(5) not found");
  provenance[1] = {5, AxisKind::missing()};
  EXPECT_EQ(serve({{f3, 3}}).error().render(),
            "invalid input: serve axis 1 is a standalone Missing axis; unsupported in v1");
}

TEST(ComputeOffset, LogOfPositiveFiniteExposure) {
  const std::vector<float> exposure{1.0f, 0.5f, 2.01f, 0.0027f};
  auto off = compute_offset(exposure, exposure.size());
  ASSERT_TRUE(off.has_value());
  EXPECT_EQ((*off)[0], 0.0f);
  for (std::size_t i = 0; i < exposure.size(); ++i) EXPECT_EQ((*off)[i], std::log(exposure[i]));
  EXPECT_EQ(compute_offset(exposure, 3).error().render(), "shape mismatch: exposure len 4 != n_rows 3");
  for (float bad : {0.0f, -0.0f, -1.0f, kInf, -kInf, kNaN}) {
    const std::vector<float> e{1.0f, bad};
    EXPECT_EQ(compute_offset(e, 2).error().render(), "invalid input: exposure entries must be finite and > 0") << bad;
  }
}

}  // namespace
}  // namespace fq::data
