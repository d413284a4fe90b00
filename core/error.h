// The core's one error type.
//
// Every fallible operation of the core returns `Result<T>` (an alias of
// `std::expected<T, CoreError>`). A `CoreError` is one of nine kinds, each
// rendering as a single line with a fixed prefix. Callers pass errors upward
// unchanged; the Python layer converts each one exactly once.
//
// Example:
//
//   Result<int> parse_depth(int v) {
//     if (v > 3) return fail(CoreError::invalid_config(fmt::cat("depth must be <= 3, got ", v)));
//     return v;
//   }
//   Status use() {
//     FQ_ASSIGN_OR_RETURN(int depth, parse_depth(4));
//     ...
//   }
#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <utility>

namespace fq {

// The lossless-decomposition invariants checked by the explanation subsystem.
enum class Invariant : std::uint8_t {
  FeatureBudget = 0,
  Decomposability = 1,
  MassConservation = 2,
  Reconstruction = 3,
  VarianceSum = 4,
  ThreeWayEqual = 5,
};

std::string_view invariant_text(Invariant inv);

class CoreError {
 public:
  enum class Kind : std::uint8_t {
    InvalidInput = 0,
    DtypeMismatch = 1,
    ShapeMismatch = 2,
    InvalidConfig = 3,
    Invariant = 4,
    Exactness = 5,
    TableBudget = 6,
    Serialization = 7,
    Internal = 8,
  };

  static CoreError invalid_input(std::string message);
  // `expected` is a fixed word for the element type, e.g. "float32".
  static CoreError dtype_mismatch(const char* expected);
  static CoreError shape_mismatch(std::string message);
  static CoreError invalid_config(std::string message);
  static CoreError invariant(Invariant inv);
  static CoreError exactness(std::string message);
  static CoreError table_budget(std::string what, std::uint64_t cells, std::uint64_t budget);
  static CoreError serialization(std::string message);
  // For states only a defect can reach; never describes user input.
  static CoreError internal(std::string message);

  Kind kind() const { return kind_; }
  // The payload text: the message, the expected dtype word, the invariant
  // text or the table-budget `what`.
  const std::string& message() const { return message_; }
  Invariant invariant_value() const { return invariant_; }
  std::uint64_t cells() const { return cells_; }
  std::uint64_t budget() const { return budget_; }

  // The one-line text with its kind's prefix.
  std::string render() const;

  bool operator==(const CoreError&) const = default;

 private:
  CoreError(Kind kind, std::string message) : kind_(kind), message_(std::move(message)) {}

  Kind kind_;
  std::string message_;
  Invariant invariant_ = Invariant::FeatureBudget;
  std::uint64_t cells_ = 0;
  std::uint64_t budget_ = 0;
};

template <class T>
using Result = std::expected<T, CoreError>;
using Status = std::expected<void, CoreError>;

inline std::unexpected<CoreError> fail(CoreError e) { return std::unexpected<CoreError>(std::move(e)); }

}  // namespace fq

#define FQ_CONCAT_INNER_(a, b) a##b
#define FQ_CONCAT_(a, b) FQ_CONCAT_INNER_(a, b)

// FQ_TRY(expr): evaluates `expr` (a Result or Status) and returns its error
// from the enclosing function when it failed. The enclosing function must
// return a Result<U> or Status.
#define FQ_TRY(expr)                                                   \
  do {                                                                 \
    auto&& fq_try_result_ = (expr);                                    \
    if (!fq_try_result_) return ::fq::fail(std::move(fq_try_result_).error()); \
  } while (0)

// FQ_ASSIGN_OR_RETURN(lhs, expr): evaluates `expr` (a Result<T>); on error
// returns it, else moves the value into `lhs`, which may be a declaration
// ("auto x") or an existing lvalue. Caveat: it expands to several statements,
// so it cannot be the body of an unbraced if/else, and `lhs` must not contain
// an unparenthesised comma.
#define FQ_ASSIGN_OR_RETURN(lhs, expr) FQ_ASSIGN_OR_RETURN_IMPL_(FQ_CONCAT_(fq_aor_, __LINE__), lhs, expr)
#define FQ_ASSIGN_OR_RETURN_IMPL_(tmp, lhs, expr)          \
  auto tmp = (expr);                                       \
  if (!tmp) return ::fq::fail(std::move(tmp).error());     \
  lhs = std::move(*tmp)
