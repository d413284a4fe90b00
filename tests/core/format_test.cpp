#include "core/format.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

namespace fq::fmt {
namespace {

TEST(FormatFloat, PlainShortestForms) {
  const std::pair<float, const char*> f32_cases[] = {
      {1.0f, "1"},
      {0.05f, "0.05"},
      {-0.0f, "-0"},
      {0.0f, "0"},
      {0.0000001f, "0.0000001"},
      {1e20f, "100000000000000000000"},
      {1.5f, "1.5"},
      {-2.25f, "-2.25"},
      {0.1f, "0.1"},
      {123456.0f, "123456"},
      {16777216.0f, "16777216"},
      {3.4028235e38f, "340282350000000000000000000000000000000"},
      {1e-45f, "0.000000000000000000000000000000000000000000001"},
      {std::numeric_limits<float>::quiet_NaN(), "NaN"},
      {std::numeric_limits<float>::infinity(), "inf"},
      {-std::numeric_limits<float>::infinity(), "-inf"},
  };
  for (const auto& [v, text] : f32_cases) EXPECT_EQ(f32(v), text) << text;

  const std::pair<double, const char*> f64_cases[] = {
      {0.1, "0.1"},
      {1.0 / 3.0, "0.3333333333333333"},
      {1e20, "100000000000000000000"},
      {static_cast<double>(0.7f), "0.699999988079071"},
      {-1e-7, "-0.0000001"},
      {std::log(3.0), "1.0986122886681098"},
      {5.0, "5"},
  };
  for (const auto& [v, text] : f64_cases) EXPECT_EQ(f64(v), text) << text;
}

TEST(FormatFloat, KeepPointForDocuments) {
  EXPECT_EQ(f32(1.0f, Point::Keep), "1.0");
  EXPECT_EQ(f64(-0.0, Point::Keep), "-0.0");
  EXPECT_EQ(f64(1e20, Point::Keep), "100000000000000000000.0");
  EXPECT_EQ(f32(0.5f, Point::Keep), "0.5");
  EXPECT_EQ(f64(std::numeric_limits<double>::quiet_NaN(), Point::Keep), "NaN");
}

// The fewest significant digits that read back to v, found with printf.
template <class F>
std::size_t shortest_digits(F v) {
  for (int p = 1; p <= 17; ++p) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", p - 1, static_cast<double>(v));
    F back{};
    std::from_chars(buf, buf + std::strlen(buf), back);
    if (back == v) return static_cast<std::size_t>(p);
  }
  return 17;
}

// A float must read back to the same bits, with no exponent, and with the
// fewest significant digits that do so.
template <class F, class Bits>
void expect_round_trip(F v) {
  const std::string s = std::is_same_v<F, float> ? f32(static_cast<float>(v)) : f64(static_cast<double>(v));
  ASSERT_EQ(s.find_first_of("eE"), std::string::npos) << s;
  F back{};
  auto res = std::from_chars(s.data(), s.data() + s.size(), back);
  ASSERT_EQ(res.ec, std::errc()) << s;
  ASSERT_EQ(res.ptr, s.data() + s.size()) << s;
  EXPECT_EQ(std::bit_cast<Bits>(back), std::bit_cast<Bits>(v)) << s;
  std::string digits;
  for (char c : s) {
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  const auto first = digits.find_first_not_of('0');
  const auto last = digits.find_last_not_of('0');
  const std::size_t sig = first == std::string::npos ? 1 : last - first + 1;
  EXPECT_EQ(sig, shortest_digits(v)) << s;
}

TEST(FormatFloat, RandomValuesRoundTrip) {
  std::mt19937_64 gen(12345);
  for (int i = 0; i < 20000; ++i) {
    const auto b32 = static_cast<std::uint32_t>(gen());
    const float f = std::bit_cast<float>(b32);
    if (std::isfinite(f)) expect_round_trip<float, std::uint32_t>(f);
    const std::uint64_t b64 = gen();
    const double d = std::bit_cast<double>(b64);
    // Keep doubles to a modest exponent range so the plain text stays short.
    if (std::isfinite(d) && (d == 0.0 || std::fabs(std::log10(std::fabs(d))) < 40)) {
      expect_round_trip<double, std::uint64_t>(d);
    }
  }
}

TEST(FormatText, QuotedAndIdentifierForms) {
  EXPECT_EQ(quoted("abc"), "\"abc\"");
  EXPECT_EQ(quoted("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(quoted("line\nnext\ttab\r"), "\"line\\nnext\\ttab\\r\"");
  EXPECT_EQ(quoted(std::string_view("\x01\x1f", 2)), "\"\\u{1}\\u{1f}\"");
  EXPECT_EQ(quoted("caf\u00e9"), "\"caf\u00e9\"");
  EXPECT_EQ(feature_id(3), "FeatureId(3)");
  EXPECT_EQ(ts_encoding_id(0), "TsEncodingId(0)");
}

TEST(FormatText, CatWritesEachWidthAsItself) {
  const std::uint8_t max_bin = 255;
  EXPECT_EQ(cat("max_bin must be <= 254, got ", max_bin), "max_bin must be <= 254, got 255");
  EXPECT_EQ(cat("v=", 0.7f, " w=", static_cast<double>(0.7f)), "v=0.7 w=0.699999988079071");
  EXPECT_EQ(cat(std::int64_t{-5}, " ", std::uint64_t{18446744073709551615ULL}), "-5 18446744073709551615");
}

}  // namespace
}  // namespace fq::fmt
