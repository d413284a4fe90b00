// `_Booster`: the validated fitting configuration, immutable once built.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

namespace fq::py {

// Creates the `_Booster` class object (a new reference), or null with a
// Python error set.
PyObject* make_booster_type(PyObject* module);

}  // namespace fq::py
