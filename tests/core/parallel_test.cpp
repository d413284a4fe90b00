#include "core/parallel.h"

#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>

namespace fq::par {
namespace {

TEST(Parallel, MapCollectsInIndexOrderForAnyThreadCount) {
  for (int t : {1, 2, 7}) {
    ThreadsForCall guard(t);
    auto r = map<std::size_t>(1000, [](std::size_t i) -> Result<std::size_t> { return i * i; });
    ASSERT_TRUE(r.has_value());
    for (std::size_t i = 0; i < r->size(); ++i) ASSERT_EQ((*r)[i], i * i);
  }
}

TEST(Parallel, ReportsTheLowestFailingIndex) {
  for (int t : {1, 2, 7}) {
    ThreadsForCall guard(t);
    auto r = map<int>(500, [](std::size_t i) -> Result<int> {
      if (i % 97 == 13) return fail(CoreError::invalid_input("bad " + std::to_string(i)));
      return static_cast<int>(i);
    });
    ASSERT_FALSE(r.has_value());
    EXPECT_EQ(r.error().message(), "bad 13") << t << " threads";
  }
}

TEST(Parallel, ThrowingTaskBecomesInternalError) {
  ThreadsForCall guard(2);
  auto s = for_each(10, [](std::size_t i) -> Status {
    if (i == 4) throw std::runtime_error("boom");
    return {};
  });
  ASSERT_FALSE(s.has_value());
  EXPECT_EQ(s.error().kind(), CoreError::Kind::Internal);
}

TEST(Parallel, ChunksTileTheRangeFromZero) {
  for (std::size_t n : {0u, 1u, 8191u, 8192u, 8193u, 20000u}) {
    std::vector<std::size_t> covered(n, 0);
    std::vector<std::pair<std::size_t, std::size_t>> spans(chunk_count(n, 8192));
    ThreadsForCall guard(2);
    ASSERT_TRUE(for_each_chunk(n, 8192, [&](std::size_t c, std::size_t b, std::size_t e) -> Status {
      spans[c] = {b, e};
      for (std::size_t i = b; i < e; ++i) ++covered[i];
      return {};
    }));
    for (std::size_t c = 0; c < spans.size(); ++c) EXPECT_EQ(spans[c].first, c * 8192);
    EXPECT_TRUE(std::all_of(covered.begin(), covered.end(), [](std::size_t k) { return k == 1; })) << n;
  }
}

TEST(Parallel, ThreadsForCallNestsAndRestores) {
  const int base = threads();
  {
    ThreadsForCall outer(3);
    EXPECT_EQ(threads(), 3);
    {
      ThreadsForCall inner(1);
      EXPECT_EQ(threads(), 1);
    }
    EXPECT_EQ(threads(), 3);
  }
  EXPECT_EQ(threads(), base);
}

}  // namespace
}  // namespace fq::par
