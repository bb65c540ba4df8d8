# make play  - set up, build and play the demo project (PROJECT=path for another)
# make test  - set up, build and run every test
PROJECT ?= examples/demo/demo.crt
BUILD ?= build
JOBS ?= $(shell nproc)
export BUILD

.PHONY: all deps build native wine test play clean

all: build

deps:
	@bash scripts/setup-deps.sh

native: deps
	@cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD)/native -j $(JOBS)

wine: deps
	@cmake -S . -B $(BUILD)/wine -DCMAKE_TOOLCHAIN_FILE=cmake/wine-toolchain.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD)/wine -j $(JOBS)

build: native wine

test: build
	@bash scripts/run-tests.sh

play: wine
	@bash scripts/play.sh "$(PROJECT)"

clean:
	rm -rf $(BUILD)
