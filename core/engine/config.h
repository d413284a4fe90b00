// The validated fitting configuration a booster holds, and the one place
// where the booster's 41 options become core records, checked in a fixed
// order so a bad option fails when the booster is created, not mid-fit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/boosters.h"
#include "core/cat/ts_config.h"
#include "core/constraints.h"
#include "core/data/grid.h"
#include "core/error.h"
#include "core/loss/objective.h"

namespace fq::engine {

enum class HistPrecision : std::uint8_t { Full = 0, Quantized = 1 };

struct Config {
  BoosterConfig booster;  // ensemble, ridge refit, DART, Nesterov, random_strength
  bool reanchor = false;
  std::optional<float> max_delta_step;
  std::optional<float> validation_fraction;
  std::optional<float> mvs_rate;  // MVS row sampling on when set
  std::uint32_t mvs_min_rows = 1;
  std::uint32_t n_trees = 1000;
  float learning_rate = 0.05f;
  float lambda_ = 1.0f;
  float l1_leaf = 0.0f;
  float min_split_gain = 0.0f;
  float colsample_bytree = 1.0f;
  float learning_rate_decay = 0.0f;
  std::uint32_t early_stopping_rounds = 50;
  HistPrecision hist_precision = HistPrecision::Full;
  std::uint8_t leaf_refine_steps = 0;
  std::uint8_t leaf_refine_backtracks = 4;

  Status validate() const;
  bool operator==(const Config&) const = default;
};

// The single-output objective a booster fits.
struct Objective {
  loss::LossId loss = loss::LossId::SquaredError;
  std::optional<float> tweedie_rho;  // Tweedie only

  // `name` has every "-" replaced by "_" and is lower-cased (not stripped);
  // none means squared error. Tweedie's rho is validated here.
  static Result<Objective> parse(std::optional<std::string_view> name, float tweedie_rho);
  bool operator==(const Objective&) const = default;
};

// Text options are stripped of surrounding whitespace and lower-cased (ASCII)
// before matching; none selects the default.
Result<HistPrecision> parse_hist_precision(std::optional<std::string_view> text);
Result<cat::CatTarget> parse_cat_target(std::optional<std::string_view> text);
Result<cat::LeakageScheme> parse_cat_leakage(std::optional<std::string_view> text, std::uint32_t n_perms,
                                             std::uint32_t k);

// The booster's options as the caller gives them, at their core widths.
struct BoosterParams {
  std::uint32_t n_trees = 1000;
  float learning_rate = 0.05f;
  float lambda_ = 1.0f;
  float l1_leaf = 0.0f;
  float min_split_gain = 0.0f;
  std::optional<float> max_delta_step;
  std::uint8_t max_bin = 254;
  std::optional<std::string> objective;
  float tweedie_rho = 1.5f;
  std::uint32_t min_data_in_leaf = 0;
  float min_sum_hessian_in_leaf = 0.0f;
  float min_weight_sum_in_leaf = 0.0f;
  float path_smooth = 0.0f;
  std::optional<float> subsample;
  float colsample_bytree = 1.0f;
  float learning_rate_decay = 0.0f;
  std::optional<float> validation_fraction;
  std::uint32_t early_stopping_rounds = 50;
  std::uint8_t leaf_refine_steps = 0;
  std::uint8_t leaf_refine_backtracks = 4;
  std::uint32_t mvs_min_rows = 1;
  std::optional<std::string> hist_precision;
  std::uint16_t n_bags = 0;
  float bag_subsample = 1.0f;
  std::optional<float> ridge_refit_l2;
  std::uint8_t ridge_refit_max_iter = 5;
  bool nesterov = false;
  std::optional<float> dart_drop_rate;
  float random_strength = 0.0f;
  bool reanchor = false;
  std::uint8_t max_interaction_order = 3;
  std::optional<float> cat_smooth;
  std::optional<std::string> cat_target;
  std::optional<std::string> cat_leakage;
  std::uint32_t cat_n_perms = 1;
  std::uint32_t cat_k = 5;
  float cat_min_data_per_group = 10.0f;
  std::optional<double> cell_refit_base;
  double cell_refit_gamma = 2.0;
  std::uint64_t seed = 0;
  std::optional<std::uint64_t> n_jobs;
};

// What a booster keeps; immutable once built, read by every fit.
struct BoosterSettings {
  Config config;
  Objective objective;
  data::BinConfig bin;
  CredibilityFloor floor;
  cat::TsConfig ts;
  std::uint8_t max_interaction_order = 3;
  std::uint64_t seed = 0;
  std::optional<std::uint32_t> n_jobs;
};

Result<BoosterSettings> build_booster_settings(const BoosterParams& p);

}  // namespace fq::engine
