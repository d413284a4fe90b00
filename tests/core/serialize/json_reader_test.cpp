#include "core/serialize/json_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace fq::serialize {
namespace {

TEST(ParseJson, ReadsOneDocument) {
  auto doc = parse_json(" {\"a\": [1, 2.5, null], \"b\": {\"c\": \"x\"}} \n");
  ASSERT_TRUE(doc.has_value()) << doc.error().render();
  EXPECT_EQ((*doc)["a"][1].get<double>(), 2.5);
  EXPECT_EQ((*doc)["b"]["c"].get<std::string>(), "x");
  // The same key in different objects is fine.
  EXPECT_TRUE(parse_json("{\"a\": {\"a\": 1}, \"b\": {\"a\": 2}}").has_value());
}

TEST(ParseJson, RefusesBadDocumentsAsSerializationErrors) {
  const std::string deep = std::string(200, '[') + std::string(200, ']');
  const std::string at_limit = std::string(kMaxJsonDepth, '[') + std::string(kMaxJsonDepth, ']');
  EXPECT_TRUE(parse_json(at_limit).has_value());
  const std::pair<std::string, const char*> cases[] = {
      {"{\"a\": 1, \"a\": 2}", "duplicate key \"a\" in JSON object"},
      {"{\"o\": {\"k\": 1, \"k\": 1}}", "duplicate key \"k\" in JSON object"},
      {deep, "JSON nesting deeper than 64 levels"},
      {"{} x", nullptr},
      {"{\"a\": }", nullptr},
      {"", nullptr},
      {"[1, 2", nullptr},
      {"\"\xC0\x80\"", nullptr},
  };
  for (const auto& [text, message] : cases) {
    auto doc = parse_json(text);
    ASSERT_FALSE(doc.has_value()) << text.substr(0, 40);
    EXPECT_EQ(doc.error().kind(), CoreError::Kind::Serialization);
    if (message != nullptr) {
      EXPECT_EQ(doc.error().message(), message);
    }
  }
}

}  // namespace
}  // namespace fq::serialize
