// The seeded draws against values computed independently of this code
// (tests/data/rng.json).
#include "core/rng.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

namespace fq::rng {
namespace {

nlohmann::json load_vectors() {
  std::ifstream in(std::string(FQ_TEST_DATA_DIR) + "/rng.json");
  EXPECT_TRUE(in.good());
  return nlohmann::json::parse(in);
}

std::uint64_t u64(const std::string& s) { return std::stoull(s); }

TEST(SeededDraws, Pcg64MatchesIndependentOutputs) {
  const auto v = load_vectors();
  ASSERT_GE(v["pcg64"].size(), 4u);
  for (const auto& [seed, outputs] : v["pcg64"].items()) {
    Pcg64 gen(u64(seed));
    for (const auto& expected : outputs) EXPECT_EQ(gen.next(), u64(expected.get<std::string>())) << "seed " << seed;
  }
}

TEST(SeededDraws, MixAndUnitMatchIndependentValues) {
  const auto v = load_vectors();
  for (const auto& [z, expected] : v["mix"].items()) EXPECT_EQ(mix(u64(z)), u64(expected.get<std::string>()));
  for (const auto& [z, expected] : v["unit"].items()) {
    EXPECT_EQ(unit(u64(z)), std::stod(expected.get<std::string>())) << z;
  }
}

TEST(SeededDraws, UnitIsNeverZeroAndAtMostOne) {
  EXPECT_GT(unit(0), 0.0);
  EXPECT_EQ(unit(~std::uint64_t{0}), 1.0);
}

}  // namespace
}  // namespace fq::rng
