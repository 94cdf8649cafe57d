# The two everyday commands: `make run` and `make test`. Both install what is missing first.
# `make check` is the quick part of `make test`, without Wine.
#
# Every recipe runs in the clone's top folder and names its files from there, never by the
# clone's path, which may hold a space, a quote or any letter. A line that needs the shell
# (quotes, variables) hands over to its tool with exec, so that the tool itself gets the
# signal make passes on to its children, SIGTERM, not a shell that would end and leave it
# running (a hangup or a Ctrl-C reaches every process of the terminal anyway); make runs a
# plain line itself, and a loop (fuzz) stays in the shell.
.PHONY: deps native win64 win32 sanitize build test run fuzz

deps:
	@tools/install-deps.sh

native: deps
	cmake --preset native
	cmake --build --preset native

win64: deps
	cmake --preset win64
	cmake --build --preset win64

win32: deps
	cmake --preset win32
	cmake --build --preset win32

# The unit tests again, under AddressSanitizer and UndefinedBehaviorSanitizer (clang).
sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize

build: native win64 win32

# The end-to-end harness and its packages (tests/e2e), for the bench and the long runs. The
# checkout's path reaches the shell as a variable in double quotes, so that a folder name with
# spaces, quotes or other letters stays one word and is never read as shell syntax.
export ROOT_DIR := $(CURDIR)
HARNESS_PYTHON := env PYTHONPATH="$$ROOT_DIR/tests/e2e" PYTHONDONTWRITEBYTECODE=1 "$$ROOT_DIR/tools/python3"

# Each fuzz target for FUZZ_SECONDS over its kept corpus, its seeds and what earlier runs found
# (build/sanitize/fuzz); `make fuzz-corpus` then minimises all of it into the kept corpus.
FUZZ_SECONDS ?= 300
FUZZ_TARGETS := form_reader bitmap_payload widget_form
.PHONY: fuzz-corpus
fuzz: sanitize
	@for target in $(FUZZ_TARGETS); do \
		fuzz/run.sh build/sanitize/fuzz_$$target build/sanitize/fuzz/$$target $(FUZZ_SECONDS) \
			fuzz/corpus/$$target fuzz/seeds/$$target || exit 1; \
	done

fuzz-corpus: sanitize
	@for target in $(FUZZ_TARGETS); do \
		fuzz/keep-corpus.sh build/sanitize/fuzz_$$target fuzz/seeds/$$target fuzz/corpus/$$target \
			build/sanitize/fuzz/$$target/corpus || exit 1; \
	done

# Every tier that needs neither Wine nor X, each labelled in CTest: the unit tests, natively and
# under the sanitizers, the short fuzz runs, and the static checks (layering, unused code, the
# analysers, the format, the built programs' headers and manifests, the committed resources).
# The Windows builds come first: the analysers and the checks of the exe read them.
.PHONY: check format
check: build sanitize
	ctest --preset sanitize -j2
	exec ctest --preset native -j2 -L '^(unit|static)$$'

# Everything: the quick tiers, then the end-to-end tests under Wine, one file at a time on each
# desktop of tests/e2e/desktops.json, a Wine prefix and a display of its own: a file spends most
# of its time waiting on Wine, not on a core. Each ctest run ends with its tiers' times ("Label
# Time Summary": the sum of the tier's tests, which overlap) and its own ("Total Test time
# (real)").
test: check
	exec ctest --preset native -L '^e2e'

# The end-to-end files again under each configuration of tests/e2e/matrix.toml (locales, code
# pages, resolutions, Windows versions, keyboards) that their outcome depends on, on the
# desktops `make test` uses; prints the table of configuration by file and writes it to
# build/matrix/table.txt. `make matrix ROWS="dpi144 ja-system"` runs only those rows.
.PHONY: matrix
matrix: build
	cd tests/e2e && exec $(HARNESS_PYTHON) -m harness.matrix $(ROWS)

# Rewrites every C++ file that differs from .clang-format (the format check names them).
format: deps
	tools/checkformat/checkformat.sh clang-format-14 . --fix

run: build
	tools/run-widget.sh

# The lines and branches of the program that the unit and end-to-end tests run, per folder and
# per file: build/coverage/summary.txt and build/coverage/index.html. Not part of `make test`.
.PHONY: coverage
coverage: deps
	tools/install-deps.sh gcovr
	tools/coverage/coverage.sh

# Benchmarks against the floor, written to build/bench/results.md; not part of `make test`.
.PHONY: bench
bench: build
	cmake --build --preset native --target paint_bench
	cmake --build --preset win64 --target keybench floor
	cmake --build --preset win32 --target keybench floor
	exec $(HARNESS_PYTHON) bench/run.py "$$ROOT_DIR"

# The long hostile runs, not part of `make test` (which runs the same files with the smaller
# counts at their tops): STRESS_MESSAGES random messages posted to both windows (seed
# STRESS_SEED) and STRESS_PRESSES presses across both slots.
.PHONY: stress
STRESS_MESSAGES ?= 100000
STRESS_PRESSES ?= 10000
STRESS_SEED ?= 20261207
stress: build
	cd tests/e2e && exec env HOTKEYS_STORM_MESSAGES=$(STRESS_MESSAGES) HOTKEYS_STORM_SEED=$(STRESS_SEED) \
		HOTKEYS_KEY_STORM_PRESSES=$(STRESS_PRESSES) $(HARNESS_PYTHON) -m pytest -p no:cacheprovider -q -s --durations=0 \
		test_hostile_storm.py test_key_storm.py

# Release archives of both programs, built from the committed sources into dist/, and the check
# that two clean clones at different paths build the same bytes; not part of `make test`.
# SIGNATURES=<folder> attaches a signed release's detached signatures to the programs built;
# RELEASE_URL=<address the zips will be published at> adds the winget and Scoop manifests.
# `make sign` signs what `make dist` left in dist/ with the keys named below (the secrets
# themselves stay in the files these name); see docs/releasing.md. Each value reaches the tool
# through the environment, where no character of it is taken for the shell's.
RELEASE_PYTHON := exec env PYTHONPATH=tools/dist PYTHONDONTWRITEBYTECODE=1 tools/python3 -m release
export SIGN_PKCS12 SIGN_PASSWORD_FILE SIGN_PKCS11_MODULE SIGN_PKCS11_KEY SIGN_PIN_FILE
export SIGN_TIMESTAMP_URL SIGN_CA_FILE MINISIGN_KEY MINISIGN_PASSWORD_FILE SIGNATURES RELEASE_URL
.PHONY: dist dist-check sign
dist: deps
	$(RELEASE_PYTHON) build . --signatures "$$SIGNATURES" --release-url "$$RELEASE_URL"

dist-check: deps
	$(RELEASE_PYTHON) check .

sign: deps
	$(RELEASE_PYTHON) sign . --release-url "$$RELEASE_URL"

# Debian's reprotest over `make dist`, with every variation this machine allows (see the script);
# it installs reprotest and what its variations need. Not part of `make test`.
.PHONY: reprotest
reprotest: deps
	tools/dist/reprotest.sh
