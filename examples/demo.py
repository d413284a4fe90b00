"""The fen-quill demo: for now it checks that the compiled module loads.

Fitting is not there yet; when it is, this script fits the bundled example
data and prints its rating tables.
"""

import fen_quill
from fen_quill import _fen_quill


def main() -> None:
    print(f"fen-quill module loaded: {_fen_quill.__name__}")
    print(f"  {_fen_quill.__doc__}")
    exceptions = [n for n in dir(_fen_quill) if n.endswith("Error")]
    print(f"  exception classes: {', '.join(sorted(exceptions))}")
    print("Fitting is not available yet in this version of fen-quill.")
    assert fen_quill.FenQuillError is _fen_quill.FenQuillError


if __name__ == "__main__":
    main()
