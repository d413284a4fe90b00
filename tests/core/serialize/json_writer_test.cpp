#include "core/serialize/json_writer.h"

#include <gtest/gtest.h>

#include <limits>
#include <nlohmann/json.hpp>

namespace fq::serialize {
namespace {

TEST(JsonWriter, PrettyLayout) {
  JsonWriter w;
  w.begin_object();
  w.key("format_version");
  w.u64(1);
  w.key("f0");
  w.f32(0.5f);
  w.key("trees");
  w.begin_array();
  w.begin_array();
  w.f32(1.0f);
  w.begin_object();
  w.key("splits");
  w.begin_array();
  w.end_array();
  w.key("m");
  w.begin_object();
  w.end_object();
  w.end_object();
  w.end_array();
  w.end_array();
  w.key("kind");
  w.begin_object();
  w.key("CategoricalTS");
  w.begin_object();
  w.key("encoding");
  w.u64(0);
  w.end_object();
  w.end_object();
  w.key("class_labels");
  w.null();
  w.key("ok");
  w.boolean(false);
  w.end_object();
  const std::string expected =
      "{\n"
      "  \"format_version\": 1,\n"
      "  \"f0\": 0.5,\n"
      "  \"trees\": [\n"
      "    [\n"
      "      1.0,\n"
      "      {\n"
      "        \"splits\": [],\n"
      "        \"m\": {}\n"
      "      }\n"
      "    ]\n"
      "  ],\n"
      "  \"kind\": {\n"
      "    \"CategoricalTS\": {\n"
      "      \"encoding\": 0\n"
      "    }\n"
      "  },\n"
      "  \"class_labels\": null,\n"
      "  \"ok\": false\n"
      "}";
  EXPECT_EQ(w.take(), expected);
}

TEST(JsonWriter, FloatsAndStrings) {
  JsonWriter w;
  w.begin_array();
  w.f32(0.1f);
  w.f64(0.1);
  w.f32(1e20f);
  w.f64(-0.0);
  w.f64(std::numeric_limits<double>::quiet_NaN());
  w.f32(-std::numeric_limits<float>::infinity());
  w.i64(-3);
  w.string("a\"b\\c\n\x01\u00e9");
  w.end_array();
  const std::string text = w.take();
  EXPECT_EQ(text,
            "[\n  0.1,\n  0.1,\n  100000000000000000000.0,\n  -0.0,\n  null,\n  null,\n  -3,\n"
            "  \"a\\\"b\\\\c\\n\\u0001\u00e9\"\n]");
  // A JSON reader gets back the float32 and float64 values bit for bit.
  const auto parsed = nlohmann::json::parse(text);
  EXPECT_EQ(static_cast<float>(parsed[0].get<double>()), 0.1f);
  EXPECT_EQ(parsed[1].get<double>(), 0.1);
  EXPECT_EQ(parsed[7].get<std::string>(), "a\"b\\c\n\x01\u00e9");
}

}  // namespace
}  // namespace fq::serialize
