// The booster-level fitting options: the ensemble mode, the ridge refit,
// DART, Nesterov and the split-score noise, with their joint validation.
#pragma once

#include <cstdint>
#include <optional>

#include "core/error.h"

namespace fq {

struct CellRefit {
  double base = 0.0;
  double gamma = 2.0;
  bool operator==(const CellRefit&) const = default;
};

// A single boosting run, outer bagging, or greedy library selection (core
// only; not reachable from Python).
struct EnsembleSpec {
  enum class Kind : std::uint8_t { Single = 0, OuterBag = 1, GreedySelect = 2 };
  Kind kind = Kind::Single;
  std::uint16_t n_bags = 0;       // OuterBag
  float bag_subsample = 1.0f;     // OuterBag
  std::optional<CellRefit> cell_refit;  // OuterBag
  bool operator==(const EnsembleSpec&) const = default;
};

struct RidgeRefit {
  float l2 = 0.0f;
  std::uint32_t max_iter = 5;
  std::optional<std::uint32_t> every_k_trees;
  bool operator==(const RidgeRefit&) const = default;
};

struct Dart {
  float drop_rate = 0.0f;
  bool normalize = true;
  bool operator==(const Dart&) const = default;
};

enum class Nesterov : std::uint8_t { Off = 0, On = 1, OnWithCorrection = 2 };

struct BoosterConfig {
  EnsembleSpec ensemble;
  std::optional<RidgeRefit> ridge_refit;
  std::optional<Dart> dart;
  Nesterov nesterov = Nesterov::Off;
  float random_strength = 0.0f;

  Status validate() const;
  bool operator==(const BoosterConfig&) const = default;
};

}  // namespace fq
