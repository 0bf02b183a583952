# Thin wrapper over CMake: `make run` builds and starts the program, `make test` builds and runs every
# test, `make bench` measures the program against its budgets.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@tools/install-dependencies.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

run: build
	@tools/run.sh $(BUILD)/bin/wheelwatcher

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

# Builds the benchmarks optimised (RelWithDebInfo) and prints one line per budget.
bench: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWHEELWATCHER_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) --target wheelwatcher_bench
	$(BUILD)/bin/wheelwatcher_bench

clean:
	rm -rf $(BUILD)
