#include "python/booster.h"

#include <array>
#include <memory>
#include <new>

#include "core/engine/config.h"
#include "python/convert.h"
#include "python/errors.h"

namespace fq::py {
namespace {

struct BoosterObject {
  PyObject_HEAD
  engine::BoosterSettings* settings;  // owned; immutable after construction
};

constexpr const char* kNames[] = {
    "n_trees", "learning_rate", "lambda_", "l1_leaf", "min_split_gain", "max_delta_step", "max_bin", "objective",
    "tweedie_rho", "min_data_in_leaf", "min_sum_hessian_in_leaf", "min_weight_sum_in_leaf", "path_smooth",
    "subsample", "colsample_bytree", "learning_rate_decay", "validation_fraction", "early_stopping_rounds",
    "leaf_refine_steps", "leaf_refine_backtracks", "mvs_min_rows", "hist_precision", "n_bags", "bag_subsample",
    "ridge_refit_l2", "ridge_refit_max_iter", "nesterov", "dart_drop_rate", "random_strength", "reanchor",
    "max_interaction_order", "cat_smooth", "cat_target", "cat_leakage", "cat_n_perms", "cat_k",
    "cat_min_data_per_group", "cell_refit_base", "cell_refit_gamma", "seed", "n_jobs",
};
constexpr std::size_t kParamCount = std::size(kNames);
static_assert(kParamCount == 41);

constexpr char kDoc[] =
    "_Booster(n_trees=1000, learning_rate=0.05, lambda_=1.0, l1_leaf=0.0, min_split_gain=0.0, "
    "max_delta_step=None, max_bin=254, objective=None, tweedie_rho=1.5, min_data_in_leaf=0, "
    "min_sum_hessian_in_leaf=0.0, min_weight_sum_in_leaf=0.0, path_smooth=0.0, subsample=None, "
    "colsample_bytree=1.0, learning_rate_decay=0.0, validation_fraction=None, early_stopping_rounds=50, "
    "leaf_refine_steps=0, leaf_refine_backtracks=4, mvs_min_rows=1, hist_precision=None, n_bags=0, "
    "bag_subsample=1.0, ridge_refit_l2=None, ridge_refit_max_iter=5, nesterov=False, dart_drop_rate=None, "
    "random_strength=0.0, reanchor=False, max_interaction_order=3, cat_smooth=None, cat_target=None, "
    "cat_leakage=None, cat_n_perms=1, cat_k=5, cat_min_data_per_group=10.0, cell_refit_base=None, "
    "cell_refit_gamma=2.0, seed=0, n_jobs=None)\n--\n\n"
    "Low-level Python booster wrapper.";

// Converts the given arguments over the defaults of `p`; false with a Python
// error naming the first argument that does not convert.
bool convert_params(const std::array<PyObject*, kParamCount>& a, engine::BoosterParams& p) {
  std::size_t i = 0;
  auto next = [&]() { return a[i++]; };
  auto name = [&]() { return kNames[i - 1]; };
  auto u = [&](auto& field) {
    PyObject* o = next();
    return o == nullptr || to_unsigned(o, name(), field);
  };
  auto f = [&](float& field) {
    PyObject* o = next();
    return o == nullptr || to_f32(o, name(), field);
  };
  auto d = [&](double& field) {
    PyObject* o = next();
    return o == nullptr || to_f64(o, name(), field);
  };
  auto b = [&](bool& field) {
    PyObject* o = next();
    return o == nullptr || to_bool(o, name(), field);
  };
  auto of = [&](std::optional<float>& field) {
    PyObject* o = next();
    return to_optional(o, name(), field, to_f32);
  };
  auto od = [&](std::optional<double>& field) {
    PyObject* o = next();
    return to_optional(o, name(), field, to_f64);
  };
  auto ot = [&](std::optional<std::string>& field) {
    PyObject* o = next();
    return to_optional(o, name(), field, to_text);
  };
  auto ou = [&](std::optional<std::uint64_t>& field) {
    PyObject* o = next();
    return to_optional(o, name(), field, [](PyObject* v, const char* n, std::uint64_t& out) {
      return to_unsigned(v, n, out);
    });
  };
  // In signature order.
  return u(p.n_trees) && f(p.learning_rate) && f(p.lambda_) && f(p.l1_leaf) && f(p.min_split_gain) &&
         of(p.max_delta_step) && u(p.max_bin) && ot(p.objective) && f(p.tweedie_rho) && u(p.min_data_in_leaf) &&
         f(p.min_sum_hessian_in_leaf) && f(p.min_weight_sum_in_leaf) && f(p.path_smooth) && of(p.subsample) &&
         f(p.colsample_bytree) && f(p.learning_rate_decay) && of(p.validation_fraction) &&
         u(p.early_stopping_rounds) && u(p.leaf_refine_steps) && u(p.leaf_refine_backtracks) &&
         u(p.mvs_min_rows) && ot(p.hist_precision) && u(p.n_bags) && f(p.bag_subsample) && of(p.ridge_refit_l2) &&
         u(p.ridge_refit_max_iter) && b(p.nesterov) && of(p.dart_drop_rate) && f(p.random_strength) &&
         b(p.reanchor) && u(p.max_interaction_order) && of(p.cat_smooth) && ot(p.cat_target) &&
         ot(p.cat_leakage) && u(p.cat_n_perms) && u(p.cat_k) && f(p.cat_min_data_per_group) &&
         od(p.cell_refit_base) && d(p.cell_refit_gamma) && u(p.seed) && ou(p.n_jobs);
}

PyObject* booster_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
  std::array<PyObject*, kParamCount> given{};
  if (!parse_arguments("_Booster", args, kwargs, kNames, given)) return nullptr;
  engine::BoosterParams params;
  if (!convert_params(given, params)) return nullptr;
  Result<engine::BoosterSettings> settings = engine::build_booster_settings(params);
  if (!settings) return py_err(std::move(settings).error());
  auto* owned = new (std::nothrow) engine::BoosterSettings(std::move(*settings));
  if (owned == nullptr) return PyErr_NoMemory();
  auto* self = reinterpret_cast<BoosterObject*>(type->tp_alloc(type, 0));
  if (self == nullptr) {
    delete owned;
    return nullptr;
  }
  self->settings = owned;
  return reinterpret_cast<PyObject*>(self);
}

void booster_dealloc(PyObject* o) {
  auto* self = reinterpret_cast<BoosterObject*>(o);
  delete self->settings;
  PyTypeObject* type = Py_TYPE(o);
  type->tp_free(o);
  Py_DECREF(type);
}

PyType_Slot kSlots[] = {
    {Py_tp_new, reinterpret_cast<void*>(booster_new)},
    {Py_tp_dealloc, reinterpret_cast<void*>(booster_dealloc)},
    {Py_tp_doc, const_cast<char*>(kDoc)},
    {0, nullptr},
};

PyType_Spec kSpec = {
    "_fen_quill._Booster",
    sizeof(BoosterObject),
    0,
    Py_TPFLAGS_DEFAULT | Py_TPFLAGS_IMMUTABLETYPE,
    kSlots,
};

}  // namespace

PyObject* make_booster_type(PyObject* module) { return PyType_FromModuleAndSpec(module, &kSpec, nullptr); }

}  // namespace fq::py
