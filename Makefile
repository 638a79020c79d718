# Two entry points for a fresh Debian machine: `make run` and `make test`.
# Everything else here is what those two need.

PACKAGES := cmake g++ ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
            libjpeg62-turbo-dev xvfb xauth fonts-dejavu-core clang-format xdg-utils \
            clang lld libclang-rt-14-dev desktop-file-utils appstream dpkg-dev file \
            pgn-extract stockfish qt6-translations-l10n
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= 2
# One more test than processors: some tests spend seconds waiting for a window or a peer.
TEST_JOBS ?= 3
# Seconds each fuzz target runs: `make fuzz FUZZ_SECONDS=600`; `make test` gives each 15.
FUZZ_SECONDS ?= 60
TEST_FUZZ_SECONDS := 15
# `make stress`: how many runs of the suite, beside how many busy loops.
STRESS_RUNS ?= 15
STRESS_LOAD ?= 2

# The checked builds keep line tables only (enough for sanitizer stack traces) and link with
# lld. build-test: clang (five times faster than g++ with AddressSanitizer and
# UndefinedBehaviorSanitizer), both sanitizers everywhere, and the libFuzzer targets beside the
# tests (label "fuzz"). build-tsan: g++, whose ThreadSanitizer runtime follows QProcess's fork
# where clang 14's stops on an internal check.
CHECKED := -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld \
           -DCORVINA_WERROR=ON
SANITIZED := $(CHECKED) -DCMAKE_CXX_COMPILER=clang++ -DCORVINA_SANITIZE=ON -DCORVINA_FUZZ=ON \
             -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG"
THREADED := $(CHECKED) -DCMAKE_CXX_COMPILER=g++ -DCORVINA_TSAN=ON \
            -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
# build and build-pkg: clang with lld, optimised across files; its engine searches some 8 %
# more nodes a second than g++'s (corvina-bench speed).
RELEASE := -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ \
           -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld
SANITIZER_ENV := QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The tests that start threads, also run under ThreadSanitizer.
TSAN_TESTS := test_engine_thread test_chessbrd test_engine_board test_engine_search test_uci
TSAN_REGEX := ^(test_engine_thread|test_chessbrd|test_engine_board|test_engine_search|test_uci)$$

.PHONY: run test deps build build-test bench clean format format-check tsan fuzz stress package

run: build
	./build/corvina

# The sanitizer suite and every fuzz target for TEST_FUZZ_SECONDS in one CTest run, then the
# ThreadSanitizer pass.
test: deps format-check build-test
	cd build-test && $(SANITIZER_ENV) ctest --output-on-failure -j $(TEST_JOBS)
	$(MAKE) --no-print-directory tsan

build-test: deps
	cmake -S . -B build-test $(SANITIZED) -DCORVINA_FUZZ_SECONDS=$(TEST_FUZZ_SECONDS)
	cmake --build build-test -j $(JOBS)

# The threaded tests built with ThreadSanitizer; tests/tsan.supp says what is left out and why.
tsan: deps
	cmake -S . -B build-tsan $(THREADED)
	cmake --build build-tsan -j $(JOBS) --target $(TSAN_TESTS)
	cd build-tsan && QT_QPA_PLATFORM=offscreen \
	  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" \
	  ctest --output-on-failure -j $(JOBS) -R '$(TSAN_REGEX)'

# The libFuzzer targets of tests/fuzz (clang, ASan, UBSan), each for FUZZ_SECONDS.
fuzz: deps
	cmake -S . -B build-test $(SANITIZED) -DCORVINA_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build build-test -j $(JOBS) --target corvina_fuzzers
	cd build-test && ctest --output-on-failure -j $(JOBS) -L fuzz
	cmake -S . -B build-test -DCORVINA_FUZZ_SECONDS=$(TEST_FUZZ_SECONDS)

# The sanitizer suite (without the fuzz targets) STRESS_RUNS times beside STRESS_LOAD busy
# loops; prints how many runs each test failed. Not part of `make test`.
stress: build-test
	tests/stress.sh build-test $(STRESS_RUNS) $(STRESS_LOAD) $(JOBS)

build: deps
	cmake -S . -B build $(RELEASE)
	cmake --build build -j $(JOBS)

# The Debian package, from a release build of its own: build-pkg/corvina_<version>-1_<arch>.deb.
# Install it with `sudo apt-get install ./build-pkg/corvina_*.deb`.
package: deps
	cmake -S . -B build-pkg $(RELEASE) -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build build-pkg -j $(JOBS) --target corvina_installables
	cd build-pkg && cpack -G DEB

bench: build
	./build/corvina-bench makemove

# Installs only what is missing, so a machine that has everything asks for nothing.
deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

# Every tracked C++ source must be as clang-format writes it; `make format` rewrites them.
format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-test build-tsan build-pkg
