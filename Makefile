# The two set-up commands of a fresh machine: `make demo` and `make test`.
# Both install what they need first (scripts/install-deps).

BUILD      ?= build
# The sanitizer build: clang with AddressSanitizer and UndefinedBehaviorSanitizer,
# whose libraries also carry the fuzzer's coverage for the fuzz targets.
SAN_BUILD  ?= build-sanitize
TSAN_BUILD ?= build-tsan
JOBS       ?= 2
# Warnings are errors in CI; locally they are warnings.
WERROR     ?= $(if $(CI),ON,OFF)

.PHONY: all deps build demo test test-all-passes format-check test-unit test-sanitize \
	test-tsan test-m32 sanitize-build fuzz fuzz-seeds fuzz-corpus bench soak install package clean test-ardour

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

# Every pass under one private Xvfb (scripts/with-xvfb: a free display,
# -noreset, stopped by its process id at the end, also on failure), so the
# tests of editors in X11 windows never reach the desktop one works on.
test: deps
	@scripts/with-xvfb $(MAKE) --no-print-directory test-all-passes
# The passes of `make test`, in order: the format, the unit tests, the unit
# tests and fuzz corpora under the address and undefined-behaviour
# sanitizers, the threaded tests under ThreadSanitizer, the 32-bit layout.
test-all-passes: format-check test-unit test-sanitize test-tsan test-m32

# The ctest runs get a private Xvfb of their own unless one is running for
# them already (WOBRIX_XVFB_DISPLAY, set by scripts/with-xvfb). Two tests at
# a time; those that use the X display take turns (its resource lock).
XVFB  = $(if $(WOBRIX_XVFB_DISPLAY),,$(CURDIR)/scripts/with-xvfb)
CTEST = ctest --output-on-failure --no-tests=error -j$(JOBS)

# One style for the tree (.clang-format); any file it would change fails.
format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
	@echo "format-check: every C++ file is formatted"

test-unit: build
	cd $(BUILD) && $(XVFB) $(CTEST)

# The sanitizer build (clang): the libraries once, with AddressSanitizer,
# UndefinedBehaviorSanitizer and the fuzzer's coverage, under both the unit
# tests and the fuzz targets.
sanitize-build: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DWOBRIX_WERROR=$(WERROR) \
	    -DWOBRIX_SANITIZE=ON -DWOBRIX_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(SAN_BUILD) -j$(JOBS)

# The unit tests again under the address and undefined-behaviour sanitizers,
# and every fuzz target replaying its committed corpus (tests/fuzz/corpus);
# any report fails the run.
SAN_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
test-sanitize: sanitize-build
	cd $(SAN_BUILD) && $(SAN_ENV) $(XVFB) $(CTEST)

# The threaded tests again under ThreadSanitizer: the editor with audio,
# idle, open/close and drags at once, the platform's windows and locks, and
# the X11 editor's window thread beside the host's idle (on $DISPLAY; it
# skips without one). Any report fails the run.
# Their tests carry the label "threads".
test-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -DWOBRIX_WERROR=$(WERROR) -DWOBRIX_SANITIZE_THREAD=ON \
	    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST
	cmake --build $(TSAN_BUILD) -j$(JOBS) --target editor_concurrency_tests platform_tests x11_editor_tests lv2_ui_tests
	cd $(TSAN_BUILD) && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $(XVFB) $(CTEST) -L threads

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

# Exploring with libFuzzer, FUZZ_SECONDS per target, from the committed
# corpus (tests/fuzz/corpus/NAME) and the build's own seeds, into
# $(SAN_BUILD)/fuzz/NAME; a crash, leak or sanitizer report fails the run
# and leaves its input in $(SAN_BUILD)/fuzz. Not part of `make test`, whose
# replay of the committed corpora is quick. Seeds from the build:
#   resource_reader_fuzz  the container appended to the add-on: the four
#                         skin pictures and the type attribute
#   image_decode_fuzz     the four skin pictures: 340x262, 16x28 (2 trailing
#                         zero bytes), 22x28 and 44x76, all 8-bit RLE
#   editor_script_fuzz    tests/fuzz/seeds/script: every step once (the first
#                         two bytes are the window's size less one), with the
#                         words of the language in tests/fuzz/script.dict
# The gallery's pointer, key and menu steps (four bytes each) and the
# dispatcher's opcodes, parameter writes and blocks grow from the corpus.
# `make fuzz-corpus` folds the finds into the committed corpora, minimised.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS  = resource_reader_fuzz image_decode_fuzz gallery_fuzz editor_script_fuzz dispatcher_fuzz
FUZZ_DIR      = $(SAN_BUILD)/fuzz
FUZZ_ARGS_gallery_fuzz       = -max_len=256
FUZZ_ARGS_editor_script_fuzz = -dict=tests/fuzz/script.dict
FUZZ_RUN      = -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=$(FUZZ_DIR)/ -print_final_stats=1
fuzz: $(addprefix fuzz-,$(FUZZ_TARGETS))
fuzz-seeds: sanitize-build
	for t in $(FUZZ_TARGETS); do mkdir -p $(FUZZ_DIR)/$$t && cp tests/fuzz/corpus/$$t/* $(FUZZ_DIR)/$$t/; done
	$(SAN_BUILD)/tests/fuzz/extract-container $(SAN_BUILD)/WobrixFree.so $(FUZZ_DIR)/resource_reader_fuzz/skin.rsrc
	cp $(SAN_BUILD)/skin/*.bmp $(FUZZ_DIR)/image_decode_fuzz/
	cp tests/fuzz/seeds/script/* $(FUZZ_DIR)/editor_script_fuzz/
.PHONY: $(addprefix fuzz-,$(FUZZ_TARGETS))
$(addprefix fuzz-,$(FUZZ_TARGETS)): fuzz-%: fuzz-seeds
	$(SAN_ENV) $(SAN_BUILD)/tests/fuzz/$* $(FUZZ_RUN) $(FUZZ_ARGS_$*) $(FUZZ_DIR)/$*
fuzz-corpus:
	@for t in $(FUZZ_TARGETS); do \
	    $(SAN_ENV) $(SAN_BUILD)/tests/fuzz/$$t -merge=1 tests/fuzz/corpus/$$t $(FUZZ_DIR)/$$t || exit 1; \
	done

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
	rm -rf $(BUILD) $(SAN_BUILD) $(TSAN_BUILD)
