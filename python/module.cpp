// The compiled extension module `fen_quill._fen_quill`.
//
// Initialisation adds the five exception classes, then (as they are built)
// the four classes, in a fixed order; any failure aborts the import. Only
// `_Booster` is built so far.
#include "python/booster.h"
#include "python/errors.h"
#include "python/py_ref.h"

namespace {

PyModuleDef g_module = {
    PyModuleDef_HEAD_INIT,
    "_fen_quill",
    "The compiled extension module `fen_quill._fen_quill` (\u00a702.7).",
    -1,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

bool add_exceptions(PyObject* module) {
  using fq::py::ExcClass;
  constexpr struct {
    const char* name;
    ExcClass cls;
  } kOrder[] = {
      {"FenQuillError", ExcClass::FenQuill},     {"InvariantError", ExcClass::Invariant},
      {"ExactnessError", ExcClass::Exactness},   {"SerializationError", ExcClass::Serialization},
      {"InternalError", ExcClass::Internal},
  };
  for (const auto& e : kOrder) {
    PyObject* cls = fq::py::exception_class(e.cls);
    if (cls == nullptr || PyModule_AddObjectRef(module, e.name, cls) < 0) return false;
  }
  return true;
}

}  // namespace

PyMODINIT_FUNC PyInit__fen_quill() {
  auto module = fq::py::PyRef::steal(PyModule_Create(&g_module));
  if (!module) return nullptr;
  if (!add_exceptions(module.get())) return nullptr;
  auto booster = fq::py::PyRef::steal(fq::py::make_booster_type(module.get()));
  if (!booster || PyModule_AddObjectRef(module.get(), "_Booster", booster.get()) < 0) return nullptr;
  return module.release();
}
