// The fixed pretty JSON layout of documents and exports.
//
// Two-space indentation, a newline after each opening bracket and after each
// comma, ": " between key and value, [] and {} for empty containers, no
// trailing newline. Floats are the shortest text that reads back to the same
// float32 or float64 and keep a decimal point for whole numbers (1.0); a
// non-finite float, which JSON cannot hold, is written as null.
//
//   JsonWriter w;
//   w.begin_object();
//   w.key("m"); w.f32(1.0f);
//   w.end_object();
//   w.take() == "{\n  \"m\": 1.0\n}"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fq::serialize {

class JsonWriter {
 public:
  void begin_object() { open('{'); }
  void end_object() { close('}'); }
  void begin_array() { open('['); }
  void end_array() { close(']'); }
  // The key of the next value inside an object.
  void key(std::string_view k);

  void string(std::string_view s);
  void f32(float v);
  void f64(double v);
  void u64(std::uint64_t v);
  void i64(std::int64_t v);
  void boolean(bool v);
  void null();

  std::string take() { return std::move(out_); }

 private:
  void open(char bracket);
  void close(char bracket);
  // Separator and indentation before a value; after a key there is none.
  void before_value();
  template <class F>
  void number(F v);

  std::string out_;
  std::vector<std::size_t> counts_;  // elements written in each open container
  bool after_key_ = false;
};

// A JSON string literal of `s`: quotes, backslash escapes for the quote, the
// backslash and control characters (\n, \r, \t, \b, \f, else \u00XX).
void append_json_string(std::string& out, std::string_view s);

}  // namespace fq::serialize
