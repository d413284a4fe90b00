// Border grids and column binning over 1,000,000 rows x 20 columns, with 1
// and 2 threads. Prints values (rows x columns) per second and total seconds for each stage.
//
//   build/core/bench_binning [rows] [columns]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "core/data/bin.h"
#include "core/parallel.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

}  // namespace

int main(int argc, char** argv) {
  const std::size_t n_rows = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const std::size_t n_cols = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20;
  std::mt19937_64 gen(2026);
  std::normal_distribution<float> normal;
  std::vector<std::vector<float>> cols(n_cols, std::vector<float>(n_rows));
  for (std::size_t j = 0; j < n_cols; ++j) {
    for (auto& v : cols[j]) {
      v = normal(gen);
      // Every fourth column is heavily tied and a little missing, like a count.
      if (j % 4 == 3) v = v < 0.8f ? 0.0f : std::round(v * 10.0f);
      if (j % 5 == 4 && (gen() & 63) == 0) v = std::numeric_limits<float>::quiet_NaN();
    }
  }
  std::vector<std::span<const float>> spans(cols.begin(), cols.end());
  const fq::data::BinConfig config;  // max_bin 254, sketch of 200000 pairs

  std::printf("binning %zu rows x %zu columns (max_bin %d)\n", n_rows, n_cols, config.max_bin);
  std::printf("%-12s %8s %12s %16s\n", "stage", "threads", "seconds", "values/s");
  for (int threads : {1, 2}) {
    fq::par::ThreadsForCall guard(threads);
    std::vector<fq::data::BorderGrid> grids(n_cols);
    auto t0 = Clock::now();
    auto built = fq::par::for_each(n_cols, [&](std::size_t j) -> fq::Status {
      FQ_ASSIGN_OR_RETURN(grids[j], fq::data::build_grid(cols[j], std::nullopt, config, 0, static_cast<std::uint32_t>(j)));
      return {};
    });
    const double t_grid = seconds_since(t0);
    if (!built) {
      std::fprintf(stderr, "%s\n", built.error().render().c_str());
      return 1;
    }
    t0 = Clock::now();
    auto binned = fq::par::for_each(n_cols, [&](std::size_t j) -> fq::Status {
      FQ_TRY(fq::data::bin_values(cols[j], grids[j]));
      return {};
    });
    const double t_bin = seconds_since(t0);
    t0 = Clock::now();
    auto all = fq::data::bin_columns(spans, std::nullopt, config, 0);
    const double t_all = seconds_since(t0);
    if (!binned || !all) return 1;
    const double cells = static_cast<double>(n_rows * n_cols);
    std::printf("%-12s %8d %12.3f %16.0f\n", "build_grid", threads, t_grid, cells / t_grid);
    std::printf("%-12s %8d %12.3f %16.0f\n", "bin_values", threads, t_bin, cells / t_bin);
    std::printf("%-12s %8d %12.3f %16.0f\n", "bin_columns", threads, t_all, cells / t_all);
  }
  return 0;
}
