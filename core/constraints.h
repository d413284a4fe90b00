// Leaf constraints handed to the tree learner: floors a leaf must reach to be
// credible, and the path-smoothing strength.
#pragma once

#include <cstdint>

#include "core/error.h"

namespace fq {

struct CredibilityFloor {
  std::uint32_t min_data_in_leaf = 0;
  float min_sum_hessian_in_leaf = 0.0f;
  float min_weight_sum_in_leaf = 0.0f;
  float path_smooth = 0.0f;

  // Each float finite and >= 0 (negative zero passes), in field order.
  Status validate() const;
  bool operator==(const CredibilityFloor&) const = default;
};

}  // namespace fq
