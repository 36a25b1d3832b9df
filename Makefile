# Front door over CMake. `make run` and `make test` do every step of the set-up themselves.
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
WERROR := $(if $(CI),ON,OFF)
# -noreset: the server would otherwise reset whenever its last client leaves, and a test that
# connects during the reset finds no display.
XVFB := xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset"

.PHONY: deps deps-game deps-unit deps-check configure configure-game configure-unit build game \
    run test unit check bench screenshots sanitize fuzz install package web serve-web web-weight \
    web-bench clean

deps:
	@scripts/install-deps.sh

deps-game:
	@scripts/install-deps.sh game

deps-unit:
	@scripts/install-deps.sh unit

deps-check:
	@scripts/install-deps.sh check

# The configurations share the folder $(BUILD) and its objects: the game's configuration leaves
# the tests and benchmarks out only when their libraries are missing (a machine that ran
# `make run` alone), the tests' one insists on the tests, the full one on the benchmarks too. The
# browser tests (label web) run the web build in $(WEB_BUILD), which `make test` makes too.
CONFIGURE := cmake -S . -B $(BUILD) -G Ninja -DSKIDDLEWICK_WERROR=$(WERROR)
configure-game: deps-game
	@$(CONFIGURE) -DSKIDDLEWICK_TESTS=AUTO -DSKIDDLEWICK_BENCH=AUTO

configure-unit: deps-unit
	@$(CONFIGURE) -DSKIDDLEWICK_TESTS=ON -DSKIDDLEWICK_BENCH=AUTO

configure: deps
	@$(CONFIGURE) -DSKIDDLEWICK_TESTS=ON -DSKIDDLEWICK_BENCH=ON \
	    -DSKIDDLEWICK_WEB_BUILD=$(CURDIR)/$(WEB_BUILD)

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# What installing needs: the program and its replay tool with their data folder, and the desktop
# icons.
game: configure-game
	@cmake --build $(BUILD) -j $(JOBS) --target skiddlewick skiddlewick-replay assetgen_icons

# The program and its data folder only (the skiddlewick target makes the data first).
run: configure-game
	@cmake --build $(BUILD) -j $(JOBS) --target skiddlewick
	$(BUILD)/skiddlewick

test: build web
	$(XVFB) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) $(CTEST_ARGS)

# The edit-test loop: every test program built and run, without the benchmarks, the web build
# and the browser tests (label web), so neither Emscripten nor Chromium is needed.
unit: configure-unit
	@cmake --build $(BUILD) -j $(JOBS) --target skiddlewick_tests
	$(XVFB) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE web $(CTEST_ARGS)

# What a machine can check of the house rules, without building: no folder of src/ includes a
# higher layer (the tiers are in tools/check_layers.py), and every C++ file keeps .clang-format.
# It installs only python3 and clang-format: a quick look at a change needs no compiler. That no
# object links up the tiers needs the objects: the test LayerLinks checks it with the build.
FORMATTED := $(shell find src tests tools bench fuzz -name '*.cpp' -o -name '*.h' | sort)
check: deps-check
	python3 tools/check_layers.py
	@echo "clang-format --dry-run -Werror over src tests tools bench fuzz"
	@clang-format --dry-run -Werror $(FORMATTED)

# The page's input latency runs too when a web build is there (`make web`, or `make web-bench`,
# which makes it): it drives Chromium through the DevTools protocol, which Debian's
# python3-websocket speaks, so it runs on Debian's own interpreter.
SYSTEM_PYTHON := /usr/bin/python3
WEB_LATENCY_BENCH = $(SYSTEM_PYTHON) bench/web_input_latency_bench.py $(WEB_BUILD)
bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; ALSOFT_DRIVERS=null $(XVFB) $$b || exit 1; done
	@if [ -f $(WEB_BUILD)/index.html ]; then echo "== the page's input latency"; \
	    $(WEB_LATENCY_BENCH); else echo "== no web build: the page's input latency needs make web"; fi

# The README's pictures: every screen captured by the replay tool (tools/screenshots.sh).
screenshots: build
	$(XVFB) tools/screenshots.sh $(BUILD)

# Sanitizer runs: leaks are checked; the suppressions cover third-party libraries only.
# intercept_tls_get_addr=0: GCC 12's sanitizer runtimes find the size of a library's dynamic
# thread-local block (here libLLVM's, which the GL driver loads) by a guess meant for glibc 2.19
# to 2.24: a block that starts 16 bytes into a page is taken to follow a header holding its size
# and start. Our glibc takes the block from malloc, so that "header" is AddressSanitizer's own
# chunk header, and at exit LeakSanitizer scans the made-up range and crashes ("Tracer caught
# signal 11", about one run in 250). Blocks from malloc are seen as heap without the guess.
SANITIZER_COMMON := intercept_tls_get_addr=0
SANITIZER_ENV := ASAN_OPTIONS=$(SANITIZER_COMMON):detect_leaks=1:abort_on_error=0 \
    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    TSAN_OPTIONS=$(SANITIZER_COMMON):suppressions=$(CURDIR)/tests/sanitizer/tsan.supp:halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1
# The test programs run under ThreadSanitizer: the loader threads and the whole game in-process,
# in the scenarios and in the long automatic play.
tests_of = $(if $(filter-out %_display_test.cpp %_audio_test.cpp %_support.cpp,$(wildcard tests/$1/*.cpp)),test_$1) \
    $(if $(wildcard tests/$1/*_display_test.cpp),test_$1_display) \
    $(if $(wildcard tests/$1/*_audio_test.cpp),test_$1_audio)
TSAN_TESTS := $(strip $(call tests_of,loading) $(if $(wildcard tests/scenario/*.cpp),test_scenario) \
    $(call tests_of,longplay))

# A build folder build-$1 with the sanitizer $2 and the tests, without the benchmarks.
configure_sanitized = cmake -S . -B build-$1 -G Ninja -DSKIDDLEWICK_SANITIZE=$2 \
    -DSKIDDLEWICK_TESTS=ON -DSKIDDLEWICK_BENCH=OFF -DSKIDDLEWICK_WERROR=$(WERROR)

sanitize: deps
	$(call configure_sanitized,asan,address)
	cmake --build build-asan -j $(JOBS)
	$(SANITIZER_ENV) $(XVFB) ctest --test-dir build-asan --output-on-failure -j $(JOBS) $(CTEST_ARGS)
	$(call configure_sanitized,tsan,thread)
	cmake --build build-tsan -j $(JOBS) --target $(TSAN_TESTS)
	@# ThreadSanitizer needs the fixed memory layout that address randomisation would upset.
	@for t in $(TSAN_TESTS); do echo "== $$t under ThreadSanitizer"; \
	    $(SANITIZER_ENV) ALSOFT_DRIVERS=null \
	        $(XVFB) setarch -R build-tsan/tests/$$t || exit 1; \
	done

# Every fuzz/*_fuzz.cpp for FUZZ_SECONDS on its seed corpus (new finds go to build-fuzz/corpus,
# crashes to build-fuzz/crashes).
FUZZ_TARGETS := $(notdir $(basename $(wildcard fuzz/*_fuzz.cpp)))
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DSKIDDLEWICK_FUZZ=ON \
	    -DSKIDDLEWICK_TESTS=OFF -DSKIDDLEWICK_BENCH=OFF
	cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGETS)
	@mkdir -p build-fuzz/crashes
	@for name in $(FUZZ_TARGETS); do \
	    mkdir -p build-fuzz/corpus/$$name; \
	    echo "== $$name ($(FUZZ_SECONDS) s)"; \
	    build-fuzz/fuzz/$$name -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -timeout=10 \
	        -print_final_stats=1 -artifact_prefix=build-fuzz/crashes/$$name- \
	        build-fuzz/corpus/$$name fuzz/corpus/$$name 2>build-fuzz/$$name.log \
	        || { tail -60 build-fuzz/$$name.log; exit 1; }; \
	    grep -E '^stat::(number_of_executed_units|new_units_added)' build-fuzz/$$name.log; \
	done

install: game
	cmake --install $(BUILD) --prefix "$(PREFIX)"

# A Debian package of what `install` puts under /usr.
package: game
	cd $(BUILD) && cpack --config CPackConfig.cmake

# The web build (docs/web.md): the data folder from the desktop build's asset generator, then the
# game compiled by Emscripten into build-web/ (skiddlewick.js, .wasm, .data, index.html and the
# page's touch script, app manifest and icons, and offline service worker).
# Debian's node looks for acorn only when told where Debian keeps its modules.
WEB_BUILD ?= build-web
WEB_PORT ?= 8000
EMSCRIPTEN_ENV := EMSDK_PYTHON=/usr/bin/python3 NODE_PATH=/usr/share/nodejs
web: configure
	@cmake --build $(BUILD) -j $(JOBS) --target assetgen_data assetgen_icons
	@$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DSKIDDLEWICK_WERROR=$(WERROR) \
	    -DSKIDDLEWICK_WEB_DATA_DIR=$(CURDIR)/$(BUILD)/data
	@$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD) -j $(JOBS) --target skiddlewick skiddlewick-page skiddlewick-replay

# What a first visit to the page downloads, compressed (the table in docs/PERFORMANCE.md).
web-weight: web
	@tools/page_weight.sh $(WEB_BUILD)

# The page's input latency alone (docs/PERFORMANCE.md, section 7).
web-bench: web
	@$(WEB_LATENCY_BENCH)

serve-web: web
	@echo "Skiddlewick on http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops the server)"
	@python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB_BUILD)

clean:
	rm -rf $(BUILD) $(WEB_BUILD) build-asan build-tsan build-fuzz
