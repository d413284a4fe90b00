#include "core/format.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace fq::fmt {
namespace {

// Rewrites the shortest scientific form ("-1.2345e-07") in plain notation.
// std::to_chars with chars_format::fixed does not give the shortest digits for
// large values (float32 1e20 prints as 100000002004087734272), so the digits
// come from the scientific form and the point is placed here.
void plain_from_scientific(std::string& out, std::string_view sci, Point point) {
  std::size_t i = 0;
  if (sci[i] == '-') {
    out.push_back('-');
    ++i;
  }
  std::string digits;
  for (; i < sci.size() && sci[i] != 'e'; ++i) {
    if (sci[i] != '.') digits.push_back(sci[i]);
  }
  int exponent = 0;
  if (i < sci.size()) {
    std::string_view e = sci.substr(i + 1);
    if (!e.empty() && e[0] == '+') e.remove_prefix(1);
    std::from_chars(e.data(), e.data() + e.size(), exponent);
  }
  // The value is 0.d1d2...dn x 10^(exponent + 1).
  const long n = static_cast<long>(digits.size());
  const long before_point = exponent + 1;
  bool has_point = false;
  if (before_point <= 0) {
    out.append("0.");
    out.append(static_cast<std::size_t>(-before_point), '0');
    out.append(digits);
    has_point = true;
  } else if (before_point >= n) {
    out.append(digits);
    out.append(static_cast<std::size_t>(before_point - n), '0');
  } else {
    out.append(digits, 0, static_cast<std::size_t>(before_point));
    out.push_back('.');
    out.append(digits, static_cast<std::size_t>(before_point), std::string::npos);
    has_point = true;
  }
  if (!has_point && point == Point::Keep) out.append(".0");
}

template <class F>
void append_float_impl(std::string& out, F v, Point point) {
  if (std::isnan(v)) {
    out.append("NaN");
    return;
  }
  if (std::isinf(v)) {
    out.append(v < 0 ? "-inf" : "inf");
    return;
  }
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  plain_from_scientific(out, std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)), point);
}

}  // namespace

void append_float(std::string& out, float v, Point point) { append_float_impl(out, v, point); }
void append_float(std::string& out, double v, Point point) { append_float_impl(out, v, point); }

void append_integer(std::string& out, std::int64_t v) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, res.ptr);
}

void append_unsigned(std::string& out, std::uint64_t v) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, res.ptr);
}

std::string f32(float v, Point point) {
  std::string s;
  append_float(s, v, point);
  return s;
}

std::string f64(double v, Point point) {
  std::string s;
  append_float(s, v, point);
  return s;
}

std::string quoted(std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(s.size() + 2);
  out.push_back('"');
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\n': out.append("\\n"); break;
      case '\r': out.append("\\r"); break;
      case '\t': out.append("\\t"); break;
      case '\0': out.append("\\0"); break;
      default:
        if (u < 0x20 || u == 0x7f) {
          out.append("\\u{");
          if (u >= 0x10) out.push_back(kHex[u >> 4]);
          out.push_back(kHex[u & 0xf]);
          out.push_back('}');
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
  return out;
}

std::string feature_id(std::uint32_t raw) { return cat("FeatureId(", raw, ")"); }
std::string ts_encoding_id(std::uint8_t id) { return cat("TsEncodingId(", id, ")"); }

}  // namespace fq::fmt
