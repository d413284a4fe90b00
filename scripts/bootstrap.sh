#!/usr/bin/env bash
# Sets up everything fen-quill needs to build and test, from nothing on a
# Debian machine: the Debian packages (installed with apt-get when running as
# root, else named so the user can install them) and a .venv with the Python
# packages. Safe to run again: it only installs what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
command -v g++ >/dev/null 2>&1 || missing+=(g++)
command -v make >/dev/null 2>&1 || missing+=(make)
command -v python3 >/dev/null 2>&1 || missing+=(python3)
[ -f /usr/include/nlohmann/json.hpp ] || missing+=(nlohmann-json3-dev)
[ -f /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
if command -v python3 >/dev/null 2>&1; then
  python3 -c 'import venv, ensurepip' >/dev/null 2>&1 || missing+=(python3-venv)
  python3 -c 'import os, sysconfig; raise SystemExit(not os.path.exists(os.path.join(sysconfig.get_paths()["include"], "Python.h")))' \
    || missing+=(python3-dev)
fi

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null 2>&1; then
    echo "bootstrap: installing Debian packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}" >/dev/null
  else
    echo "bootstrap: fen-quill needs these Debian packages: ${missing[*]}" >&2
    echo "bootstrap: install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
fi

if [ ! -x .venv/bin/python ]; then
  echo "bootstrap: creating .venv"
  python3 -m venv .venv
fi
stamp=.venv/.fq-requirements
if ! cmp -s requirements-dev.txt "$stamp"; then
  echo "bootstrap: installing Python packages into .venv"
  .venv/bin/python -m pip install -q --upgrade pip
  .venv/bin/python -m pip install -q -r requirements-dev.txt
  cp requirements-dev.txt "$stamp"
fi
