#include "core/data/exposure.h"

#include <cmath>

#include "core/format.h"

namespace fq::data {

Result<std::vector<float>> compute_offset(std::span<const float> exposure, std::size_t n_rows) {
  if (exposure.size() != n_rows) {
    return fail(CoreError::shape_mismatch(fmt::cat("exposure len ", exposure.size(), " != n_rows ", n_rows)));
  }
  std::vector<float> offset(n_rows);
  for (std::size_t i = 0; i < n_rows; ++i) {
    const float e = exposure[i];
    if (!std::isfinite(e) || !(e > 0.0f)) {
      return fail(CoreError::invalid_input("exposure entries must be finite and > 0"));
    }
    offset[i] = std::log(e);
  }
  return offset;
}

}  // namespace fq::data
