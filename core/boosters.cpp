#include "core/boosters.h"

#include <cmath>

#include "core/format.h"

namespace fq {

Status BoosterConfig::validate() const {
  if (ridge_refit) {
    if (!std::isfinite(ridge_refit->l2) || ridge_refit->l2 < 0.0f) {
      return fail(CoreError::invalid_config(fmt::cat("refit l2 must be finite and >= 0, got ", ridge_refit->l2)));
    }
    if (ridge_refit->max_iter == 0) return fail(CoreError::invalid_config("refit max_iter must be > 0"));
    if (ridge_refit->every_k_trees && *ridge_refit->every_k_trees == 0) {
      return fail(CoreError::invalid_config("refit every_k_trees must be > 0 when set"));
    }
  }
  if (ensemble.kind == EnsembleSpec::Kind::OuterBag) {
    if (ensemble.n_bags == 0) return fail(CoreError::invalid_config("OuterBag n_bags must be > 0"));
    if (!std::isfinite(ensemble.bag_subsample) || !(ensemble.bag_subsample > 0.0f)) {
      return fail(CoreError::invalid_config("OuterBag bag_subsample must be finite and > 0"));
    }
    if (const auto& cr = ensemble.cell_refit) {
      if (!std::isfinite(cr->base) || !(cr->base > 0.0)) {
        return fail(CoreError::invalid_config("OuterBag cell_refit base must be finite and > 0"));
      }
      if (!std::isfinite(cr->gamma) || cr->gamma < 0.0) {
        return fail(CoreError::invalid_config("OuterBag cell_refit gamma must be finite and >= 0"));
      }
      if (ensemble.n_bags < 2) {
        return fail(CoreError::invalid_config("OuterBag cell_refit requires n_bags >= 2 (needs an OOB residual)"));
      }
    }
  }
  if (dart) {
    if (!std::isfinite(dart->drop_rate) || dart->drop_rate < 0.0f || !(dart->drop_rate < 1.0f)) {
      return fail(CoreError::invalid_config(fmt::cat("DART drop_rate must be finite and in [0, 1), got ", dart->drop_rate)));
    }
    if (nesterov != Nesterov::Off) {
      return fail(CoreError::invalid_config("DART and Nesterov/AGBM cannot be combined in the v1.5 booster pipeline"));
    }
  }
  if (!std::isfinite(random_strength) || random_strength < 0.0f) {
    return fail(CoreError::invalid_config(fmt::cat("random_strength must be finite and >= 0, got ", random_strength)));
  }
  return {};
}

}  // namespace fq
