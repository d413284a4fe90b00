// Exposure offsets for the log-link objectives: offset = ln(exposure).
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "core/error.h"

namespace fq::data {

// Every exposure must be finite and strictly positive; the logarithm is taken
// in float32.
Result<std::vector<float>> compute_offset(std::span<const float> exposure, std::size_t n_rows);

}  // namespace fq::data
