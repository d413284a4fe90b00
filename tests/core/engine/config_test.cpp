#include "core/engine/config.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace fq::engine {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(BoosterSettings, DefaultsBuildSquaredErrorWithAThousandTrees) {
  auto s = build_booster_settings(BoosterParams{});
  ASSERT_TRUE(s.has_value()) << s.error().render();
  EXPECT_EQ(s->objective, (Objective{loss::LossId::SquaredError, std::nullopt}));
  EXPECT_EQ(s->config.n_trees, 1000u);
  EXPECT_EQ(s->config.learning_rate, 0.05f);
  EXPECT_EQ(s->config.booster.ensemble.kind, EnsembleSpec::Kind::Single);
  EXPECT_FALSE(s->config.mvs_rate.has_value());
  EXPECT_EQ(s->bin, (data::BinConfig{200000, 0, 254, data::BorderFamily::EqualCount}));
  EXPECT_EQ(s->ts.leakage, (cat::LeakageScheme{cat::LeakageScheme::Kind::KFold, 5}));
  EXPECT_EQ(s->ts.smooth.kind, cat::Smooth::Kind::Auto);
  EXPECT_EQ(s->ts.target_borders, 16u);
  EXPECT_FALSE(s->n_jobs.has_value());
}

struct Case {
  std::function<void(BoosterParams&)> set;
  const char* message;
};

// One bad option per case; cases with two bad options show which check runs
// first.
TEST(BoosterSettings, RejectsEachBadOptionInOrder) {
  const Case cases[] = {
      {[](auto& p) { p.nesterov = true; p.n_trees = 0; },
       "invalid config: nesterov/AGBM acceleration is experimental and currently unstable (it diverges; the "
       "momentum-correction step is not yet implemented) \u2014 it is not supported in this release"},
      {[](auto& p) { p.hist_precision = "half"; p.n_trees = 0; },
       "invalid config: hist_precision must be 'full' or 'quantized', got \"half\""},
      {[](auto& p) { p.n_trees = 0; p.learning_rate = 0; }, "invalid config: n_trees must be > 0"},
      {[](auto& p) { p.learning_rate = -0.0f; }, "invalid config: learning_rate must be finite and > 0, got -0"},
      {[](auto& p) { p.learning_rate = kInf; }, "invalid config: learning_rate must be finite and > 0, got inf"},
      {[](auto& p) { p.lambda_ = -1; p.l1_leaf = -1; }, "invalid config: lambda must be finite and >= 0, got -1"},
      {[](auto& p) { p.l1_leaf = kNaN; }, "invalid config: l1_leaf must be finite and >= 0, got NaN"},
      {[](auto& p) { p.min_split_gain = -0.5f; }, "invalid config: min_split_gain must be finite and >= 0, got -0.5"},
      {[](auto& p) { p.max_delta_step = 0.0f; }, "invalid config: max_delta_step must be finite and > 0 when set, got 0"},
      {[](auto& p) { p.subsample = 0.0f; }, "invalid config: MVS rate must be finite and in (0, 1], got 0"},
      {[](auto& p) { p.subsample = kNaN; }, "invalid config: MVS rate must be finite and in (0, 1], got NaN"},
      {[](auto& p) { p.colsample_bytree = 1.5f; }, "invalid config: colsample_bytree must be finite and in (0, 1], got 1.5"},
      {[](auto& p) { p.learning_rate_decay = -1e-3f; },
       "invalid config: learning_rate_decay must be finite and >= 0, got -0.001"},
      {[](auto& p) { p.validation_fraction = 1.0f; }, "invalid config: validation_fraction must be finite and in (0, 1), got 1"},
      {[](auto& p) { p.validation_fraction = 0.2f; p.early_stopping_rounds = 0; },
       "invalid config: early_stopping_rounds must be > 0 when validation_fraction is set"},
      {[](auto& p) { p.leaf_refine_steps = 2; p.leaf_refine_backtracks = 0; },
       "invalid config: leaf_refine_backtracks must be > 0 when leaf_refine_steps is enabled"},
      {[](auto& p) { p.ridge_refit_l2 = -1; }, "invalid config: refit l2 must be finite and >= 0, got -1"},
      {[](auto& p) { p.ridge_refit_l2 = 1; p.ridge_refit_max_iter = 0; }, "invalid config: refit max_iter must be > 0"},
      {[](auto& p) { p.n_bags = 3; p.bag_subsample = 0; }, "invalid config: OuterBag bag_subsample must be finite and > 0"},
      {[](auto& p) { p.n_bags = 3; p.cell_refit_base = -1.0; }, "invalid config: OuterBag cell_refit base must be finite and > 0"},
      {[](auto& p) { p.n_bags = 3; p.cell_refit_base = 1.0; p.cell_refit_gamma = -1; },
       "invalid config: OuterBag cell_refit gamma must be finite and >= 0"},
      {[](auto& p) { p.n_bags = 1; p.cell_refit_base = 1.0; },
       "invalid config: OuterBag cell_refit requires n_bags >= 2 (needs an OOB residual)"},
      {[](auto& p) { p.dart_drop_rate = 1.0f; }, "invalid config: DART drop_rate must be finite and in [0, 1), got 1"},
      {[](auto& p) { p.random_strength = kNaN; }, "invalid config: random_strength must be finite and >= 0, got NaN"},
      {[](auto& p) { p.max_bin = 1; p.path_smooth = -1; }, "invalid config: max_bin must be >= 2, got 1"},
      {[](auto& p) { p.max_bin = 255; }, "invalid config: max_bin must be <= 254, got 255"},
      {[](auto& p) { p.min_sum_hessian_in_leaf = -1; p.path_smooth = -1; },
       "invalid config: CredibilityFloor.min_sum_hessian_in_leaf must be finite and >= 0, got -1"},
      {[](auto& p) { p.min_weight_sum_in_leaf = kInf; },
       "invalid config: CredibilityFloor.min_weight_sum_in_leaf must be finite and >= 0, got inf"},
      {[](auto& p) { p.path_smooth = -2; }, "invalid config: CredibilityFloor.path_smooth must be finite and >= 0, got -2"},
      {[](auto& p) { p.cat_leakage = "bogus"; p.cat_target = "bogus"; },
       "invalid config: cat_leakage must be 'kfold', 'ordered', or 'loo', got \"bogus\""},
      {[](auto& p) { p.cat_target = " Median "; }, "invalid config: cat_target must be 'mean' or 'log_mean', got \"median\""},
      {[](auto& p) { p.cat_leakage = "ordered"; p.cat_n_perms = 0; },
       "invalid config: Ordered target statistics require n_perms > 0"},
      {[](auto& p) { p.cat_k = 1; p.cat_min_data_per_group = -1; }, "invalid config: KFold target statistics require k >= 2, got 1"},
      {[](auto& p) { p.cat_min_data_per_group = -1; p.cat_smooth = -1; },
       "invalid config: min_data_per_group must be finite and >= 0, got -1"},
      {[](auto& p) { p.cat_smooth = kNaN; }, "invalid config: Smooth::Fixed m must be finite and >= 0, got NaN"},
      {[](auto& p) { p.objective = " poisson"; }, "invalid config: unknown objective ` poisson`"},
      {[](auto& p) { p.objective = "tweedie"; p.tweedie_rho = 2.0f; }, "invalid config: Tweedie rho must be in (1, 2) exclusive, got 2"},
      {[](auto& p) { p.objective = "tweedie"; p.tweedie_rho = kNaN; }, "invalid config: Tweedie rho must be in (1, 2) exclusive, got NaN"},
      {[](auto& p) { p.n_jobs = 0; }, "invalid config: n_jobs must be >= 1 when set"},
  };
  for (const auto& c : cases) {
    BoosterParams p;
    c.set(p);
    auto s = build_booster_settings(p);
    ASSERT_FALSE(s.has_value()) << c.message;
    EXPECT_EQ(s.error().render(), c.message);
  }
}

TEST(BoosterSettings, AcceptedSpellingsAndQuietOptions) {
  struct Ok {
    std::function<void(BoosterParams&)> set;
    std::function<bool(const BoosterSettings&)> holds;
    const char* what;
  };
  using loss::LossId;
  const Ok cases[] = {
      {[](auto& p) { p.objective = "Binary-LogLoss"; }, [](auto& s) { return s.objective.loss == LossId::Logistic; }, "logistic"},
      {[](auto& p) { p.objective = "L2"; }, [](auto& s) { return s.objective.loss == LossId::SquaredError; }, "l2"},
      {[](auto& p) { p.objective = "tweedie"; p.tweedie_rho = 1.2f; },
       [](auto& s) { return s.objective == Objective{LossId::Tweedie, 1.2f}; }, "tweedie"},
      {[](auto& p) { p.objective = "gamma"; p.tweedie_rho = 7.0f; },
       [](auto& s) { return s.objective == Objective{LossId::Gamma, std::nullopt}; }, "rho ignored unless tweedie"},
      {[](auto& p) { p.hist_precision = " Quantized\t"; },
       [](auto& s) { return s.config.hist_precision == HistPrecision::Quantized; }, "quantized"},
      {[](auto& p) { p.hist_precision = "F64"; }, [](auto& s) { return s.config.hist_precision == HistPrecision::Full; }, "f64"},
      {[](auto& p) { p.subsample = 1.0f; }, [](auto& s) { return !s.config.mvs_rate; }, "subsample 1"},
      {[](auto& p) { p.subsample = 2.0f; }, [](auto& s) { return !s.config.mvs_rate; }, "subsample 2"},
      {[](auto& p) { p.subsample = 0.5f; }, [](auto& s) { return s.config.mvs_rate == 0.5f; }, "subsample 0.5"},
      {[](auto& p) { p.mvs_min_rows = 0; }, [](auto& s) { return s.config.mvs_min_rows == 1u; }, "mvs_min_rows 0"},
      {[](auto& p) { p.cell_refit_base = 1.0; }, [](auto& s) { return s.config.booster.ensemble.kind == EnsembleSpec::Kind::Single; },
       "cell refit without bags"},
      {[](auto& p) { p.n_bags = 2; p.cell_refit_base = 1.0; },
       [](auto& s) { return s.config.booster.ensemble.cell_refit == CellRefit{1.0, 2.0}; }, "cell refit"},
      {[](auto& p) { p.cat_leakage = "Leave_One_Out"; p.cat_k = 0; },
       [](auto& s) { return s.ts.leakage.kind == cat::LeakageScheme::Kind::LeaveOneOut; }, "loo ignores k"},
      {[](auto& p) { p.cat_target = "log"; }, [](auto& s) { return s.ts.target == cat::CatTarget::LogMean; }, "log target"},
      {[](auto& p) { p.cat_smooth = 0.0f; }, [](auto& s) { return s.ts.smooth == cat::Smooth{cat::Smooth::Kind::Fixed, 0.0f}; },
       "fixed smooth"},
      {[](auto& p) { p.lambda_ = -0.0f; p.path_smooth = -0.0f; }, [](auto&) { return true; }, "negative zero passes"},
      {[](auto& p) { p.n_jobs = 3; }, [](auto& s) { return s.n_jobs == 3u; }, "n_jobs"},
  };
  for (const auto& c : cases) {
    BoosterParams p;
    c.set(p);
    auto s = build_booster_settings(p);
    ASSERT_TRUE(s.has_value()) << c.what << ": " << s.error().render();
    EXPECT_TRUE(c.holds(*s)) << c.what;
  }
}

}  // namespace
}  // namespace fq::engine
