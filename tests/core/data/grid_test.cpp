#include "core/data/grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <string>

namespace fq::data {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

BinConfig config_with(std::uint8_t max_bin, std::uint32_t subsample = 200000, std::uint32_t min_rows = 0) {
  BinConfig c;
  c.max_bin = max_bin;
  c.subsample_for_binning = subsample;
  c.min_rows_per_bin = min_rows;
  return c;
}

std::vector<std::uint32_t> bits_of(const std::vector<float>& v) {
  std::vector<std::uint32_t> out;
  for (float f : v) out.push_back(std::bit_cast<std::uint32_t>(f));
  return out;
}

// Independently computed grids (tests/data/grids.json).
TEST(BuildGrid, MatchesIndependentGrids) {
  std::ifstream in(std::string(FQ_TEST_DATA_DIR) + "/grids.json");
  ASSERT_TRUE(in.good());
  const auto doc = nlohmann::json::parse(in);
  ASSERT_FALSE(doc["cases"].empty());
  for (const auto& c : doc["cases"]) {
    std::vector<float> values;
    for (const auto& v : c["values"]) values.push_back(v.is_null() ? kNaN : static_cast<float>(v.get<double>()));
    std::optional<std::vector<float>> weights;
    if (!c["weights"].is_null()) {
      weights.emplace();
      for (const auto& w : c["weights"]) weights->push_back(static_cast<float>(w.get<double>()));
    }
    std::vector<float> expected;
    for (const auto& b : c["borders"]) expected.push_back(static_cast<float>(b.get<double>()));
    const auto cfg = config_with(c["max_bin"].get<std::uint8_t>(), c["subsample_for_binning"].get<std::uint32_t>());
    auto grid = build_grid(values, weights ? std::optional<std::span<const float>>(*weights) : std::nullopt, cfg,
                           c["seed"].get<std::uint64_t>(), c["feature"].get<std::uint32_t>());
    ASSERT_TRUE(grid.has_value()) << c["name"] << ": " << grid.error().render();
    EXPECT_EQ(bits_of(grid->borders), bits_of(expected)) << c["name"];
    EXPECT_EQ(grid->n_bins, expected.size() + 2) << c["name"];
    EXPECT_EQ(grid->missing_bin, 0);
  }
}

TEST(BinConfig, ValidatesInOrder) {
  struct Case {
    BinConfig config;
    const char* message;
  };
  BinConfig hessian;
  hessian.border_family = BorderFamily::HessianWeighted;
  const Case cases[] = {
      {config_with(0), "invalid config: max_bin must be >= 2, got 0"},
      {config_with(1, 0), "invalid config: max_bin must be >= 2, got 1"},
      {config_with(255, 0), "invalid config: max_bin must be <= 254, got 255"},
      {config_with(254, 0), "invalid config: subsample_for_binning must be > 0"},
      {hessian, "invalid config: BorderFamily::HessianWeighted is a v1.5 fork (\u00a703.11); v1 supports only EqualCount"},
  };
  for (const auto& c : cases) {
    auto s = c.config.validate();
    ASSERT_FALSE(s.has_value()) << c.message;
    EXPECT_EQ(s.error().render(), c.message);
    // build_grid validates before looking at the data.
    const std::vector<float> values{1.0f};
    auto g = build_grid(values, std::nullopt, c.config, 0, 0);
    ASSERT_FALSE(g.has_value());
    EXPECT_EQ(g.error().render(), c.message);
  }
  EXPECT_TRUE(config_with(2).validate().has_value());
  EXPECT_TRUE(config_with(254).validate().has_value());
}

TEST(BuildGrid, RejectsBadWeights) {
  struct Case {
    std::vector<float> values;
    std::vector<float> weights;
    std::uint8_t max_bin;
    const char* message;
  };
  std::vector<float> many(300), zeros(300, 0.0f);
  for (int i = 0; i < 300; ++i) many[i] = static_cast<float>(i);
  const Case cases[] = {
      {{1, 2, 3}, {1, 1}, 254, "shape mismatch: weight len 2 != column len 3"},
      {{1, 2, 3}, {1, -1, 1}, 254, "invalid input: sample weights must be finite and >= 0"},
      {{1, 2, 3}, {1, kNaN, 1}, 254, "invalid input: sample weights must be finite and >= 0"},
      {{1, 2, 3}, {1, kInf, 1}, 254, "invalid input: sample weights must be finite and >= 0"},
      {{1, 2, 3}, {1, -1e-30f, 1}, 254, "invalid input: sample weights must be finite and >= 0"},
      {many, zeros, 254, "invalid input: non-positive total weight in binning subsample"},
  };
  for (const auto& c : cases) {
    auto g = build_grid(c.values, std::span<const float>(c.weights), config_with(c.max_bin), 0, 0);
    ASSERT_FALSE(g.has_value()) << c.message;
    EXPECT_EQ(g.error().render(), c.message);
  }
  // Zero and negative-zero weights are accepted.
  const std::vector<float> values{1, 2, 3}, weights{0.0f, -0.0f, 1.0f};
  auto g = build_grid(values, std::span<const float>(weights), config_with(254), 0, 0);
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->borders, (std::vector<float>{1.5f, 2.5f}));
}

TEST(BuildGrid, ColumnWithoutFiniteValuesHasNoBorders) {
  const std::vector<float> values{kNaN, kNaN, kInf, -kInf};
  auto g = build_grid(values, std::nullopt, config_with(254), 0, 0);
  ASSERT_TRUE(g.has_value());
  EXPECT_TRUE(g->borders.empty());
  EXPECT_EQ(g->n_bins, 2);
  EXPECT_EQ(bin(kNaN, *g).value(), 0);
  EXPECT_EQ(bin(5.0f, *g).value(), 1);
  EXPECT_EQ(bin(-kInf, *g).value(), 1);
}

TEST(BinRule, ValueOnABorderFallsInTheLowerBin) {
  const std::vector<float> values{1, 2, 3, 2, kNaN};
  auto g = build_grid(values, std::nullopt, config_with(254), 0, 0);
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->borders, (std::vector<float>{1.5f, 2.5f}));
  const std::pair<float, int> cases[] = {{kNaN, 0}, {-kInf, 1}, {1.0f, 1}, {1.5f, 1}, {2.0f, 2},
                                         {2.5f, 2}, {2.6f, 3},  {kInf, 3}, {-0.0f, 1}};
  for (const auto& [v, expected] : cases) EXPECT_EQ(bin(v, *g).value(), expected) << v;
}

TEST(BinRule, BranchFreeSearchEqualsLowerBound) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<float> dist(-10.0f, 10.0f);
  for (std::size_t n : {0u, 1u, 2u, 3u, 7u, 8u, 253u}) {
    std::vector<float> borders(n);
    for (auto& b : borders) b = std::round(dist(gen) * 4) / 4;
    std::sort(borders.begin(), borders.end());
    borders.erase(std::unique(borders.begin(), borders.end()), borders.end());
    for (int k = 0; k < 2000; ++k) {
      float v = std::round(dist(gen) * 8) / 8;  // hits borders exactly now and then
      const auto expected = std::lower_bound(borders.begin(), borders.end(), v) - borders.begin();
      ASSERT_EQ(borders_below(borders, v), static_cast<std::size_t>(expected)) << n << " " << v;
    }
  }
}

// Every border must be a column value or the midpoint of two neighbouring
// distinct values.
void expect_borders_from_column(const std::vector<float>& values, const std::vector<float>& borders) {
  std::vector<float> distinct;
  for (float v : values) {
    if (std::isfinite(v)) distinct.push_back(v);
  }
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  std::set<float> allowed(distinct.begin(), distinct.end());
  for (std::size_t i = 1; i < distinct.size(); ++i) {
    allowed.insert(static_cast<float>((static_cast<double>(distinct[i - 1]) + distinct[i]) * 0.5));
  }
  for (float b : borders) EXPECT_TRUE(allowed.count(b)) << b;
  EXPECT_TRUE(std::is_sorted(borders.begin(), borders.end()));
  EXPECT_EQ(std::adjacent_find(borders.begin(), borders.end()), borders.end());
}

TEST(BuildGrid, ManyDistinctValuesUseAtMostMaxBinMinusOneBorders) {
  std::mt19937 gen(3);
  std::normal_distribution<float> dist(0.0f, 3.0f);
  std::vector<float> values(50000);
  for (auto& v : values) v = dist(gen);
  for (std::uint8_t max_bin : {std::uint8_t{2}, std::uint8_t{16}, std::uint8_t{254}}) {
    // Subsampled (3000 of 50000 pairs) and not.
    for (std::uint32_t subsample : {3000u, 200000u}) {
      const auto cfg = config_with(max_bin, subsample);
      auto a = build_grid(values, std::nullopt, cfg, 11, 4);
      auto b = build_grid(values, std::nullopt, cfg, 11, 4);
      ASSERT_TRUE(a.has_value() && b.has_value());
      EXPECT_EQ(a->borders.size(), max_bin - 1u);
      EXPECT_EQ(bits_of(a->borders), bits_of(b->borders));
      // A subsample's quantile midpoints are between neighbours of the
      // subsample, not of the column, so only the full sketch is held to it.
      if (subsample > values.size()) {
        expect_borders_from_column(values, a->borders);
      } else {
        EXPECT_TRUE(std::is_sorted(a->borders.begin(), a->borders.end()));
      }
    }
  }
}

TEST(BuildGrid, SubsampleDependsOnSeedAndFeature) {
  std::vector<float> values(20000);
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<float>((i * 7919) % 10007) / 7.0f;
  const auto cfg = config_with(64, 1000);
  auto base = build_grid(values, std::nullopt, cfg, 1, 0).value();
  EXPECT_NE(base.borders, build_grid(values, std::nullopt, cfg, 2, 0).value().borders);
  EXPECT_NE(base.borders, build_grid(values, std::nullopt, cfg, 1, 1).value().borders);
}

// A clump of 90% zeros: 0 itself becomes a border, so nothing above 0 shares
// its bin, and the borders the clump leaves free go to the spread values.
TEST(BuildGrid, HeavilyTiedValueEndsItsBin) {
  std::mt19937 gen(5);
  std::uniform_real_distribution<float> dist(-3.0f, 3.0f);
  std::vector<float> values(10000, 0.0f);
  for (std::size_t i = 9000; i < values.size(); ++i) values[i] = dist(gen);
  auto g = build_grid(values, std::nullopt, config_with(32), 0, 0);
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->borders.size(), 31u);
  EXPECT_TRUE(std::binary_search(g->borders.begin(), g->borders.end(), 0.0f));
  const std::uint8_t zero_bin = bin(0.0f, *g).value();
  for (std::size_t i = 9000; i < values.size(); ++i) {
    if (values[i] > 0.0f) {
      ASSERT_GT(bin(values[i], *g).value(), zero_bin) << values[i];
    }
  }
  expect_borders_from_column(values, g->borders);
}

TEST(BuildGrid, PruningKeepsBordersWithEnoughRowsOnBothSides) {
  std::vector<float> values(100);
  for (int i = 0; i < 100; ++i) values[i] = static_cast<float>(i);
  // Quantile borders are 9.5, 19.5, ..., 89.5 with ten rows per bin; with
  // K = 15 every second border survives and the last one (ten rows above)
  // does not.
  auto g = build_grid(values, std::nullopt, config_with(10, 200000, 15), 0, 0);
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->borders, (std::vector<float>{19.5f, 39.5f, 59.5f, 79.5f}));
  EXPECT_EQ(g->n_bins, 6);
}

TEST(QuantileBorders, ExactTargetHitTakesTheMidpoint) {
  const std::vector<ValueWeight> pairs{{1.0f, 1.0}, {2.0f, 1.0}, {3.0f, 1.0}, {4.0f, 1.0}};
  // max_bin 2: target 2 = C[1] exactly, so the border is between 2 and 3.
  EXPECT_EQ(quantile_borders(pairs, 2).value(), (std::vector<float>{2.5f}));
  // max_bin 3: targets 4/3 and 8/3 fall inside, so the borders are values.
  EXPECT_EQ(quantile_borders(pairs, 3).value(), (std::vector<float>{2.0f, 3.0f}));
  EXPECT_EQ(quantile_borders({}, 4).error().render(), "invalid input: non-positive total weight in binning subsample");
}

}  // namespace
}  // namespace fq::data
