#include "core/constraints.h"

#include <cmath>

#include "core/format.h"

namespace fq {

Status CredibilityFloor::validate() const {
  const std::pair<const char*, float> fields[] = {
      {"min_sum_hessian_in_leaf", min_sum_hessian_in_leaf},
      {"min_weight_sum_in_leaf", min_weight_sum_in_leaf},
      {"path_smooth", path_smooth},
  };
  for (const auto& [name, v] : fields) {
    if (!std::isfinite(v) || v < 0.0f) {
      return fail(CoreError::invalid_config(fmt::cat("CredibilityFloor.", name, " must be finite and >= 0, got ", v)));
    }
  }
  return {};
}

}  // namespace fq
