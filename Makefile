# The two everyday commands: `make run` and `make test`. Both install what is missing first.
.PHONY: deps native win64 sanitize build test run

deps:
	@tools/install-deps.sh

native: deps
	cmake --preset native
	cmake --build --preset native

win64: deps
	cmake --preset win64
	cmake --build --preset win64

# The unit tests again, under AddressSanitizer and UndefinedBehaviorSanitizer (clang).
sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize

build: native win64

test: build sanitize
	ctest --preset sanitize
	ctest --preset native

run: build
	tools/run-widget.sh
