#include "core/serialize/binary.h"

#include <bit>

#include "core/format.h"

namespace fq::serialize {
namespace {

template <class T>
void put_le(std::vector<std::uint8_t>& out, T v) {
  for (std::size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

void ByteWriter::varint(std::uint64_t v) {
  if (v <= 250) {
    out_.push_back(static_cast<std::uint8_t>(v));
  } else if (v <= 0xFFFF) {
    out_.push_back(251);
    put_le(out_, static_cast<std::uint16_t>(v));
  } else if (v <= 0xFFFFFFFFULL) {
    out_.push_back(252);
    put_le(out_, static_cast<std::uint32_t>(v));
  } else {
    out_.push_back(253);
    put_le(out_, v);
  }
}

void ByteWriter::f32(float v) { put_le(out_, std::bit_cast<std::uint32_t>(v)); }
void ByteWriter::f64(double v) { put_le(out_, std::bit_cast<std::uint64_t>(v)); }

void ByteWriter::string(std::string_view s) {
  varint(s.size());
  out_.insert(out_.end(), s.begin(), s.end());
}

Status ByteReader::need(std::size_t n) const {
  if (remaining() < n) {
    return fail(CoreError::serialization(
        fmt::cat("unexpected end of input: need ", n, " bytes at offset ", pos_, ", ", remaining(), " left")));
  }
  return {};
}

Result<std::uint8_t> ByteReader::u8() {
  FQ_TRY(need(1));
  return in_[pos_++];
}

Result<bool> ByteReader::boolean() {
  const std::size_t at = pos_;
  FQ_ASSIGN_OR_RETURN(const std::uint8_t b, u8());
  if (b > 1) return fail(CoreError::serialization(fmt::cat("invalid bool byte ", b, " at offset ", at)));
  return b == 1;
}

Result<std::uint64_t> ByteReader::varint() {
  const std::size_t at = pos_;
  FQ_ASSIGN_OR_RETURN(const std::uint8_t marker, u8());
  if (marker <= 250) return marker;
  std::size_t width = 0;
  switch (marker) {
    case 251: width = 2; break;
    case 252: width = 4; break;
    case 253: width = 8; break;
    default:
      return fail(CoreError::serialization(fmt::cat("invalid variable-length marker ", marker, " at offset ", at)));
  }
  FQ_TRY(need(width));
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < width; ++i) v |= static_cast<std::uint64_t>(in_[pos_ + i]) << (8 * i);
  pos_ += width;
  return v;
}

Result<std::uint16_t> ByteReader::u16() {
  const std::size_t at = pos_;
  FQ_ASSIGN_OR_RETURN(const std::uint64_t v, varint());
  if (v > 0xFFFF) return fail(CoreError::serialization(fmt::cat("value ", v, " at offset ", at, " does not fit u16")));
  return static_cast<std::uint16_t>(v);
}

Result<std::uint32_t> ByteReader::u32() {
  const std::size_t at = pos_;
  FQ_ASSIGN_OR_RETURN(const std::uint64_t v, varint());
  if (v > 0xFFFFFFFFULL) {
    return fail(CoreError::serialization(fmt::cat("value ", v, " at offset ", at, " does not fit u32")));
  }
  return static_cast<std::uint32_t>(v);
}

Result<float> ByteReader::f32() {
  FQ_TRY(need(4));
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(in_[pos_ + i]) << (8 * i);
  pos_ += 4;
  return std::bit_cast<float>(bits);
}

Result<double> ByteReader::f64() {
  FQ_TRY(need(8));
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(in_[pos_ + i]) << (8 * i);
  pos_ += 8;
  return std::bit_cast<double>(bits);
}

Result<std::string> ByteReader::string() {
  FQ_ASSIGN_OR_RETURN(const std::size_t n, length(1));
  const std::size_t at = pos_;
  std::string s(reinterpret_cast<const char*>(in_.data() + pos_), n);
  pos_ += n;
  if (!valid_utf8(s)) return fail(CoreError::serialization(fmt::cat("invalid UTF-8 in string at offset ", at)));
  return s;
}

Result<std::size_t> ByteReader::length(std::size_t min_element_bytes) {
  const std::size_t at = pos_;
  FQ_ASSIGN_OR_RETURN(const std::uint64_t n, varint());
  const std::size_t per = min_element_bytes == 0 ? 1 : min_element_bytes;
  if (n > remaining() / per) {
    return fail(CoreError::serialization(
        fmt::cat("sequence length ", n, " at offset ", at, " exceeds the ", remaining(), " bytes left")));
  }
  return static_cast<std::size_t>(n);
}

Result<std::uint32_t> ByteReader::variant(std::uint32_t n_variants, std::string_view type) {
  const std::size_t at = pos_;
  FQ_ASSIGN_OR_RETURN(const std::uint64_t v, varint());
  if (v >= n_variants) {
    return fail(CoreError::serialization(
        fmt::cat("invalid ", type, " variant index ", v, " at offset ", at, ", expected < ", n_variants)));
  }
  return static_cast<std::uint32_t>(v);
}

Result<bool> ByteReader::option() {
  const std::size_t at = pos_;
  FQ_ASSIGN_OR_RETURN(const std::uint8_t tag, u8());
  if (tag > 1) return fail(CoreError::serialization(fmt::cat("invalid option tag ", tag, " at offset ", at)));
  return tag == 1;
}

bool valid_utf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      n = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (s.size() - i <= n) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    static constexpr std::uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n + 1;
  }
  return true;
}

}  // namespace fq::serialize
