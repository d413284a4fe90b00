// Settings of the categorical target-statistic encoders.
#pragma once

#include <cstdint>

#include "core/error.h"

namespace fq::cat {

// Prior strength: a fixed m, or estimated from the data at fit time (and then
// stored as Fixed).
struct Smooth {
  enum class Kind : std::uint8_t { Fixed = 0, Auto = 1 };
  Kind kind = Kind::Auto;
  float m = 0.0f;  // Fixed only
  bool operator==(const Smooth&) const = default;
};

enum class CatTarget : std::uint8_t { Mean = 0, LogMean = 1 };

// How training rows are encoded without their own target.
struct LeakageScheme {
  enum class Kind : std::uint8_t { Ordered = 0, KFold = 1, LeaveOneOut = 2 };
  Kind kind = Kind::KFold;
  std::uint32_t count = 5;  // n_perms for Ordered, k for KFold
  bool operator==(const LeakageScheme&) const = default;
};

struct TsConfig {
  LeakageScheme leakage;
  Smooth smooth;
  CatTarget target = CatTarget::Mean;
  std::uint32_t target_borders = 16;
  std::uint32_t one_hot_max_size = 2;
  float min_data_per_group = 10.0f;

  Status validate() const;
  bool operator==(const TsConfig&) const = default;
};

}  // namespace fq::cat
