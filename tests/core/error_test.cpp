#include "core/error.h"

#include <gtest/gtest.h>

namespace fq {
namespace {

struct RenderCase {
  CoreError error;
  const char* text;
};

TEST(CoreError, RendersEveryKindWithItsPrefix) {
  const RenderCase cases[] = {
      {CoreError::invalid_input("y[3] is NaN"), "invalid input: y[3] is NaN"},
      {CoreError::dtype_mismatch("float32"), "dtype mismatch: expected float32"},
      {CoreError::shape_mismatch("weight len 3 != n_rows 4"), "shape mismatch: weight len 3 != n_rows 4"},
      {CoreError::invalid_config("max_bin must be <= 254, got 255"), "invalid config: max_bin must be <= 254, got 255"},
      {CoreError::invariant(Invariant::Reconstruction),
       "invariant violated: Reconstruction (ensemble == intercept + \u03a3 tables)"},
      {CoreError::exactness("model is approximate"), "exactness firewall: model is approximate"},
      {CoreError::table_budget("FeatureSet([0, 3, 5])", 18446744073709551615ULL, 2000000),
       "table budget exceeded: FeatureSet([0, 3, 5]) would materialize 18446744073709551615 cells (budget 2000000)"},
      {CoreError::serialization("truncated input"), "serialization: truncated input"},
      {CoreError::internal("quantile index"), "internal bug: quantile index"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.error.render(), c.text);
}

TEST(CoreError, KindsKeepTheirDeclarationOrder) {
  EXPECT_EQ(static_cast<int>(CoreError::invalid_input("").kind()), 0);
  EXPECT_EQ(static_cast<int>(CoreError::table_budget("", 0, 0).kind()), 6);
  EXPECT_EQ(static_cast<int>(CoreError::internal("").kind()), 8);
}

TEST(Invariant, TextsAreFixed) {
  const std::pair<Invariant, const char*> cases[] = {
      {Invariant::FeatureBudget, "FeatureBudget (I1: depth-3, \u22643 distinct raw features)"},
      {Invariant::Decomposability, "Decomposability (purity: every table slice has w-mean zero)"},
      {Invariant::MassConservation, "MassConservation (signed w-mass conserved)"},
      {Invariant::Reconstruction, "Reconstruction (ensemble == intercept + \u03a3 tables)"},
      {Invariant::VarianceSum, "VarianceSum (\u03c3\u00b2(F) == \u03a3 \u03c3\u00b2(f_u))"},
      {Invariant::ThreeWayEqual, "ThreeWayEqual (tree == table == Shapley sum)"},
  };
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(static_cast<int>(cases[i].first), i);
    EXPECT_EQ(invariant_text(cases[i].first), cases[i].second);
    const CoreError e = CoreError::invariant(cases[i].first);
    EXPECT_EQ(e.invariant_value(), cases[i].first);
    EXPECT_EQ(e.message(), cases[i].second);
  }
}

Result<int> half(int v) {
  if (v % 2 != 0) return fail(CoreError::invalid_input("odd"));
  return v / 2;
}

Result<int> quarter(int v) {
  FQ_ASSIGN_OR_RETURN(int h, half(v));
  FQ_ASSIGN_OR_RETURN(h, half(h));
  return h;
}

Status check_even(int v) {
  FQ_TRY(half(v));
  return {};
}

TEST(CoreError, PropagationMacrosPassErrorsUnchanged) {
  EXPECT_EQ(quarter(8).value(), 2);
  ASSERT_FALSE(quarter(6).has_value());
  EXPECT_EQ(quarter(6).error().render(), "invalid input: odd");
  EXPECT_TRUE(check_even(4).has_value());
  EXPECT_EQ(check_even(3).error(), CoreError::invalid_input("odd"));
}

}  // namespace
}  // namespace fq
