# The two everyday commands: `make run` and `make test`. Both install what is missing first.
.PHONY: deps native win64 build test run

deps:
	@tools/install-deps.sh

native: deps
	cmake --preset native
	cmake --build --preset native

win64: deps
	cmake --preset win64
	cmake --build --preset win64

build: native win64

test: build
	ctest --preset native

run: build
	tools/run-widget.sh

# Benchmarks against the floor, written to build/bench/results.md; not part of `make test`.
.PHONY: bench
bench: build
	cmake --build --preset native --target paint_bench
	cmake --build --preset win64 --target keybench floor
	PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 bench/run.py $(CURDIR)
