# The two commands of the README: `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= 2

TEST_PACKAGES := cmake ninja-build g++ make libgtest-dev libgmock-dev clang-format clang libclang-rt-14-dev
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

FUZZERS := StoredInteger RegFile DateFormat TypedName
FUZZ_RUNS ?= 1000000

.PHONY: run test deps build-test build-fuzz fuzz fuzz-smoke bench format format-check

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

test: build-test format-check fuzz-smoke
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --test-dir build/test --output-on-failure -j $(JOBS)

# Fuzzers (libFuzzer, with ASan and UBSan): a short run of each in `make test`, 10^6 runs in `make fuzz`.
build-fuzz: deps
	cmake -S . -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQUILLBOX_FUZZ=ON -DQUILLBOX_TESTS=OFF \
	    -DQUILLBOX_PLATFORM=none -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build/fuzz -j $(JOBS)

fuzz: build-fuzz
	@for f in $(FUZZERS); do mkdir -p build/fuzz/corpus/$$f; \
	    echo "fuzz_$$f: $(FUZZ_RUNS) runs"; \
	    build/fuzz/fuzz/fuzz_$$f -runs=$(FUZZ_RUNS) -max_len=512 build/fuzz/corpus/$$f 2>&1 | tail -n 1 || exit 1; done

fuzz-smoke:
	@$(MAKE) --no-print-directory fuzz FUZZ_RUNS=20000

# Benchmarks, in an optimised build: they print rates, percentiles and ratios.
bench: deps
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLBOX_PLATFORM=none
	cmake --build build/bench -j $(JOBS) --target bench_numbering
	build/bench/bench/bench_numbering

format:
	clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run --Werror $(SOURCES) && echo "clang-format: clean"
