// The tags a model stores about its objective, and the inverse links.
//
// A model keeps only an `ObjectiveTag` naming its loss and link; scoring maps
// raw scores through `inverse_link`, which every consumer (losses, scoring,
// explanation) shares so that a prediction has one definition.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace fq::loss {

enum class Link : std::uint8_t { Identity = 0, Log = 1, Logit = 2 };

enum class LossId : std::uint8_t { SquaredError = 0, Logistic = 1, Poisson = 2, Gamma = 3, Tweedie = 4, Softmax = 5 };

struct ObjectiveTag {
  Link link = Link::Identity;
  LossId loss = LossId::SquaredError;
  std::optional<float> tweedie_rho;  // present only for Tweedie
  bool operator==(const ObjectiveTag&) const = default;
};

// The evaluation measure that belongs to a loss; in memory only.
struct MetricId {
  enum class Kind : std::uint8_t {
    SquaredError = 0,
    LogisticDeviance = 1,
    PoissonDeviance = 2,
    GammaDeviance = 3,
    TweedieDeviance = 4,
  };
  Kind kind = Kind::SquaredError;
  float tweedie_rho = 0.0f;  // meaningful for TweedieDeviance only
  bool operator==(const MetricId&) const = default;
};

inline float clamp_raw(float x) { return x < -30.0f ? -30.0f : (x > 30.0f ? 30.0f : x); }

// exp of the raw score clamped to [-30, 30], in float32.
inline float exp_clamped(float x) { return std::exp(clamp_raw(x)); }

// The logistic sigmoid in float32, in the form that never overflows:
// 1 / (1 + e^-x) for x >= 0, e^x / (1 + e^x) below.
inline float sigmoid(float x) {
  if (x >= 0.0f) return 1.0f / (1.0f + std::exp(clamp_raw(-x)));
  const float e = std::exp(x < -30.0f ? -30.0f : x);
  return e / (1.0f + e);
}

inline float inverse_link(Link link, float raw) {
  switch (link) {
    case Link::Identity:
      return raw;
    case Link::Log:
      return exp_clamped(raw);
    case Link::Logit:
      return sigmoid(raw);
  }
  return raw;
}

}  // namespace fq::loss
