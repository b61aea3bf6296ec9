# The two commands of the README: `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= 2

TEST_PACKAGES := cmake ninja-build g++ make libgtest-dev libgmock-dev clang-format
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

.PHONY: run test deps build-test format format-check

run:
	@echo "quillbox: the program itself is not built yet; the Linux (Qt) and Windows builds land next." >&2
	@echo "quillbox: 'make test' builds and tests the portable core." >&2
	@exit 1

deps:
	scripts/install-deps.sh $(TEST_PACKAGES)

# The portable core and its tests, under AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors.
build-test: deps
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLBOX_SANITIZE=ON -DQUILLBOX_WERROR=ON
	cmake --build build/test -j $(JOBS)

test: build-test format-check
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --test-dir build/test --output-on-failure -j $(JOBS)

format:
	clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run --Werror $(SOURCES) && echo "clang-format: clean"
