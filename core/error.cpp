#include "core/error.h"

#include "core/format.h"

namespace fq {

std::string_view invariant_text(Invariant inv) {
  switch (inv) {
    case Invariant::FeatureBudget:
      return "FeatureBudget (I1: depth-3, \u22643 distinct raw features)";
    case Invariant::Decomposability:
      return "Decomposability (purity: every table slice has w-mean zero)";
    case Invariant::MassConservation:
      return "MassConservation (signed w-mass conserved)";
    case Invariant::Reconstruction:
      return "Reconstruction (ensemble == intercept + \u03a3 tables)";
    case Invariant::VarianceSum:
      return "VarianceSum (\u03c3\u00b2(F) == \u03a3 \u03c3\u00b2(f_u))";
    case Invariant::ThreeWayEqual:
      return "ThreeWayEqual (tree == table == Shapley sum)";
  }
  return "unknown invariant";
}

CoreError CoreError::invalid_input(std::string m) { return {Kind::InvalidInput, std::move(m)}; }
CoreError CoreError::dtype_mismatch(const char* expected) { return {Kind::DtypeMismatch, expected}; }
CoreError CoreError::shape_mismatch(std::string m) { return {Kind::ShapeMismatch, std::move(m)}; }
CoreError CoreError::invalid_config(std::string m) { return {Kind::InvalidConfig, std::move(m)}; }
CoreError CoreError::invariant(Invariant inv) {
  CoreError e{Kind::Invariant, std::string(invariant_text(inv))};
  e.invariant_ = inv;
  return e;
}
CoreError CoreError::exactness(std::string m) { return {Kind::Exactness, std::move(m)}; }
CoreError CoreError::table_budget(std::string what, std::uint64_t cells, std::uint64_t budget) {
  CoreError e{Kind::TableBudget, std::move(what)};
  e.cells_ = cells;
  e.budget_ = budget;
  return e;
}
CoreError CoreError::serialization(std::string m) { return {Kind::Serialization, std::move(m)}; }
CoreError CoreError::internal(std::string m) { return {Kind::Internal, std::move(m)}; }

std::string CoreError::render() const {
  switch (kind_) {
    case Kind::InvalidInput:
      return fmt::cat("invalid input: ", message_);
    case Kind::DtypeMismatch:
      return fmt::cat("dtype mismatch: expected ", message_);
    case Kind::ShapeMismatch:
      return fmt::cat("shape mismatch: ", message_);
    case Kind::InvalidConfig:
      return fmt::cat("invalid config: ", message_);
    case Kind::Invariant:
      return fmt::cat("invariant violated: ", message_);
    case Kind::Exactness:
      return fmt::cat("exactness firewall: ", message_);
    case Kind::TableBudget:
      return fmt::cat("table budget exceeded: ", message_, " would materialize ", cells_, " cells (budget ",
                      budget_, ")");
    case Kind::Serialization:
      return fmt::cat("serialization: ", message_);
    case Kind::Internal:
      return fmt::cat("internal bug: ", message_);
  }
  return fmt::cat("internal bug: ", message_);
}

}  // namespace fq
