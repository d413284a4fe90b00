#include "core/cat/ts_config.h"

#include <cmath>

#include "core/format.h"

namespace fq::cat {

Status TsConfig::validate() const {
  if (leakage.kind == LeakageScheme::Kind::Ordered && leakage.count == 0) {
    return fail(CoreError::invalid_config("Ordered target statistics require n_perms > 0"));
  }
  if (leakage.kind == LeakageScheme::Kind::KFold && leakage.count < 2) {
    return fail(CoreError::invalid_config(fmt::cat("KFold target statistics require k >= 2, got ", leakage.count)));
  }
  if (target_borders == 0) return fail(CoreError::invalid_config("target_borders must be > 0"));
  if (!std::isfinite(min_data_per_group) || min_data_per_group < 0.0f) {
    return fail(CoreError::invalid_config(
        fmt::cat("min_data_per_group must be finite and >= 0, got ", min_data_per_group)));
  }
  if (smooth.kind == Smooth::Kind::Fixed && (!std::isfinite(smooth.m) || smooth.m < 0.0f)) {
    return fail(CoreError::invalid_config(fmt::cat("Smooth::Fixed m must be finite and >= 0, got ", smooth.m)));
  }
  return {};
}

}  // namespace fq::cat
