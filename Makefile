# Two entry points for a fresh Debian machine: `make run` and `make test`.
# Everything else here is what those two need.

PACKAGES := cmake g++ ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
            libjpeg62-turbo-dev xvfb xauth fonts-dejavu-core clang-format xdg-utils \
            clang libclang-rt-14-dev desktop-file-utils appstream dpkg-dev file \
            pgn-extract stockfish
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= 2
# Seconds each fuzz target runs: `make fuzz FUZZ_SECONDS=600`; `make test` gives each 15.
FUZZ_SECONDS ?= 60
TEST_FUZZ_SECONDS := 15
# The tests that start threads, also run under ThreadSanitizer.
TSAN_TESTS := test_engine_thread test_chessbrd test_engine_board test_engine_search test_uci
TSAN_REGEX := ^(test_engine_thread|test_chessbrd|test_engine_board|test_engine_search|test_uci)$$

.PHONY: run test deps build build-test bench clean format format-check tsan fuzz package

run: build
	./build/corvina

test: deps format-check
	cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVINA_SANITIZE=ON -DCORVINA_WERROR=ON
	cmake --build build-test -j $(JOBS)
	cd build-test && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory tsan
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS)

# The threaded tests built with ThreadSanitizer; tests/tsan.supp says what is left out and why.
tsan: deps
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVINA_TSAN=ON -DCORVINA_WERROR=ON
	cmake --build build-tsan -j $(JOBS) --target $(TSAN_TESTS)
	cd build-tsan && QT_QPA_PLATFORM=offscreen \
	  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(CURDIR)/tests/tsan.supp" \
	  ctest --output-on-failure -j $(JOBS) -R '$(TSAN_REGEX)'

# The libFuzzer targets of tests/fuzz (clang, ASan, UBSan), each for FUZZ_SECONDS.
fuzz: deps
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DCORVINA_SANITIZE=ON -DCORVINA_FUZZ=ON -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
	  -DCORVINA_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build build-fuzz -j $(JOBS) --target corvina_fuzzers
	cd build-fuzz && ctest --output-on-failure -j $(JOBS) -L fuzz

build: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

# The Debian package, from a release build of its own: build-pkg/corvina_<version>-1_<arch>.deb.
# Install it with `sudo apt-get install ./build-pkg/corvina_*.deb`.
package: deps
	cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr
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
	rm -rf build build-test build-tsan build-fuzz build-pkg
