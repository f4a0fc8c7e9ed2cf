# Thin front door; the real build is CMake.
BUILD ?= build
JOBS ?= 2
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build run test bench fuzz package clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@# A tree configured for another generator is configured afresh.
	@if [ -f $(BUILD)/CMakeCache.txt ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$$' $(BUILD)/CMakeCache.txt; then \
		rm -rf $(BUILD)/CMakeCache.txt $(BUILD)/CMakeFiles; fi
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-demo $(BUILD)

test: build
	@# The suite, then under the sanitizers and a short run of the fuzz targets.
	@JOBS=$(JOBS) scripts/run-tests $(BUILD)

fuzz: deps
	@scripts/fuzz $(BUILD) $(FUZZ_SECONDS)

# dlmanager_<version>_<arch>.deb in this folder: `apt-get install ./dlmanager_*.deb`.
package: build
	@scripts/make-package $(BUILD) .

bench: build
	@scripts/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-tsan
