// The one place where the core runs work on several threads.
//
// Work is split into tasks by index (a column, or a fixed chunk of rows whose
// size is a compile-time constant of the caller, never derived from the
// thread count). Results are collected by index and partial sums are combined
// by the caller in index order, so every result is bit-identical for any
// number of threads. When tasks fail, the error of the lowest failing index is
// returned, whatever the thread count.
//
// Thread count: `threads()` is the count set for the current call on this
// thread by a `ThreadsForCall` guard (a fit with `n_jobs` sets one), else the
// process default. Calls made from inside a parallel task run sequentially.
// No exception leaves a task: a throwing task becomes an Internal error.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "core/error.h"

namespace fq::par {

// Threads used by the next parallel call made on this thread.
int threads();
bool in_parallel_region();

// Sets the thread count for the parallel calls made on this thread while the
// guard lives; n <= 0 means the process default.
class ThreadsForCall {
 public:
  explicit ThreadsForCall(int n);
  ~ThreadsForCall();
  ThreadsForCall(const ThreadsForCall&) = delete;
  ThreadsForCall& operator=(const ThreadsForCall&) = delete;

 private:
  int previous_;
};

constexpr std::size_t chunk_count(std::size_t n, std::size_t chunk) { return (n + chunk - 1) / chunk; }

namespace detail {

template <class F>
Status run_guarded(F& task, std::size_t i) {
  try {
    return task(i);
  } catch (const std::bad_alloc&) {
    return fail(CoreError::internal("parallel task allocation failed"));
  } catch (...) {
    return fail(CoreError::internal("parallel task escaped an exception"));
  }
}

// Runs task(i) for i in [0, n) on `n_threads` threads. Once index f has
// failed, indices above f are skipped; every index below the lowest failure
// still runs, so the reported error is always that of the lowest failing
// index.
template <class F>
Status run_indexed(std::size_t n, int n_threads, F& task) {
  std::atomic<std::size_t> first_failed{n};
  std::vector<std::optional<CoreError>> errors;
  try {
    errors.resize(n);
  } catch (...) {
    return fail(CoreError::internal("parallel error slots allocation failed"));
  }
  const auto count = static_cast<long long>(n);
#pragma omp parallel for schedule(dynamic, 1) num_threads(n_threads)
  for (long long k = 0; k < count; ++k) {
    const auto i = static_cast<std::size_t>(k);
    if (i > first_failed.load(std::memory_order_relaxed)) continue;
    Status s = run_guarded(task, i);
    if (!s) {
      errors[i] = std::move(s).error();
      std::size_t seen = first_failed.load(std::memory_order_relaxed);
      while (i < seen && !first_failed.compare_exchange_weak(seen, i, std::memory_order_relaxed)) {
      }
    }
  }
  const std::size_t f = first_failed.load();
  if (f < n) return fail(std::move(*errors[f]));
  return {};
}

}  // namespace detail

// Runs task(i) -> Status for every i in [0, n).
template <class F>
Status for_each(std::size_t n, F&& task) {
  if (n == 0) return {};
  const int n_threads = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(threads()), n));
  if (n_threads <= 1 || in_parallel_region()) {
    for (std::size_t i = 0; i < n; ++i) FQ_TRY(detail::run_guarded(task, i));
    return {};
  }
  return detail::run_indexed(n, n_threads, task);
}

// Runs task(i) -> Result<T> for every i in [0, n); the values in index order.
template <class T, class F>
Result<std::vector<T>> map(std::size_t n, F&& task) {
  std::vector<std::optional<T>> slots;
  std::vector<T> out;
  try {
    slots.resize(n);
    out.reserve(n);
  } catch (...) {
    return fail(CoreError::internal("parallel result allocation failed"));
  }
  FQ_TRY(for_each(n, [&](std::size_t i) -> Status {
    Result<T> r = task(i);
    if (!r) return fail(std::move(r).error());
    slots[i].emplace(std::move(*r));
    return {};
  }));
  for (auto& s : slots) out.push_back(std::move(*s));
  return out;
}

// Runs task(chunk_index, begin, end) -> Status over the chunks of `chunk`
// items that tile [0, n), the first starting at 0. Inputs of fewer than
// `chunk` items make one chunk and run on the calling thread.
template <class F>
Status for_each_chunk(std::size_t n, std::size_t chunk, F&& task) {
  const std::size_t n_chunks = chunk_count(n, chunk);
  return for_each(n_chunks, [&](std::size_t c) -> Status {
    const std::size_t begin = c * chunk;
    return task(c, begin, std::min(n, begin + chunk));
  });
}

}  // namespace fq::par
