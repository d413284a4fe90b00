"""fen-quill: interpretable gradient boosting on oblivious trees of depth <= 3.

The compiled core lives in :mod:`fen_quill._fen_quill`; this package re-exports
its exception classes.
"""

from fen_quill import _fen_quill
from fen_quill._fen_quill import (
    ExactnessError,
    FenQuillError,
    InternalError,
    InvariantError,
    SerializationError,
)

__all__ = [
    "ExactnessError",
    "FenQuillError",
    "InternalError",
    "InvariantError",
    "SerializationError",
    "_fen_quill",
]
