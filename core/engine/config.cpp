#include "core/engine/config.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/format.h"

namespace fq::engine {
namespace {

std::string normalize_text(std::string_view s) {
  auto is_space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; };
  while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool one_of(std::string_view s, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), s) != names.end();
}

bool finite_nonneg(float v) { return std::isfinite(v) && v >= 0.0f; }

CoreError nonneg_error(const char* name, float v) {
  return CoreError::invalid_config(fmt::cat(name, " must be finite and >= 0, got ", v));
}

}  // namespace

Status Config::validate() const {
  if (n_trees == 0) return fail(CoreError::invalid_config("n_trees must be > 0"));
  if (!std::isfinite(learning_rate) || !(learning_rate > 0.0f)) {
    return fail(CoreError::invalid_config(fmt::cat("learning_rate must be finite and > 0, got ", learning_rate)));
  }
  if (!finite_nonneg(lambda_)) return fail(nonneg_error("lambda", lambda_));
  if (!finite_nonneg(l1_leaf)) return fail(nonneg_error("l1_leaf", l1_leaf));
  if (!finite_nonneg(min_split_gain)) return fail(nonneg_error("min_split_gain", min_split_gain));
  if (max_delta_step && (!std::isfinite(*max_delta_step) || !(*max_delta_step > 0.0f))) {
    return fail(CoreError::invalid_config(
        fmt::cat("max_delta_step must be finite and > 0 when set, got ", *max_delta_step)));
  }
  if (mvs_rate) {
    const float r = *mvs_rate;
    if (!std::isfinite(r) || !(r > 0.0f) || r > 1.0f) {
      return fail(CoreError::invalid_config(fmt::cat("MVS rate must be finite and in (0, 1], got ", r)));
    }
    if (mvs_min_rows == 0) return fail(CoreError::invalid_config("MVS min_rows must be > 0"));
  }
  if (!std::isfinite(colsample_bytree) || !(colsample_bytree > 0.0f) || colsample_bytree > 1.0f) {
    return fail(CoreError::invalid_config(
        fmt::cat("colsample_bytree must be finite and in (0, 1], got ", colsample_bytree)));
  }
  if (!finite_nonneg(learning_rate_decay)) return fail(nonneg_error("learning_rate_decay", learning_rate_decay));
  if (validation_fraction) {
    const float v = *validation_fraction;
    if (!std::isfinite(v) || !(v > 0.0f) || !(v < 1.0f)) {
      return fail(CoreError::invalid_config(fmt::cat("validation_fraction must be finite and in (0, 1), got ", v)));
    }
    if (early_stopping_rounds == 0) {
      return fail(CoreError::invalid_config("early_stopping_rounds must be > 0 when validation_fraction is set"));
    }
  }
  if (leaf_refine_steps > 0 && leaf_refine_backtracks == 0) {
    return fail(CoreError::invalid_config("leaf_refine_backtracks must be > 0 when leaf_refine_steps is enabled"));
  }
  return booster.validate();
}

Result<Objective> Objective::parse(std::optional<std::string_view> name, float tweedie_rho) {
  std::string n(name.value_or("squared_error"));
  for (char& c : n) {
    if (c == '-') c = '_';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  using loss::LossId;
  if (one_of(n, {"squared_error", "squarederror", "regression", "l2"})) return Objective{LossId::SquaredError, {}};
  if (one_of(n, {"logistic", "log_loss", "binary_logloss", "classifier"})) return Objective{LossId::Logistic, {}};
  if (n == "poisson") return Objective{LossId::Poisson, {}};
  if (n == "gamma") return Objective{LossId::Gamma, {}};
  if (n == "tweedie") {
    if (!(tweedie_rho > 1.0f && tweedie_rho < 2.0f)) {
      return fail(CoreError::invalid_config(fmt::cat("Tweedie rho must be in (1, 2) exclusive, got ", tweedie_rho)));
    }
    return Objective{LossId::Tweedie, tweedie_rho};
  }
  return fail(CoreError::invalid_config(fmt::cat("unknown objective `", n, "`")));
}

Result<HistPrecision> parse_hist_precision(std::optional<std::string_view> text) {
  if (!text) return HistPrecision::Full;
  const std::string t = normalize_text(*text);
  if (one_of(t, {"full", "f64", "fullf64"})) return HistPrecision::Full;
  if (one_of(t, {"quantized", "qhist", "i32", "quantizedi32"})) return HistPrecision::Quantized;
  return fail(CoreError::invalid_config(fmt::cat("hist_precision must be 'full' or 'quantized', got ", fmt::quoted(t))));
}

Result<cat::CatTarget> parse_cat_target(std::optional<std::string_view> text) {
  if (!text) return cat::CatTarget::Mean;
  const std::string t = normalize_text(*text);
  if (one_of(t, {"mean", "rate"})) return cat::CatTarget::Mean;
  if (one_of(t, {"log_mean", "logmean", "log"})) return cat::CatTarget::LogMean;
  return fail(CoreError::invalid_config(fmt::cat("cat_target must be 'mean' or 'log_mean', got ", fmt::quoted(t))));
}

Result<cat::LeakageScheme> parse_cat_leakage(std::optional<std::string_view> text, std::uint32_t n_perms,
                                             std::uint32_t k) {
  using Kind = cat::LeakageScheme::Kind;
  if (!text) return cat::LeakageScheme{Kind::KFold, k};
  const std::string t = normalize_text(*text);
  if (one_of(t, {"kfold", "k_fold", "crossfit", "cross_fit"})) return cat::LeakageScheme{Kind::KFold, k};
  if (t == "ordered") return cat::LeakageScheme{Kind::Ordered, n_perms};
  if (one_of(t, {"loo", "leaveoneout", "leave_one_out"})) return cat::LeakageScheme{Kind::LeaveOneOut, 0};
  return fail(CoreError::invalid_config(
      fmt::cat("cat_leakage must be 'kfold', 'ordered', or 'loo', got ", fmt::quoted(t))));
}

Result<BoosterSettings> build_booster_settings(const BoosterParams& p) {
  if (p.nesterov) {
    return fail(CoreError::invalid_config(
        "nesterov/AGBM acceleration is experimental and currently unstable (it diverges; the momentum-correction "
        "step is not yet implemented) \u2014 it is not supported in this release"));
  }
  FQ_ASSIGN_OR_RETURN(const HistPrecision precision, parse_hist_precision(p.hist_precision));

  BoosterSettings s;
  Config& c = s.config;
  if (p.n_bags > 0) {
    c.booster.ensemble.kind = EnsembleSpec::Kind::OuterBag;
    c.booster.ensemble.n_bags = p.n_bags;
    c.booster.ensemble.bag_subsample = p.bag_subsample;
    if (p.cell_refit_base) c.booster.ensemble.cell_refit = CellRefit{*p.cell_refit_base, p.cell_refit_gamma};
  }
  if (p.ridge_refit_l2) c.booster.ridge_refit = RidgeRefit{*p.ridge_refit_l2, p.ridge_refit_max_iter, std::nullopt};
  if (p.dart_drop_rate) c.booster.dart = Dart{*p.dart_drop_rate, true};
  c.booster.random_strength = p.random_strength;
  c.reanchor = p.reanchor;
  c.max_delta_step = p.max_delta_step;
  c.validation_fraction = p.validation_fraction;
  // A rate of 1 or more samples every row, so sampling stays off; NaN is not
  // >= 1 and turns it on (to be refused by validation).
  if (p.subsample && !(*p.subsample >= 1.0f)) c.mvs_rate = *p.subsample;
  c.mvs_min_rows = std::max<std::uint32_t>(p.mvs_min_rows, 1);
  c.n_trees = p.n_trees;
  c.learning_rate = p.learning_rate;
  c.lambda_ = p.lambda_;
  c.l1_leaf = p.l1_leaf;
  c.min_split_gain = p.min_split_gain;
  c.colsample_bytree = p.colsample_bytree;
  c.learning_rate_decay = p.learning_rate_decay;
  c.early_stopping_rounds = p.early_stopping_rounds;
  c.hist_precision = precision;
  c.leaf_refine_steps = p.leaf_refine_steps;
  c.leaf_refine_backtracks = p.leaf_refine_backtracks;
  FQ_TRY(c.validate());

  s.bin = data::BinConfig{200000, 0, p.max_bin, data::BorderFamily::EqualCount};
  FQ_TRY(s.bin.validate());

  s.floor = CredibilityFloor{p.min_data_in_leaf, p.min_sum_hessian_in_leaf, p.min_weight_sum_in_leaf, p.path_smooth};
  FQ_TRY(s.floor.validate());

  FQ_ASSIGN_OR_RETURN(s.ts.leakage, parse_cat_leakage(p.cat_leakage, p.cat_n_perms, p.cat_k));
  FQ_ASSIGN_OR_RETURN(s.ts.target, parse_cat_target(p.cat_target));
  s.ts.smooth = p.cat_smooth ? cat::Smooth{cat::Smooth::Kind::Fixed, *p.cat_smooth} : cat::Smooth{};
  s.ts.target_borders = 16;
  s.ts.one_hot_max_size = 2;
  s.ts.min_data_per_group = p.cat_min_data_per_group;
  FQ_TRY(s.ts.validate());

  FQ_ASSIGN_OR_RETURN(s.objective, Objective::parse(p.objective, p.tweedie_rho));

  if (p.n_jobs) {
    if (*p.n_jobs == 0) return fail(CoreError::invalid_config("n_jobs must be >= 1 when set"));
    // A pool larger than any machine is of no use; cap the count at the
    // integer width the thread helper takes.
    s.n_jobs = static_cast<std::uint32_t>(std::min<std::uint64_t>(*p.n_jobs, 4096));
  }
  s.max_interaction_order = p.max_interaction_order;
  s.seed = p.seed;
  return s;
}

}  // namespace fq::engine
