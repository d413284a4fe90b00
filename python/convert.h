// Conversion of Python arguments to the core's fixed widths.
//
// Every converter names the parameter in its error, so a caller sees which
// argument was refused: TypeError for a value of the wrong type, OverflowError
// for an integer outside the parameter's width. Each returns false with the
// Python error set.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>

namespace fq::py {

// Fills `out` (one slot per name, null when not given) from positional and
// keyword arguments; Python's own rules for missing, unknown and repeated
// arguments.
bool parse_arguments(const char* function, PyObject* args, PyObject* kwargs, std::span<const char* const> names,
                     std::span<PyObject*> out);

bool to_u64(PyObject* o, const char* name, std::uint64_t max, std::uint64_t& out);
bool to_f64(PyObject* o, const char* name, double& out);
bool to_bool(PyObject* o, const char* name, bool& out);
bool to_text(PyObject* o, const char* name, std::string& out);

template <class T>
bool to_unsigned(PyObject* o, const char* name, T& out) {
  std::uint64_t v = 0;
  if (!to_u64(o, name, std::numeric_limits<T>::max(), v)) return false;
  out = static_cast<T>(v);
  return true;
}

// float32 options are read as a Python float and rounded once; a value
// beyond the float32 range becomes an infinity, which validation refuses
// with the option's own message.
inline bool to_f32(PyObject* o, const char* name, float& out) {
  double d = 0.0;
  if (!to_f64(o, name, d)) return false;
  out = static_cast<float>(d);
  return true;
}

// None (or an argument not given) leaves `out` empty.
template <class T, class Convert>
bool to_optional(PyObject* o, const char* name, std::optional<T>& out, Convert convert) {
  if (o == nullptr || o == Py_None) {
    out.reset();
    return true;
  }
  T v{};
  if (!convert(o, name, v)) return false;
  out = v;
  return true;
}

}  // namespace fq::py
