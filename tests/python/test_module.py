import inspect

import pytest

import fen_quill
from fen_quill import _fen_quill

EXCEPTIONS = [
    ("FenQuillError", Exception, "Base fen-quill exception."),
    ("InvariantError", "FenQuillError", "A lossless decomposability invariant failed."),
    ("ExactnessError", "FenQuillError", "An exact-only operation was attempted on an approximate model."),
    ("SerializationError", "FenQuillError", "Model serialization or deserialization failed."),
    ("InternalError", "FenQuillError", "An internal fen-quill implementation invariant failed."),
]


def test_module_docstring():
    assert _fen_quill.__doc__ == "The compiled extension module `fen_quill._fen_quill` (\u00a702.7)."


def test_module_has_no_functions():
    assert not [n for n, v in vars(_fen_quill).items() if inspect.isbuiltin(v)]


@pytest.mark.parametrize("name, base, doc", EXCEPTIONS)
def test_exception_class(name, base, doc):
    cls = getattr(_fen_quill, name)
    base_cls = getattr(_fen_quill, base) if isinstance(base, str) else base
    assert cls.__bases__ == (base_cls,)
    assert cls.__module__ == "_fen_quill"
    assert cls.__qualname__ == name
    assert f"{cls.__module__}.{cls.__qualname__}" == f"_fen_quill.{name}"
    assert cls.__doc__ == doc
    assert issubclass(cls, _fen_quill.FenQuillError)
    assert issubclass(cls, Exception)
    with pytest.raises(_fen_quill.FenQuillError, match="boom"):
        raise cls("boom")


def test_exceptions_are_added_first_in_order():
    names = [n for n in vars(_fen_quill) if not n.startswith("__")]
    assert names[:5] == [e[0] for e in EXCEPTIONS]


def test_package_reexports_the_module_classes():
    assert fen_quill.FenQuillError is _fen_quill.FenQuillError
    assert fen_quill.InternalError is _fen_quill.InternalError
