#include "core/data/grid.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/format.h"
#include "core/rng.h"
#include "core/total_order.h"

namespace fq::data {
namespace {

float midpoint(float a, float b) {
  return static_cast<float>((static_cast<double>(a) + static_cast<double>(b)) * 0.5);
}

void sort_unique_total(std::vector<float>& borders) {
  std::sort(borders.begin(), borders.end(), [](float a, float b) { return total_less(a, b); });
  borders.erase(std::unique(borders.begin(), borders.end(),
                            [](float a, float b) { return total_order_key(a) == total_order_key(b); }),
                borders.end());
}

// Draws `s` of the sorted pairs without replacement (partial Fisher-Yates
// driven by the seeded generator); the kept pairs stay sorted by value.
Result<std::vector<ValueWeight>> subsample_pairs(const std::vector<ValueWeight>& pairs, std::size_t s,
                                                 std::uint64_t seed, std::uint32_t feature) {
  const std::uint64_t z =
      rng::mix(seed ^ (static_cast<std::uint64_t>(feature) * rng::kStride) ^ 0xBF58476D1CE4E5B9ULL);
  rng::Pcg64 gen(z);
  const std::size_t n = pairs.size();
  std::vector<std::size_t> index(n);
  std::iota(index.begin(), index.end(), std::size_t{0});
  for (std::size_t r = 0; r < s; ++r) {
    const std::size_t j = r + static_cast<std::size_t>(gen.next() % static_cast<std::uint64_t>(n - r));
    std::swap(index[r], index[j]);
  }
  index.resize(s);
  std::sort(index.begin(), index.end());
  std::vector<ValueWeight> kept;
  kept.reserve(s);
  for (std::size_t i : index) {
    if (i >= n) return fail(CoreError::internal("subsample index"));
    kept.push_back(pairs[i]);
  }
  return kept;
}

// Adds borders inside the heaviest splittable segments until max_bin - 1
// borders exist. `cum[p]` is the weight of the pairs before position p, one
// running float64 sum over all sorted pairs; segment weights are differences
// of it. The segments are cut once from the borders present at the start and
// each added border splits its segment in place.
void fill_gaps(const std::vector<ValueWeight>& pairs, std::vector<float>& borders, std::size_t max_borders) {
  const std::size_t n = pairs.size();
  if (borders.size() >= max_borders || n < 2) return;
  std::vector<double> cum(n + 1);
  cum[0] = 0.0;
  for (std::size_t p = 0; p < n; ++p) cum[p + 1] = cum[p] + pairs[p].weight;

  std::vector<std::size_t> cuts{0};
  for (float b : borders) {
    const auto it = std::lower_bound(pairs.begin(), pairs.end(), b,
                                     [](const ValueWeight& pw, float v) { return pw.value < v; });
    cuts.push_back(static_cast<std::size_t>(it - pairs.begin()));
  }
  cuts.push_back(n);
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  struct Segment {
    std::size_t start, end;
  };
  std::vector<Segment> segments;
  for (std::size_t k = 0; k + 1 < cuts.size(); ++k) segments.push_back({cuts[k], cuts[k + 1]});

  while (borders.size() < max_borders) {
    std::size_t best = segments.size();
    double best_weight = 0.0;
    for (std::size_t k = 0; k < segments.size(); ++k) {
      const auto [start, end] = segments[k];
      if (end - start < 2 || !(pairs[start].value != pairs[end - 1].value)) continue;
      const double w = cum[end] - cum[start];
      if (best == segments.size() || w > best_weight) {
        best = k;
        best_weight = w;
      }
    }
    if (best == segments.size()) return;
    const auto [start, end] = segments[best];
    const double target = cum[start] + best_weight * 0.5;
    // First position after the start whose prefix weight reaches the target.
    std::size_t p = end - 1;
    for (std::size_t q = start + 1; q < end; ++q) {
      if (cum[q] >= target) {
        p = q;
        break;
      }
    }
    // Nearest value change at q (value[q-1] != value[q]), right before left.
    auto changes = [&](std::size_t q) { return q > start && q < end && pairs[q - 1].value != pairs[q].value; };
    // The segment holds a value change, so the search ends within its length.
    std::size_t q = 0;
    for (std::size_t d = 0; d <= end - start; ++d) {
      if (changes(p + d)) {
        q = p + d;
        break;
      }
      if (d <= p && changes(p - d)) {
        q = p - d;
        break;
      }
    }
    if (q == 0) return;
    borders.push_back(midpoint(pairs[q - 1].value, pairs[q].value));
    segments[best] = {start, q};
    segments.insert(segments.begin() + static_cast<std::ptrdiff_t>(best) + 1, Segment{q, end});
  }
}

// Keeps a border only when the bins since the last kept border hold at least
// K pairs and at least K pairs lie above it. `borders` is sorted.
void prune_borders(const std::vector<ValueWeight>& pairs, std::vector<float>& borders, std::uint32_t k_min) {
  std::vector<std::size_t> count(borders.size() + 1, 0);
  for (const auto& pw : pairs) ++count[borders_below(borders, pw.value)];
  std::vector<float> kept;
  std::size_t running = 0;
  std::size_t at_or_below = 0;
  for (std::size_t k = 0; k < borders.size(); ++k) {
    running += count[k];
    at_or_below += count[k];
    const std::size_t above = pairs.size() - at_or_below;
    if (running >= k_min && above >= k_min) {
      kept.push_back(borders[k]);
      running = 0;
    }
  }
  borders = std::move(kept);
}

}  // namespace

Status BinConfig::validate() const {
  if (max_bin <= 1) return fail(CoreError::invalid_config(fmt::cat("max_bin must be >= 2, got ", max_bin)));
  if (max_bin == 255) return fail(CoreError::invalid_config(fmt::cat("max_bin must be <= 254, got ", max_bin)));
  if (subsample_for_binning == 0) return fail(CoreError::invalid_config("subsample_for_binning must be > 0"));
  if (border_family == BorderFamily::HessianWeighted) {
    return fail(CoreError::invalid_config(
        "BorderFamily::HessianWeighted is a v1.5 fork (\u00a703.11); v1 supports only EqualCount"));
  }
  return {};
}

Result<std::vector<float>> quantile_borders(std::span<const ValueWeight> pairs, std::uint8_t max_bin) {
  const std::size_t n = pairs.size();
  std::vector<double> cum(n);
  double total = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    total += pairs[i].weight;
    cum[i] = total;
  }
  if (n == 0 || !(total > 0.0)) return fail(CoreError::invalid_input("non-positive total weight in binning subsample"));
  std::vector<float> borders;
  for (unsigned k = 1; k < max_bin; ++k) {
    const double level = static_cast<double>(k) / static_cast<double>(max_bin);
    const double h = level * total;
    const auto m = static_cast<std::size_t>(std::lower_bound(cum.begin(), cum.end(), h) - cum.begin());
    const std::size_t i = std::min(m, n - 1);
    double border = static_cast<double>(pairs[i].value);
    if (m < n - 1 && cum[i] == h) {
      border = (static_cast<double>(pairs[i].value) + static_cast<double>(pairs[i + 1].value)) * 0.5;
    }
    borders.push_back(static_cast<float>(border));
  }
  sort_unique_total(borders);
  return borders;
}

Result<BorderGrid> build_grid(std::span<const float> values, std::optional<std::span<const float>> weights,
                              const BinConfig& config, std::uint64_t seed, std::uint32_t feature) {
  FQ_TRY(config.validate());
  if (weights && weights->size() != values.size()) {
    return fail(CoreError::shape_mismatch(
        fmt::cat("weight len ", weights->size(), " != column len ", values.size())));
  }
  std::vector<ValueWeight> pairs;
  pairs.reserve(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    const float v = values[i];
    if (!std::isfinite(v)) continue;
    const double w = weights ? static_cast<double>((*weights)[i]) : 1.0;
    if (!std::isfinite(w) || w < 0.0) return fail(CoreError::invalid_input("sample weights must be finite and >= 0"));
    pairs.push_back({v, w});
  }
  if (pairs.empty()) return BorderGrid{{}, 2, 0};

  std::sort(pairs.begin(), pairs.end(), [](const ValueWeight& a, const ValueWeight& b) {
    const auto ka = total_order_key(a.value), kb = total_order_key(b.value);
    if (ka != kb) return ka < kb;
    return total_order_key(a.weight) < total_order_key(b.weight);
  });

  std::vector<float> distinct{pairs[0].value};
  for (std::size_t i = 1; i < pairs.size(); ++i) {
    if (pairs[i].value != pairs[i - 1].value) distinct.push_back(pairs[i].value);
  }

  std::vector<float> borders;
  if (distinct.size() <= config.max_bin) {
    for (std::size_t i = 1; i < distinct.size(); ++i) borders.push_back(midpoint(distinct[i - 1], distinct[i]));
  } else {
    if (pairs.size() > config.subsample_for_binning) {
      FQ_ASSIGN_OR_RETURN(auto sample, subsample_pairs(pairs, config.subsample_for_binning, seed, feature));
      FQ_ASSIGN_OR_RETURN(borders, quantile_borders(sample, config.max_bin));
    } else {
      FQ_ASSIGN_OR_RETURN(borders, quantile_borders(pairs, config.max_bin));
    }
    if (config.min_rows_per_bin == 0) {
      fill_gaps(pairs, borders, static_cast<std::size_t>(config.max_bin) - 1);
    } else {
      prune_borders(pairs, borders, config.min_rows_per_bin);
    }
  }
  sort_unique_total(borders);
  if (borders.size() > 65533) return fail(CoreError::internal("n_bins exceeded u16"));
  const auto n_bins = static_cast<std::uint16_t>(borders.size() + 2);
  return BorderGrid{std::move(borders), n_bins, 0};
}

Result<std::uint8_t> bin(float v, const BorderGrid& grid) {
  if (std::isnan(v)) return grid.missing_bin;
  const std::size_t below = borders_below(grid.borders, v);
  if (below > 254) return fail(CoreError::internal("bin index exceeded u8 (borders.len() > 253?)"));
  return static_cast<std::uint8_t>(1 + below);
}

}  // namespace fq::data
