# Two entry points for a fresh Debian machine: `make run` and `make test`.
# Everything else here is what those two need.

PACKAGES := cmake g++ ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
            libjpeg62-turbo-dev xvfb xauth fonts-dejavu-core clang-format xdg-utils
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= 2

.PHONY: run test deps build build-test bench clean format format-check

run: build
	./build/corvina

test: deps format-check
	cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVINA_SANITIZE=ON -DCORVINA_WERROR=ON
	cmake --build build-test -j $(JOBS)
	cd build-test && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

build: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

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
	rm -rf build build-test
