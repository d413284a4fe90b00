// Reading JSON documents from outside: one document per text, no duplicate
// keys, bounded nesting, and every parser failure a Serialization error
// (nothing thrown past this file).
#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "core/error.h"

namespace fq::serialize {

// Deeper nesting than any document of this system needs is refused rather
// than recursed into.
inline constexpr std::size_t kMaxJsonDepth = 64;

// Trailing non-whitespace after the document is an error.
Result<nlohmann::json> parse_json(std::string_view text);

}  // namespace fq::serialize
