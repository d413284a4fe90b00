// The compact binary encoding of documents: its bytes are fixed.
//
// Integers of 16 bits and wider, sequence lengths and enum indices use a
// variable-length form: a value <= 250 is one byte; <= 65535 is 251 and 2
// bytes; <= 4294967295 is 252 and 4 bytes; larger is 253 and 8 bytes, always
// the shortest form. Multi-byte quantities are little-endian; uint8 and bool
// are one byte; strings and sequences carry their length first.
//
// The reader never trusts a length from its input: a sequence can claim no
// more elements than the remaining bytes could hold, so a few bytes cannot
// make it allocate a lot, and every read is bounds-checked.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace fq::serialize {

class ByteWriter {
 public:
  void u8(std::uint8_t v) { out_.push_back(v); }
  void boolean(bool v) { out_.push_back(v ? 1 : 0); }
  void varint(std::uint64_t v);
  void f32(float v);
  void f64(double v);
  void string(std::string_view s);
  // The element count of a sequence, an enum index or an option tag.
  void length(std::size_t n) { varint(n); }
  void option(bool present) { out_.push_back(present ? 1 : 0); }

  const std::vector<std::uint8_t>& bytes() const { return out_; }
  std::vector<std::uint8_t> take() { return std::move(out_); }

 private:
  std::vector<std::uint8_t> out_;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> input) : in_(input) {}

  Result<std::uint8_t> u8();
  Result<bool> boolean();
  Result<std::uint64_t> varint();
  // A variable-length value that must fit the field's width.
  Result<std::uint16_t> u16();
  Result<std::uint32_t> u32();
  Result<float> f32();
  Result<double> f64();
  Result<std::string> string();
  // A sequence length; each element takes at least `min_element_bytes`
  // bytes, so a count the remaining input cannot hold is refused.
  Result<std::size_t> length(std::size_t min_element_bytes);
  // An enum index below `n_variants`.
  Result<std::uint32_t> variant(std::uint32_t n_variants, std::string_view type);
  Result<bool> option();

  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return in_.size() - pos_; }

 private:
  Status need(std::size_t n) const;
  std::span<const std::uint8_t> in_;
  std::size_t pos_ = 0;
};

// True when `s` is well-formed UTF-8 (no overlongs, surrogates or values
// beyond U+10FFFF).
bool valid_utf8(std::string_view s);

}  // namespace fq::serialize
