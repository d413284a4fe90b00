#include "python/errors.h"

namespace fq::py {
namespace {

struct ExcSpec {
  const char* qualified_name;
  const char* doc;
};

constexpr ExcSpec kSpecs[] = {
    {"_fen_quill.FenQuillError", "Base fen-quill exception."},
    {"_fen_quill.InvariantError", "A lossless decomposability invariant failed."},
    {"_fen_quill.ExactnessError", "An exact-only operation was attempted on an approximate model."},
    {"_fen_quill.SerializationError", "Model serialization or deserialization failed."},
    {"_fen_quill.InternalError", "An internal fen-quill implementation invariant failed."},
};

// Created once and kept for the life of the process, like the module itself.
PyObject* g_classes[5] = {};

}  // namespace

PyObject* exception_class(ExcClass which) {
  const auto i = static_cast<int>(which);
  if (g_classes[i] != nullptr) return g_classes[i];
  PyObject* base = PyExc_Exception;
  if (which != ExcClass::FenQuill) {
    base = exception_class(ExcClass::FenQuill);
    if (base == nullptr) return nullptr;
  }
  g_classes[i] = PyErr_NewExceptionWithDoc(kSpecs[i].qualified_name, kSpecs[i].doc, base, nullptr);
  return g_classes[i];
}

PyObject* py_err(CoreError e) {
  ExcClass cls = ExcClass::FenQuill;
  std::string text;
  switch (e.kind()) {
    case CoreError::Kind::Invariant:
      cls = ExcClass::Invariant;
      text = e.message();
      break;
    case CoreError::Kind::Exactness:
      cls = ExcClass::Exactness;
      text = e.message();
      break;
    case CoreError::Kind::Serialization:
      cls = ExcClass::Serialization;
      text = e.message();
      break;
    case CoreError::Kind::Internal:
      cls = ExcClass::Internal;
      text = e.message();
      break;
    default:
      text = e.render();
  }
  PyObject* type = exception_class(cls);
  if (type == nullptr) return nullptr;
  PyErr_SetString(type, text.c_str());
  return nullptr;
}

}  // namespace fq::py
