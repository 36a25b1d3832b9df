# Front door over CMake. `make run` and `make test` do every step of the set-up themselves.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
WERROR := $(if $(CI),ON,OFF)
XVFB := xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp"

.PHONY: deps configure build run test bench sanitize fuzz install package clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DSKIDDLEWICK_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/skiddlewick

test: build
	$(XVFB) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) $(CTEST_ARGS)

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $(XVFB) $$b || exit 1; done

sanitize: deps
	cmake -S . -B build-asan -G Ninja -DSKIDDLEWICK_SANITIZE=address -DSKIDDLEWICK_BENCH=OFF \
	      -DSKIDDLEWICK_WERROR=$(WERROR) >/dev/null
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    $(XVFB) ctest --test-dir build-asan --output-on-failure -j $(JOBS) -LE e2e

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DSKIDDLEWICK_FUZZ=ON \
	    -DSKIDDLEWICK_TESTS=OFF -DSKIDDLEWICK_BENCH=OFF >/dev/null
	cmake --build build-fuzz -j $(JOBS)
	@for f in build-fuzz/fuzz/*_fuzz; do \
	    name=$$(basename $$f); mkdir -p build-fuzz/corpus/$$name; \
	    echo "== $$name ($(FUZZ_SECONDS) s)"; \
	    $$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -timeout=10 \
	        build-fuzz/corpus/$$name fuzz/corpus/$$name || exit 1; \
	done

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of what `install` puts under /usr; only the program and its files are built.
package: configure
	cmake --build $(BUILD) -j $(JOBS) --target skiddlewick assetgen_icons
	cd $(BUILD) && cpack --config CPackConfig.cmake

clean:
	rm -rf $(BUILD) build-asan build-fuzz
