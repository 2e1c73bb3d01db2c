# Front door. `make` builds everything (native and Windows); `make test` sets up what is
# missing, builds and runs every test; `make run` starts the calculator under Wine and
# `make gallery` the control gallery.
# Build folders live under $(BUILD); each has its own Wine prefix.

BUILD       ?= build
NATIVE      := $(BUILD)/native
WIN32       := $(BUILD)/win32
WIN64       := $(BUILD)/win64
FUZZ        := $(BUILD)/fuzz
JOBS        ?= $(shell nproc)
WINEPREFIX_ := $(abspath $(BUILD))/wineprefix
WINEPREFIX64_ := $(abspath $(BUILD))/wineprefix64
CMAKE_GEN   := -G Ninja

# The product is the 32-bit build. Where the kernel cannot run 32-bit programs (and so no
# 32-bit Wine), the same sources are also built for 64-bit Windows and that build's
# programs are the ones run and tested under Wine; the 32-bit build then leaves out the
# tests it could not run. Decided when a recipe runs, after setup.
RUN_BUILD   = $$(scripts/runs-32bit.sh && echo $(WIN32) || echo $(WIN64))
RUN_PREFIX  = $$(scripts/runs-32bit.sh && echo $(WINEPREFIX_) || echo $(WINEPREFIX64_))
RUN_NAME    = $$(scripts/runs-32bit.sh && echo win32 || echo win64)

.PHONY: all setup native host-tools win32 win32-product win64 run-build fuzz fuzz-long test soak run \
        gallery screenshots clean format

all: native win32

setup:
	@scripts/setup.sh

# configure_windows(build folder, toolchain, Wine prefix[, OFF to leave the tests out])
define configure_windows
cmake -S . -B $(1) $(CMAKE_GEN) -Wno-dev -DCMAKE_TOOLCHAIN_FILE=cmake/$(2).cmake \
  -DHOST_TOOLS_DIR=$(abspath $(NATIVE))/tools -DWINE_PREFIX=$(3) -DBUILD_TESTING=$(or $(4),ON) >/dev/null
endef

native:
	@cmake -S . -B $(NATIVE) $(CMAKE_GEN) -Wno-dev >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

# Only the host tools the Windows builds run (skin art, packages, glyphs).
host-tools:
	@cmake -S . -B $(NATIVE) $(CMAKE_GEN) -Wno-dev >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS) --target skingen skinpack glyphgen

win32: native
	@$(call configure_windows,$(WIN32),mingw-i686,$(WINEPREFIX_))
	@cmake --build $(WIN32) -j $(JOBS)

# The 32-bit product without its tests: what the test run builds where 32-bit programs
# cannot run, so that the product still compiles and links for 32-bit Windows.
win32-product: native
	@$(call configure_windows,$(WIN32),mingw-i686,$(WINEPREFIX_),OFF)
	@cmake --build $(WIN32) -j $(JOBS)

win64: native
	@$(call configure_windows,$(WIN64),mingw-x86_64,$(WINEPREFIX64_))
	@cmake --build $(WIN64) -j $(JOBS)

# The Windows build that runs here (see RUN_BUILD).
run-build:
	@if scripts/runs-32bit.sh; then $(MAKE) --no-print-directory win32; \
	 else $(MAKE) --no-print-directory win32-product win64; fi

fuzz:
	@cmake -S . -B $(FUZZ) $(CMAKE_GEN) -Wno-dev -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DSKIN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DFUZZ_SECONDS=$(or $(FUZZ_SECONDS),10) >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)

# Every fuzz target for longer: FUZZ_SECONDS each (default half an hour), two at a time.
# New inputs collect in $(FUZZ)/fuzz/<target>.corpus; crashes next to it.
fuzz-long:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(or $(FUZZ_SECONDS),1800)
	@ctest --test-dir $(FUZZ) --output-on-failure -j $(JOBS)

# One ctest run over all three builds, so there is one summary at the end. The Wine
# programs run with the heaps' free, tail and parameter checking on (WINE_HEAP_CHECK=0
# turns it off): a write into a freed block fails the test after which it is found.
test: setup
	@$(MAKE) --no-print-directory run-build fuzz
	@printf 'subdirs("native" "%s" "fuzz")\n' "$(RUN_NAME)" > $(BUILD)/CTestTestfile.cmake
	@scripts/wine-session.sh $(RUN_PREFIX) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Builds only what the calculator needs.
run: setup host-tools
	@if scripts/runs-32bit.sh; then $(call configure_windows,$(WIN32),mingw-i686,$(WINEPREFIX_)); \
	 else $(call configure_windows,$(WIN64),mingw-x86_64,$(WINEPREFIX64_)); fi
	@cmake --build $(RUN_BUILD) -j $(JOBS) --target calc
	@scripts/run-calculator.sh $(RUN_PREFIX) $(RUN_BUILD)/app/calc.exe

# The long soak under Wine (not part of `make test`): the skinned calculator driven at
# random for SOAK_SECONDS (default 600); it prints what it did and the handle counts.
# It then runs the hostile-skin gallery test over HOSTILE_SKINS skins (make test runs 40)
# and the re-entrancy test REENTRANCY_ROUNDS times over (make test runs it once), and last
# Wine's notepad and wordpad through skinrun for SKINRUN_SOAK_SECONDS each.
SOAK_SECONDS ?= 600
SKINRUN_SOAK_SECONDS ?= 600
HOSTILE_SKINS ?= 200
REENTRANCY_ROUNDS ?= 20
soak: setup host-tools
	@if scripts/runs-32bit.sh; then $(call configure_windows,$(WIN32),mingw-i686,$(WINEPREFIX_)); \
	 else $(call configure_windows,$(WIN64),mingw-x86_64,$(WINEPREFIX64_)); fi
	@cmake --build $(RUN_BUILD) -j $(JOBS) --target soak_wine_test hostile_gallery_wine_test \
	  reentrancy_wine_test skinrun_soak_wine_test
	@scripts/wine-session.sh $(RUN_PREFIX) env STRESS_SOAK_SECONDS=$(SOAK_SECONDS) \
	  FW_TEST_WATCHDOG=$$(( $(SOAK_SECONDS) + 300 )) wine $(RUN_BUILD)/tests/stress/soak_wine_test.exe
	@scripts/wine-session.sh $(RUN_PREFIX) env STRESS_HOSTILE_SKINS=$(HOSTILE_SKINS) \
	  FW_TEST_WATCHDOG=1800 wine $(RUN_BUILD)/tests/stress/hostile_gallery_wine_test.exe
	@scripts/wine-session.sh $(RUN_PREFIX) env REENTRANCY_ROUNDS=$(REENTRANCY_ROUNDS) \
	  FW_TEST_WATCHDOG=$$(( $(REENTRANCY_ROUNDS) * 80 + 60 )) \
	  wine $(RUN_BUILD)/tests/stress/reentrancy_wine_test.exe
	@scripts/wine-session.sh $(RUN_PREFIX) env SKINRUN_SOAK_SECONDS=$(SKINRUN_SOAK_SECONDS) \
	  FW_TEST_WATCHDOG=$$(( $(SKINRUN_SOAK_SECONDS) + 300 )) \
	  wine $(RUN_BUILD)/tests/stress/skinrun_soak_wine_test.exe

# Builds only the control gallery and starts it like `make run`.
gallery: setup host-tools
	@if scripts/runs-32bit.sh; then $(call configure_windows,$(WIN32),mingw-i686,$(WINEPREFIX_)); \
	 else $(call configure_windows,$(WIN64),mingw-x86_64,$(WINEPREFIX64_)); fi
	@cmake --build $(RUN_BUILD) -j $(JOBS) --target gallery
	@scripts/run-calculator.sh $(RUN_PREFIX) $(RUN_BUILD)/app/gallery/gallery.exe 'Control Gallery'

# Pictures of the calculator and of every gallery page with each built-in skin, unskinned
# and right to left, and a contact sheet of them all: $(SHOTS)/contact-sheet.png.
SHOTS ?= $(BUILD)/screenshots
screenshots: setup host-tools
	@if scripts/runs-32bit.sh; then $(call configure_windows,$(WIN32),mingw-i686,$(WINEPREFIX_)); \
	 else $(call configure_windows,$(WIN64),mingw-x86_64,$(WINEPREFIX64_)); fi
	@cmake --build $(RUN_BUILD) -j $(JOBS) --target calc gallery screenshot skinrun
	@scripts/gallery-screenshots.sh $(RUN_PREFIX) $(RUN_BUILD) $(SHOTS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
