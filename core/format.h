// Text helpers for every user-facing message, report line and document.
//
// Floats are written in the shortest decimal form that reads back to the same
// float32 (or float64), in plain notation: never an exponent, no trailing
// ".0" for whole numbers unless a document asks for one (1, 0.05, -0,
// 0.0000001, float32 1e20 as 100000000000000000000); NaN, inf and -inf for
// the special values. A float argument to `cat` is formatted as float32, a
// double as float64, so the width of the value decides its digits.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace fq::fmt {

// When a whole number must still read as a float (JSON documents: 1.0).
enum class Point : std::uint8_t { Trim, Keep };

void append_float(std::string& out, float v, Point point = Point::Trim);
void append_float(std::string& out, double v, Point point = Point::Trim);
void append_integer(std::string& out, std::int64_t v);
void append_unsigned(std::string& out, std::uint64_t v);

std::string f32(float v, Point point = Point::Trim);
std::string f64(double v, Point point = Point::Trim);

// Between double quotes, with backslash escapes for the quote, the backslash
// and control characters.
std::string quoted(std::string_view s);
// "FeatureId(3)", "TsEncodingId(0)".
std::string feature_id(std::uint32_t raw);
std::string ts_encoding_id(std::uint8_t id);

namespace detail {
inline void append_one(std::string& out, std::string_view s) { out.append(s); }
inline void append_one(std::string& out, const char* s) { out.append(s); }
inline void append_one(std::string& out, const std::string& s) { out.append(s); }
inline void append_one(std::string& out, float v) { append_float(out, v); }
inline void append_one(std::string& out, double v) { append_float(out, v); }
template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char>)
void append_one(std::string& out, T v) {
  if constexpr (std::is_signed_v<T>) {
    append_integer(out, static_cast<std::int64_t>(v));
  } else {
    append_unsigned(out, static_cast<std::uint64_t>(v));
  }
}
}  // namespace detail

// Concatenates strings, integers (uint8 included, as a number) and floats.
template <class... Args>
std::string cat(const Args&... args) {
  std::string out;
  (detail::append_one(out, args), ...);
  return out;
}

}  // namespace fq::fmt
