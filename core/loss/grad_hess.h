// The per-row derivative buffer the driver owns and reuses across rounds.
//
// An operation that fills it first resizes both arrays to exactly the row
// count (truncating, or appending zeros), then writes every row; capacity is
// never given back.
#pragma once

#include <cstddef>
#include <vector>

namespace fq::loss {

struct GradHess {
  std::vector<float> g;
  std::vector<float> h;

  void resize(std::size_t n) {
    g.resize(n);
    h.resize(n);
  }
};

}  // namespace fq::loss
