#include "python/convert.h"

#include "python/py_ref.h"

namespace fq::py {

bool parse_arguments(const char* function, PyObject* args, PyObject* kwargs, std::span<const char* const> names,
                     std::span<PyObject*> out) {
  for (auto& slot : out) slot = nullptr;
  const Py_ssize_t n_pos = args ? PyTuple_GET_SIZE(args) : 0;
  if (n_pos > static_cast<Py_ssize_t>(names.size())) {
    PyErr_Format(PyExc_TypeError, "%s() takes at most %zd arguments (%zd given)", function,
                 static_cast<Py_ssize_t>(names.size()), n_pos);
    return false;
  }
  for (Py_ssize_t i = 0; i < n_pos; ++i) out[static_cast<std::size_t>(i)] = PyTuple_GET_ITEM(args, i);
  if (kwargs == nullptr) return true;
  PyObject* key = nullptr;
  PyObject* value = nullptr;
  Py_ssize_t pos = 0;
  while (PyDict_Next(kwargs, &pos, &key, &value)) {
    const char* k = PyUnicode_Check(key) ? PyUnicode_AsUTF8(key) : nullptr;
    if (k == nullptr) {
      PyErr_Format(PyExc_TypeError, "%s() keywords must be strings", function);
      return false;
    }
    std::size_t i = 0;
    while (i < names.size() && std::string_view(names[i]) != k) ++i;
    if (i == names.size()) {
      PyErr_Format(PyExc_TypeError, "%s() got an unexpected keyword argument '%s'", function, k);
      return false;
    }
    if (out[i] != nullptr) {
      PyErr_Format(PyExc_TypeError, "argument for %s() given by name ('%s') and position (%zd)", function, k,
                   static_cast<Py_ssize_t>(i + 1));
      return false;
    }
    out[i] = value;
  }
  return true;
}

bool to_u64(PyObject* o, const char* name, std::uint64_t max, std::uint64_t& out) {
  if (PyFloat_Check(o) || !PyIndex_Check(o)) {
    PyErr_Format(PyExc_TypeError, "argument '%s' must be an integer, not %s", name, Py_TYPE(o)->tp_name);
    return false;
  }
  auto index = PyRef::steal(PyNumber_Index(o));
  if (!index) return false;
  int overflow = 0;
  const long long as_signed = PyLong_AsLongLongAndOverflow(index.get(), &overflow);
  if (as_signed == -1 && PyErr_Occurred()) return false;
  std::uint64_t v = 0;
  if (overflow < 0 || (overflow == 0 && as_signed < 0)) {
    PyErr_Format(PyExc_OverflowError, "argument '%s' must be an integer in 0..=%llu, got a negative value", name,
                 static_cast<unsigned long long>(max));
    return false;
  }
  if (overflow > 0) {
    v = PyLong_AsUnsignedLongLong(index.get());
    if (v == static_cast<std::uint64_t>(-1) && PyErr_Occurred()) {
      PyErr_Clear();
      PyErr_Format(PyExc_OverflowError, "argument '%s' must be an integer in 0..=%llu", name,
                   static_cast<unsigned long long>(max));
      return false;
    }
  } else {
    v = static_cast<std::uint64_t>(as_signed);
  }
  if (v > max) {
    PyErr_Format(PyExc_OverflowError, "argument '%s' must be an integer in 0..=%llu, got %llu", name,
                 static_cast<unsigned long long>(max), static_cast<unsigned long long>(v));
    return false;
  }
  out = v;
  return true;
}

bool to_f64(PyObject* o, const char* name, double& out) {
  if (!PyFloat_Check(o) && !PyLong_Check(o) && !PyIndex_Check(o) && !PyNumber_Check(o)) {
    PyErr_Format(PyExc_TypeError, "argument '%s' must be a float, not %s", name, Py_TYPE(o)->tp_name);
    return false;
  }
  const double d = PyFloat_AsDouble(o);
  if (d == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();
    PyErr_Format(PyExc_TypeError, "argument '%s' must be a float, not %s", name, Py_TYPE(o)->tp_name);
    return false;
  }
  out = d;
  return true;
}

bool to_bool(PyObject* o, const char* name, bool& out) {
  if (!PyBool_Check(o)) {
    PyErr_Format(PyExc_TypeError, "argument '%s' must be a bool, not %s", name, Py_TYPE(o)->tp_name);
    return false;
  }
  out = o == Py_True;
  return true;
}

bool to_text(PyObject* o, const char* name, std::string& out) {
  if (!PyUnicode_Check(o)) {
    PyErr_Format(PyExc_TypeError, "argument '%s' must be a str, not %s", name, Py_TYPE(o)->tp_name);
    return false;
  }
  Py_ssize_t len = 0;
  const char* s = PyUnicode_AsUTF8AndSize(o, &len);
  if (s == nullptr) return false;
  out.assign(s, static_cast<std::size_t>(len));
  return true;
}

}  // namespace fq::py
