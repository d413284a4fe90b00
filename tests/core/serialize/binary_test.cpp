#include "core/serialize/binary.h"

#include <gtest/gtest.h>

#include <limits>

namespace fq::serialize {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ByteWriter, VariableLengthFormAtEachBoundary) {
  const std::pair<std::uint64_t, Bytes> cases[] = {
      {0, {0x00}},
      {250, {0xFA}},
      {251, {0xFB, 0xFB, 0x00}},
      {300, {0xFB, 0x2C, 0x01}},
      {65535, {0xFB, 0xFF, 0xFF}},
      {65536, {0xFC, 0x00, 0x00, 0x01, 0x00}},
      {4294967295ULL, {0xFC, 0xFF, 0xFF, 0xFF, 0xFF}},
      {4294967296ULL, {0xFD, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00}},
  };
  for (const auto& [v, bytes] : cases) {
    ByteWriter w;
    w.varint(v);
    EXPECT_EQ(w.bytes(), bytes) << v;
    ByteReader r(bytes);
    EXPECT_EQ(r.varint().value(), v);
    EXPECT_EQ(r.remaining(), 0u);
  }
}

TEST(ByteWriter, ScalarsStringsAndOptions) {
  ByteWriter w;
  w.f32(0.5f);
  w.f64(-2.0);
  w.boolean(true);
  w.string("h\u00e9");
  w.option(false);
  w.u8(7);
  const Bytes expected{0x00, 0x00, 0x00, 0x3F, 0, 0, 0, 0, 0, 0, 0x00, 0xC0, 0x01, 0x03, 'h', 0xC3, 0xA9, 0x00, 0x07};
  EXPECT_EQ(w.bytes(), expected);
  ByteReader r(expected);
  EXPECT_EQ(r.f32().value(), 0.5f);
  EXPECT_EQ(r.f64().value(), -2.0);
  EXPECT_TRUE(r.boolean().value());
  EXPECT_EQ(r.string().value(), "h\u00e9");
  EXPECT_FALSE(r.option().value());
  EXPECT_EQ(r.u8().value(), 7);
  EXPECT_EQ(r.position(), expected.size());
}

struct BadInput {
  Bytes bytes;
  std::function<Status(ByteReader&)> read;
  const char* what;
};

TEST(ByteReader, RefusesMalformedInputWithoutTrustingLengths) {
  auto as_status = [](auto r) -> Status {
    if (!r) return fail(r.error());
    return {};
  };
  const BadInput cases[] = {
      {{}, [&](ByteReader& r) { return as_status(r.u8()); }, "empty input"},
      {{0x00, 0x00, 0x80}, [&](ByteReader& r) { return as_status(r.f32()); }, "truncated float"},
      {{0xFB, 0x01}, [&](ByteReader& r) { return as_status(r.varint()); }, "truncated varint"},
      {{0xFE}, [&](ByteReader& r) { return as_status(r.varint()); }, "marker 254"},
      {{0xFF}, [&](ByteReader& r) { return as_status(r.varint()); }, "marker 255"},
      {{0xFC, 0x00, 0x00, 0x01, 0x00}, [&](ByteReader& r) { return as_status(r.u16()); }, "n_bins above 65535"},
      {{0xFD, 0, 0, 0, 0, 1, 0, 0, 0}, [&](ByteReader& r) { return as_status(r.u32()); }, "u32 overflow"},
      {{0x02}, [&](ByteReader& r) { return as_status(r.boolean()); }, "bool byte 2"},
      {{0x02}, [&](ByteReader& r) { return as_status(r.option()); }, "option tag 2"},
      {{0x03}, [&](ByteReader& r) { return as_status(r.variant(3, "Link")); }, "variant out of range"},
      {{0x05, 'a', 'b'}, [&](ByteReader& r) { return as_status(r.string()); }, "string longer than input"},
      {{0x02, 0xC0, 0x80}, [&](ByteReader& r) { return as_status(r.string()); }, "overlong UTF-8"},
      {{0x03, 0xED, 0xA0, 0x80}, [&](ByteReader& r) { return as_status(r.string()); }, "surrogate"},
      {{0x02, 0xE2, 0x82}, [&](ByteReader& r) { return as_status(r.string()); }, "truncated UTF-8"},
      // 2^63 - 1 elements claimed by a 14-byte input.
      {{0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0, 0},
       [&](ByteReader& r) { return as_status(r.length(1)); }, "huge sequence"},
      {{0x03, 0, 0, 0, 0, 0, 0, 0, 0}, [&](ByteReader& r) { return as_status(r.length(4)); }, "3 floats in 8 bytes"},
  };
  for (const auto& c : cases) {
    ByteReader r(c.bytes);
    auto s = c.read(r);
    ASSERT_FALSE(s.has_value()) << c.what;
    EXPECT_EQ(s.error().kind(), CoreError::Kind::Serialization) << c.what;
  }
}

TEST(Utf8, AcceptsWellFormedText) {
  for (std::string_view s : {"", "plain", "caf\u00e9", "\u20ac", "\U0001F600", "\u00a702.7"}) EXPECT_TRUE(valid_utf8(s)) << s;
  EXPECT_FALSE(valid_utf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(valid_utf8("\x80"));
}

}  // namespace
}  // namespace fq::serialize
