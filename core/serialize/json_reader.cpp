#include "core/serialize/json_reader.h"

#include <set>
#include <string>
#include <vector>

#include "core/format.h"

namespace fq::serialize {

Result<nlohmann::json> parse_json(std::string_view text) {
  using json = nlohmann::json;
  // Keys seen in each open object, to refuse a duplicated key; the parser
  // itself would silently keep the last one.
  std::vector<std::set<std::string>> keys;
  std::string problem;
  auto callback = [&](int depth, json::parse_event_t event, json& parsed) -> bool {
    if (!problem.empty()) return false;
    switch (event) {
      case json::parse_event_t::object_start:
      case json::parse_event_t::array_start:
        if (static_cast<std::size_t>(depth) >= kMaxJsonDepth) {
          problem = fmt::cat("JSON nesting deeper than ", kMaxJsonDepth, " levels");
          return false;
        }
        if (event == json::parse_event_t::object_start) keys.emplace_back();
        break;
      case json::parse_event_t::object_end:
        if (!keys.empty()) keys.pop_back();
        break;
      case json::parse_event_t::key: {
        const auto& k = parsed.get_ref<const std::string&>();
        if (!keys.empty() && !keys.back().insert(k).second) {
          problem = fmt::cat("duplicate key ", fmt::quoted(k), " in JSON object");
          return false;
        }
        break;
      }
      default:
        break;
    }
    return true;
  };
  try {
    json doc = json::parse(text.begin(), text.end(), callback, /*allow_exceptions=*/true);
    if (!problem.empty()) return fail(CoreError::serialization(problem));
    return doc;
  } catch (const json::exception& e) {
    if (!problem.empty()) return fail(CoreError::serialization(problem));
    return fail(CoreError::serialization(e.what()));
  } catch (const std::bad_alloc&) {
    return fail(CoreError::serialization("JSON document allocation failed"));
  }
}

}  // namespace fq::serialize
