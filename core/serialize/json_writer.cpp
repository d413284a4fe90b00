#include "core/serialize/json_writer.h"

#include <cmath>

#include "core/format.h"

namespace fq::serialize {

void append_json_string(std::string& out, std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\n': out.append("\\n"); break;
      case '\r': out.append("\\r"); break;
      case '\t': out.append("\\t"); break;
      case '\b': out.append("\\b"); break;
      case '\f': out.append("\\f"); break;
      default:
        if (u < 0x20) {
          out.append("\\u00");
          out.push_back(kHex[u >> 4]);
          out.push_back(kHex[u & 0xf]);
        } else {
          out.push_back(c);
        }
    }
  }
  out.push_back('"');
}

void JsonWriter::before_value() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (counts_.empty()) return;
  if (counts_.back()++ > 0) out_.push_back(',');
  out_.push_back('\n');
  out_.append(2 * counts_.size(), ' ');
}

void JsonWriter::key(std::string_view k) {
  before_value();
  append_json_string(out_, k);
  out_.append(": ");
  after_key_ = true;
}

void JsonWriter::open(char bracket) {
  before_value();
  out_.push_back(bracket);
  counts_.push_back(0);
}

void JsonWriter::close(char bracket) {
  const std::size_t n = counts_.back();
  counts_.pop_back();
  if (n > 0) {
    out_.push_back('\n');
    out_.append(2 * counts_.size(), ' ');
  }
  out_.push_back(bracket);
}

void JsonWriter::string(std::string_view s) {
  before_value();
  append_json_string(out_, s);
}

template <class F>
void JsonWriter::number(F v) {
  before_value();
  if (!std::isfinite(v)) {
    out_.append("null");
    return;
  }
  fmt::append_float(out_, v, fmt::Point::Keep);
}

void JsonWriter::f32(float v) { number(v); }
void JsonWriter::f64(double v) { number(v); }

void JsonWriter::u64(std::uint64_t v) {
  before_value();
  fmt::append_unsigned(out_, v);
}

void JsonWriter::i64(std::int64_t v) {
  before_value();
  fmt::append_integer(out_, v);
}

void JsonWriter::boolean(bool v) {
  before_value();
  out_.append(v ? "true" : "false");
}

void JsonWriter::null() {
  before_value();
  out_.append("null");
}

}  // namespace fq::serialize
