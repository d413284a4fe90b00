// The module's exception classes and the one conversion of a core error into
// a Python exception.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include "core/error.h"

namespace fq::py {

enum class ExcClass { FenQuill, Invariant, Exactness, Serialization, Internal };

// The class object (a borrowed reference), created on first use; null with a
// Python error set when creating it failed.
PyObject* exception_class(ExcClass which);

// Sets the Python exception for `e` and returns null, so a method can write
// `return py_err(std::move(result).error());`.
PyObject* py_err(CoreError e);

}  // namespace fq::py
