# Set-up, build, run and test. See README.md.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
MAKEFLAGS  += --no-print-directory
CMAKE_ARGS ?=

.PHONY: deps configure build run test test-fast test-asan package fuzz fuzz-long bench clean format

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

# The main job: the desktop program with the bundled bridge example; where no
# display exists, the batch analysis of the same example.
run: build
	@scripts/run.sh $(BUILD)

# The whole suite, then once more under the address and undefined-behaviour
# sanitizers; ends with CTest's summary line.
test: test-fast test-asan

test-fast: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DBALKOR_SANITIZE=ON $(CMAKE_ARGS)
	@cmake --build $(ASAN_BUILD) -j$(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

# The Debian package $(BUILD)/balkor_<version>_amd64.deb (CPack); install it
# with apt-get install ./$(BUILD)/balkor_*.deb.
package: build
	@cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

# libFuzzer runs of the file readers (clang, build-fuzz/): a short one of
# 25 s per target, and a long one of 10 min per target.
fuzz: deps
	@fuzz/run.sh 25

fuzz-long: deps
	@fuzz/run.sh 600

# End-to-end timing of balkor-batch on generated grillages, and against CalculiX
# where it is installed (docs/performance.md).
bench: build
	@bench/end_to_end.sh $(BUILD) 50 100 200
	@bench/ccx_compare.sh $(BUILD) 100
