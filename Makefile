# The two commands a new user needs:
#   make demo   set everything up and run the example
#   make test   set everything up and run every test (C++ and Python)
VENV    := .venv
PY      := $(VENV)/bin/python
CMAKE   := $(VENV)/bin/cmake
CTEST   := $(VENV)/bin/ctest
BUILD   := build/core
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: demo test setup core python test-core test-python bench clean

demo: python
	$(PY) examples/demo.py

test: core python
	@rc=0; \
	$(CTEST) --test-dir $(BUILD) --output-on-failure -j $(JOBS) || rc=1; \
	$(PY) -m pytest -q tests/python || rc=1; \
	if [ $$rc -ne 0 ]; then echo "make test: FAILED"; fi; \
	exit $$rc

setup:
	@bash scripts/bootstrap.sh

core: setup
	$(CMAKE) -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DFQ_BUILD_PYTHON=OFF -DFQ_BUILD_TESTS=ON -DFQ_BUILD_BENCH=ON \
	  -DCMAKE_MAKE_PROGRAM=$(abspath $(VENV))/bin/ninja
	$(CMAKE) --build $(BUILD) -j $(JOBS)

python: setup
	PATH="$(abspath $(VENV))/bin:$$PATH" $(PY) -m pip install -q --no-build-isolation --no-deps .

test-core: core
	$(CTEST) --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-python: python
	$(PY) -m pytest -q tests/python

bench: core
	$(BUILD)/bench_binning

clean:
	rm -rf build
