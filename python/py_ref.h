// Small RAII owners for the CPython C API.
//
// `PyRef` owns one strong reference and releases it on destruction; `steal`
// takes a new reference returned by the API (null on failure), `borrow` adds
// one to a borrowed reference. `GilRelease` releases the interpreter lock for
// its scope; no Python object may be touched while it lives.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <utility>

namespace fq::py {

class PyRef {
 public:
  PyRef() = default;
  static PyRef steal(PyObject* o) { return PyRef(o); }
  static PyRef borrow(PyObject* o) {
    Py_XINCREF(o);
    return PyRef(o);
  }
  PyRef(const PyRef&) = delete;
  PyRef& operator=(const PyRef&) = delete;
  PyRef(PyRef&& other) noexcept : o_(std::exchange(other.o_, nullptr)) {}
  PyRef& operator=(PyRef&& other) noexcept {
    if (this != &other) {
      Py_XDECREF(o_);
      o_ = std::exchange(other.o_, nullptr);
    }
    return *this;
  }
  ~PyRef() { Py_XDECREF(o_); }

  PyObject* get() const { return o_; }
  // Hands the reference to the caller (for return values and APIs that steal).
  PyObject* release() { return std::exchange(o_, nullptr); }
  explicit operator bool() const { return o_ != nullptr; }

 private:
  explicit PyRef(PyObject* o) : o_(o) {}
  PyObject* o_ = nullptr;
};

class GilRelease {
 public:
  GilRelease() : state_(PyEval_SaveThread()) {}
  ~GilRelease() { PyEval_RestoreThread(state_); }
  GilRelease(const GilRelease&) = delete;
  GilRelease& operator=(const GilRelease&) = delete;

 private:
  PyThreadState* state_;
};

}  // namespace fq::py
