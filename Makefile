# The two commands of the README: `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= 2

# The Linux (Qt 6, X11) build, and what its tests need: a virtual display, tray hosts, clipboard tools.
LINUX_PACKAGES := qt6-base-dev libxcb-xfixes0-dev pkg-config fonts-ipafont-gothic
LINUX_TEST_PACKAGES := xvfb xclip xdotool trayer x11-utils x11-xserver-utils dbus-daemon dbus-bin python3-dbus \
    python3-gi
TEST_PACKAGES := cmake ninja-build g++ make libgtest-dev libgmock-dev clang-format clang libclang-rt-14-dev \
    $(LINUX_PACKAGES) $(LINUX_TEST_PACKAGES)
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 xvfb xdotool xclip \
    fonts-ipafont-gothic fonts-liberation locales python3
MINGW64 := -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

FUZZERS := StoredInteger RegFile DateFormat TypedName
FUZZ_RUNS ?= 1000000

.PHONY: windows windows-test windows-deps run test deps build-test build-fuzz fuzz fuzz-smoke bench format format-check

# Builds build/linux/quillbox and starts it in the current X11 session.
run:
	@[ -n "$$DISPLAY" ] || { echo "make run: no X11 display (DISPLAY is not set); Quillbox runs in a desktop session." >&2; \
	    echo "make run: \`make demo\` shows it without one: on a virtual display, with screenshots in build/demo/." >&2; \
	    exit 2; }
	@$(MAKE) --no-print-directory build-linux
	build/linux/quillbox

build-linux:
	scripts/install-deps.sh cmake ninja-build g++ $(LINUX_PACKAGES)
	cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBOX_TESTS=OFF
	cmake --build build/linux -j $(JOBS) --target quillbox

# A tour without a desktop: Quillbox on a private Xvfb with a tray, used step by step as a person would,
# a screenshot per step in build/demo/ (build/demo-windows/ for quillbox.exe under wine64).
DEMO_PACKAGES := xvfb xclip xdotool trayer x11-utils x11-xserver-utils x11-apps netpbm

.PHONY: build-linux demo demo-windows

demo: build-linux
	scripts/install-deps.sh $(DEMO_PACKAGES)
	scripts/demo.sh build/linux build/demo

demo-windows: windows
	scripts/install-deps.sh $(DEMO_PACKAGES) python3
	scripts/demo-windows.sh build/windows build/demo-windows

deps:
	scripts/install-deps.sh $(TEST_PACKAGES)

# The portable core and its tests, under AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors.
build-test: deps
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLBOX_SANITIZE=ON -DQUILLBOX_WERROR=ON
	cmake --build build/test -j $(JOBS)

test: build-test format-check fuzz-smoke
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --test-dir build/test --output-on-failure -j $(JOBS)
	tests/e2e/linux/run.sh build/test
	$(MAKE) --no-print-directory windows-test
	$(MAKE) --no-print-directory package-test

# The Windows build: build/windows/quillbox.exe, cross-built for x86_64 with mingw-w64 and statically
# linked; the i686 build is compiled as a check.
windows-deps:
	scripts/install-deps.sh cmake ninja-build $(WINDOWS_PACKAGES)

windows: windows-deps
	cmake -S . -B build/windows $(MINGW64) -DCMAKE_BUILD_TYPE=Release
	cmake --build build/windows -j $(JOBS)

# The Windows layer's own tests (with UBSan) and the end-to-end suite, under wine64.
windows-test: windows
	cmake -S . -B build/windows-test $(MINGW64) -DCMAKE_BUILD_TYPE=Debug \
	    "-DCMAKE_CXX_FLAGS=-fsanitize=undefined -fsanitize-undefined-trap-on-error"
	cmake --build build/windows-test -j $(JOBS) --target quillbox_win32_tests
	cmake -S . -B build/windows-i686 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
	    -DCMAKE_BUILD_TYPE=Release
	cmake --build build/windows-i686 -j $(JOBS) --target quillbox
	tests/e2e/wine/run-unit.sh build/windows-test/quillbox_win32_tests.exe
	tests/e2e/wine/run-e2e.sh build/windows/quillbox.exe build/windows/e2e_helper.exe

# The packages users install (cmake/Packaging.cmake): build/package/quillbox_<version>_amd64.deb from a
# Release build for /usr with Debian's hardening flags, and build/package/quillbox-<version>-win64.zip from
# build/windows.
PACKAGE_PACKAGES := dpkg-dev file
PACKAGE_TEST_PACKAGES := desktop-file-utils lintian man-db groff-base unzip binutils file dpkg-dev
PACKAGE_FLAGS := DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get

.PHONY: package package-test

package: windows
	scripts/install-deps.sh cmake ninja-build g++ $(LINUX_PACKAGES) $(PACKAGE_PACKAGES)
	cmake -S . -B build/package/linux -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	    -DQUILLBOX_TESTS=OFF "-DCMAKE_CXX_FLAGS=$$($(PACKAGE_FLAGS) CPPFLAGS) $$($(PACKAGE_FLAGS) CXXFLAGS)" \
	    "-DCMAKE_EXE_LINKER_FLAGS=$$($(PACKAGE_FLAGS) LDFLAGS)"
	cmake --build build/package/linux -j $(JOBS)
	cpack --config build/package/linux/CPackConfig.cmake -B build/package
	cpack --config build/windows/CPackConfig.cmake -B build/package

# Installs the .deb into a scratch root and checks it, the zip and what lintian says.
package-test: package
	scripts/install-deps.sh $(PACKAGE_TEST_PACKAGES)
	tests/package/run.sh build/package

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
