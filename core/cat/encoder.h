// Categorical target-statistic encoders, as a model's schema holds them.
//
// A model owns one encoder per categorical (raw feature, encoding) pair and
// the serving binner maps level strings through it. Encoder fitting is not
// built yet: until it is, a store holds no encoders, so `find` never finds
// one and a categorical axis cannot be served.
#pragma once

#include "core/data/grid.h"

namespace fq::cat {

struct CatEncoder;

struct CatEncoderStore {
  const CatEncoder* find(data::FeatureId /*raw*/, data::TsEncodingId /*encoding*/) const { return nullptr; }
  bool operator==(const CatEncoderStore&) const = default;
};

}  // namespace fq::cat
