#include "core/engine/tree.h"

#include "core/format.h"

namespace fq::engine {

Result<ObliviousTree> ObliviousTree::try_new(std::vector<Split> splits, const std::array<float, 8>& leaves,
                                             std::span<const data::AxisProvenance> provenance) {
  if (splits.empty() || splits.size() > 3) return fail(CoreError::invariant(Invariant::FeatureBudget));
  for (const Split& s : splits) {
    if (s.axis >= provenance.size()) {
      return fail(CoreError::internal(fmt::cat("split axis ", s.axis, " absent from provenance")));
    }
  }
  for (std::size_t a = 0; a < splits.size(); ++a) {
    for (std::size_t b = a + 1; b < splits.size(); ++b) {
      if (provenance[splits[a].axis].raw == provenance[splits[b].axis].raw) {
        return fail(CoreError::invariant(Invariant::FeatureBudget));
      }
    }
  }
  ObliviousTree t;
  t.depth = static_cast<std::uint8_t>(splits.size());
  t.splits = std::move(splits);
  t.leaves = leaves;
  return t;
}

Result<std::uint8_t> ObliviousTree::leaf_index(std::span<const std::uint8_t> row) const {
  unsigned leaf = 0;
  for (std::size_t i = 0; i < splits.size(); ++i) {
    const Split& s = splits[i];
    if (s.axis >= row.size()) return fail(CoreError::shape_mismatch(fmt::cat("row has no axis ", s.axis, " for tree lookup")));
    leaf |= static_cast<unsigned>(s.goes_low(row[s.axis])) << i;
  }
  if (leaf > 7) return fail(CoreError::internal("oblivious leaf index escaped 0..8"));
  return static_cast<std::uint8_t>(leaf);
}

Result<float> ObliviousTree::lookup(std::span<const std::uint8_t> row) const {
  FQ_ASSIGN_OR_RETURN(const std::uint8_t leaf, leaf_index(row));
  return leaves[leaf];
}

}  // namespace fq::engine
