#include "core/parallel.h"

#include <omp.h>

namespace fq::par {
namespace {
thread_local int t_threads_for_call = 0;
}

int threads() {
  if (t_threads_for_call > 0) return t_threads_for_call;
  return std::max(1, omp_get_max_threads());
}

bool in_parallel_region() { return omp_in_parallel() != 0; }

ThreadsForCall::ThreadsForCall(int n) : previous_(t_threads_for_call) { t_threads_for_call = n > 0 ? n : 0; }
ThreadsForCall::~ThreadsForCall() { t_threads_for_call = previous_; }

}  // namespace fq::par
