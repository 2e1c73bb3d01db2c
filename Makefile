# Front door. `make` builds everything (native and Windows); `make test` sets up what is
# missing, builds and runs every test; `make run` starts the calculator under Wine and
# `make gallery` the control gallery.
# Build folders live under $(BUILD); each has its own Wine prefix.

BUILD       ?= build
NATIVE      := $(BUILD)/native
WIN32       := $(BUILD)/win32
FUZZ        := $(BUILD)/fuzz
JOBS        ?= $(shell nproc)
WINEPREFIX_ := $(abspath $(BUILD))/wineprefix
CMAKE_GEN   := -G Ninja

.PHONY: all setup native win32 fuzz test run gallery clean format

all: native win32

setup:
	@scripts/setup.sh

native:
	@cmake -S . -B $(NATIVE) $(CMAKE_GEN) -Wno-dev >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

win32: native
	@cmake -S . -B $(WIN32) $(CMAKE_GEN) -Wno-dev \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DHOST_TOOLS_DIR=$(abspath $(NATIVE))/tools \
	  -DWINE_PREFIX=$(WINEPREFIX_) >/dev/null
	@cmake --build $(WIN32) -j $(JOBS)

fuzz:
	@cmake -S . -B $(FUZZ) $(CMAKE_GEN) -Wno-dev -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DSKIN_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DFUZZ_SECONDS=$(or $(FUZZ_SECONDS),10) >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)

# One ctest run over all three builds, so there is one summary at the end.
test: setup
	@$(MAKE) --no-print-directory all fuzz
	@printf 'subdirs("native" "win32" "fuzz")\n' > $(BUILD)/CTestTestfile.cmake
	@scripts/wine-session.sh $(WINEPREFIX_) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

run: setup
	@$(MAKE) --no-print-directory win32
	@scripts/run-calculator.sh $(WINEPREFIX_) $(WIN32)/app/calc.exe

# The control gallery: builds just gallery.exe and starts it like `make run`.
gallery: setup
	@cmake -S . -B $(NATIVE) $(CMAKE_GEN) -Wno-dev >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS) --target skingen skinpack
	@cmake -S . -B $(WIN32) $(CMAKE_GEN) -Wno-dev \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DHOST_TOOLS_DIR=$(abspath $(NATIVE))/tools \
	  -DWINE_PREFIX=$(WINEPREFIX_) >/dev/null
	@cmake --build $(WIN32) -j $(JOBS) --target gallery
	@scripts/run-calculator.sh $(WINEPREFIX_) $(WIN32)/app/gallery/gallery.exe 'Control Gallery'

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
