# The two set-up commands of a fresh machine: `make demo` and `make test`.
# Both install what they need first (scripts/install-deps).

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
# Warnings are errors in CI; locally they are warnings.
WERROR     ?= $(if $(CI),ON,OFF)

.PHONY: all deps build demo test test-parts format-check test-unit test-sanitize test-tsan test-m32 test-fuzz bench soak install package clean test-ardour

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DWOBRIX_WERROR=$(WERROR)
	cmake --build $(BUILD) -j$(JOBS)

demo: build
	@if [ -x $(BUILD)/wobrix-host ]; then \
	    $(BUILD)/wobrix-host demo --out $(BUILD)/demo; \
	else \
	    echo "built $(BUILD)/WobrixFree.so and $(BUILD)/hosts/WobrixFree.so"; \
	fi
	@if [ -x $(BUILD)/wobrix-gallery ]; then \
	    mkdir -p $(BUILD)/demo && \
	    $(BUILD)/wobrix-gallery --png $(BUILD)/demo/gallery.png; \
	fi

# Every part under one private Xvfb (scripts/with-xvfb: a free display,
# -noreset, stopped by its process id at the end, also on failure), so the
# tests of editors in X11 windows never reach the desktop one works on.
test: deps
	@scripts/with-xvfb $(MAKE) --no-print-directory test-parts
test-parts: format-check test-unit test-sanitize test-tsan test-m32 test-fuzz

# The ctest runs get a private Xvfb of their own unless one is running for
# them already (WOBRIX_XVFB_DISPLAY, set by scripts/with-xvfb).
XVFB = $(if $(WOBRIX_XVFB_DISPLAY),,$(CURDIR)/scripts/with-xvfb)

# One style for the tree (.clang-format); any file it would change fails.
format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
	@echo "format-check: every C++ file is formatted"

test-unit: build
	cd $(BUILD) && $(XVFB) ctest --output-on-failure

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer;
# any report fails the run.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DWOBRIX_WERROR=$(WERROR) -DWOBRIX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 $(XVFB) ctest --output-on-failure

# The threaded tests again under ThreadSanitizer: the editor with audio,
# idle, open/close and drags at once, the platform's windows and locks, and
# the X11 editor's window thread beside the host's idle (on $DISPLAY; it
# skips without one). Any report fails the run.
TSAN_BUILD ?= build-tsan
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DWOBRIX_WERROR=$(WERROR) -DWOBRIX_SANITIZE_THREAD=ON \
	    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST
	cmake --build $(TSAN_BUILD) -j$(JOBS) --target editor_concurrency_tests platform_tests x11_editor_tests lv2_ui_tests
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $(TSAN_BUILD)/tests/editor_concurrency_tests
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $(TSAN_BUILD)/tests/platform_tests
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $(TSAN_BUILD)/tests/x11/x11_editor_tests
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $(TSAN_BUILD)/tests/lv2/lv2_ui_tests

# The record layout as a 32-bit host of the protocol sees it. Compiling
# checks it; the program also runs where the kernel runs 32-bit programs
# (exit 126 means it cannot, and the compiled check stands alone).
test-m32: deps
	mkdir -p $(BUILD)
	$(CXX) -m32 -std=c++20 -Wall -Wextra -Werror -I. -DWOBRIX_LAYOUT_AT_COMPILE_TIME \
	    tests/LayoutTest.cpp -o $(BUILD)/layout32
	@$(BUILD)/layout32 2>/dev/null; rc=$$?; \
	if [ $$rc -eq 126 ]; then echo "layout32: checked while compiling (this kernel runs no 32-bit programs)"; \
	else exit $$rc; fi

# The resource reader, the picture decoder, the gallery's frame, the editor
# script parser and the bass add-on's dispatcher and audio under libFuzzer
# (clang, with AddressSanitizer and UndefinedBehaviorSanitizer) for
# FUZZ_SECONDS each; a
# crash, leak or sanitizer report fails the run and leaves its input in
# $(FUZZ_BUILD). Corpus seeds, refreshed on every run (libFuzzer adds its
# own finds to the same folders):
#   reader/skin.rsrc  the container appended to $(BUILD)/WobrixFree.so: the
#                     four skin pictures and the type attribute
#   image/*.bmp       the four skin pictures: 340x262, 16x28 (2 trailing
#                     zero bytes), 22x28 and 44x76, all 8-bit RLE
#   gallery/          none: pointer, key and menu steps of four bytes each,
#                     which libFuzzer grows from nothing
#   script/           tests/fuzz/seeds/script: every step once (the first two
#                     bytes are the window's size less one), with the words
#                     of the language in tests/fuzz/script.dict
#   dispatcher/       none: opcodes, parameter writes and blocks, grown from
#                     nothing; the skin is appended, as the editor reads it
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 15
# The skin as the root CMakeLists.txt appends it to the add-ons.
SKIN_RESOURCES = RAWT:131:switch_random.bmp:$(BUILD)/skin/switch_random.bmp \
    RAWT:130:slider_knob_vert_b.bmp:$(BUILD)/skin/slider_knob_vert_b.bmp \
    RAWT:129:slider_knob_vert_s.bmp:$(BUILD)/skin/slider_knob_vert_s.bmp \
    RAWT:128:backgrnd.bmp:$(BUILD)/skin/backgrnd.bmp
FUZZ_RUN      = -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=$(FUZZ_BUILD)/ -print_final_stats=1
test-fuzz: build
	cmake -S tests/fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	mkdir -p $(FUZZ_BUILD)/corpus/reader $(FUZZ_BUILD)/corpus/image
	$(FUZZ_BUILD)/extract-container $(BUILD)/WobrixFree.so $(FUZZ_BUILD)/corpus/reader/skin.rsrc
	cp $(BUILD)/skin/*.bmp $(FUZZ_BUILD)/corpus/image/
	$(FUZZ_BUILD)/resource_reader_fuzz $(FUZZ_RUN) $(FUZZ_BUILD)/corpus/reader
	$(FUZZ_BUILD)/image_decode_fuzz $(FUZZ_RUN) $(FUZZ_BUILD)/corpus/image
	$(BUILD)/tools/append-resources $(FUZZ_BUILD)/gallery_fuzz $$(cat $(BUILD)/gallery-resources.txt)
	mkdir -p $(FUZZ_BUILD)/corpus/gallery
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	    $(FUZZ_BUILD)/gallery_fuzz $(FUZZ_RUN) -max_len=256 $(FUZZ_BUILD)/corpus/gallery
	mkdir -p $(FUZZ_BUILD)/corpus/script $(FUZZ_BUILD)/corpus/dispatcher
	cp tests/fuzz/seeds/script/* $(FUZZ_BUILD)/corpus/script/
	$(FUZZ_BUILD)/editor_script_fuzz $(FUZZ_RUN) -dict=tests/fuzz/script.dict $(FUZZ_BUILD)/corpus/script
	$(BUILD)/tools/append-resources $(FUZZ_BUILD)/dispatcher_fuzz $(SKIN_RESOURCES)
	$(FUZZ_BUILD)/dispatcher_fuzz $(FUZZ_RUN) $(FUZZ_BUILD)/corpus/dispatcher

# Benchmarks (Google Benchmark): the processor per program and block on steady
# sines and on bass notes, beside a stereo copy, the per-sample reference and
# LSP Compressor Stereo, and the cold start; last, the table of speed-ups at
# block 512. Installs the third-party add-on we compare against. Last, the
# LV2 rows (bench/Lv2Bench.cpp): ours at programs 0-3 and LSP's LV2
# Compressor Stereo through lilv, 10 s of the bass-like signal.
bench: build
	@dpkg-query -W -f='$${Status}' lsp-plugins-vst 2>/dev/null | grep -q "install ok installed" || \
	    (apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q lsp-plugins-vst)
	@if [ -x $(BUILD)/wobrix-host ]; then \
	    $(BUILD)/wobrix-host bench --program 0 --program 3 $(BUILD)/WobrixFree.so /usr/lib/vst/lsp-plugins/compressor-stereo.so; fi
	$(BUILD)/bench/processor_bench
	$(BUILD)/bench/lv2_bench
	$(BUILD)/bench/jack_bench
	@if [ -x $(BUILD)/bench/scaled_idle_bench ]; then $(XVFB) $(BUILD)/bench/scaled_idle_bench; fi

# The kernel against the per-sample reference for minutes (SOAK_SECONDS).
SOAK_SECONDS ?= 300
soak: build
	WOBRIX_SOAK_SECONDS=$(SOAK_SECONDS) $(BUILD)/tests/unit_tests --gtest_filter=Kernel.Soak*

# The editor inside the real Ardour 7 (scripts/ardour-check): a private Xvfb,
# a temporary HOME with the add-on scanned, a session with it on a stereo
# track; the editor opened from the mixer strip, its picture against
# tests/golden/editor-p0.png, a drag of the Compressor slider. Pictures and
# Ardour's log in $(BUILD)/ardour-check. Then the LV2 bundle in a headless
# Ardour (scripts/ardour-check-lv2): by URI on a stereo track, its five
# factory presets, Heavy's values, a value kept over save and reload. Last,
# the LV2 editor in Ardour's window as the first check opens the add-on's
# (scripts/ardour-check BUILD lv2): the same picture, the same drag, the
# comp port's value Ardour saves, and a drag while the transport rolls
# recorded as Latch automation (through ui:touch). Not part of `make test`.
ARDOUR_PACKAGES = ardour xvfb xdotool imagemagick x11-utils
test-ardour: build
	@missing=""; for p in $(ARDOUR_PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "test-ardour: installing$$missing"; \
	    SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	    $$SUDO apt-get update -q && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -q $$missing; \
	fi
	scripts/ardour-check $(BUILD)
	scripts/ardour-check-lv2 $(BUILD)
	scripts/ardour-check $(BUILD) lv2

install: build
	cmake --install $(BUILD)

# The Debian package (cmake/Package.cmake): the add-on for Linux hosts in
# /usr/lib/vst, wobrix-host and wobrix-gallery in /usr/bin (all stripped, the
# pictures appended again), the README, copyright, changelog and man pages;
# written to $(BUILD)/wobrix-free_VERSION_ARCH.deb, then checked by lintian,
# whose errors and warnings fail it.
package: build
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error,warning $(BUILD)/wobrix-free_*.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
