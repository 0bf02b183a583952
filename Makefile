# SPDX-License-Identifier: GPL-3.0-or-later
# Thin wrapper over CMake: `make run` builds and starts the program, `make test` builds and runs every
# test, `make package` makes the .deb, `make bench` measures the program against its budgets.
BUILD ?= build
CMAKE_FLAGS ?=
# Which groups of tools/install-dependencies.sh to install, and whether to build the tests.
DEPENDENCY_GROUPS ?= run build test
TESTS ?= ON

.PHONY: all deps configure build run test package bench clean

all: build

# Running needs neither the test tools nor the tests.
run package: TESTS = OFF
run: DEPENDENCY_GROUPS = run build
package: DEPENDENCY_GROUPS = run build package

deps:
	@tools/install-dependencies.sh $(DEPENDENCY_GROUPS)

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=$(TESTS) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/bin/wheelwatcher

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

# Writes $(BUILD)/wheelwatcher_<version>_<architecture>.deb.
package: build
	cd $(BUILD) && cpack -G DEB

# Builds the benchmarks optimised (RelWithDebInfo) and prints one line per budget.
bench: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWHEELWATCHER_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target wheelwatcher_bench
	$(BUILD)/bin/wheelwatcher_bench

clean:
	rm -rf $(BUILD)
