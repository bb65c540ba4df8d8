# make play  - set up, build and play the demo project (PROJECT=path for another)
# make test  - set up, build and run every test
BUILD ?= build
# The demo project, generated from its description into the build tree.
DEMO = $(BUILD)/demo/demo.crt
PROJECT ?= $(DEMO)
JOBS ?= $(shell nproc)
export BUILD

.PHONY: all deps build native wine fuzz test play demo clean

all: build

deps:
	@bash scripts/setup-deps.sh

native: deps
	@cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD)/native -j $(JOBS)

wine: deps
	@cmake -S . -B $(BUILD)/wine -DCMAKE_TOOLCHAIN_FILE=cmake/wine-toolchain.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD)/wine -j $(JOBS)

fuzz: deps
	@cmake -S . -B $(BUILD)/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTSL_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build $(BUILD)/fuzz -j $(JOBS)

build: native wine fuzz

test: build demo
	@bash scripts/run-tests.sh

demo: deps
	@cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD)/native --target tslmake animmake -j $(JOBS)
	@mkdir -p $(BUILD)/demo
	@$(BUILD)/native/tslmake examples/demo/demo.tsd $(DEMO)
	@$(BUILD)/native/tslmake --db examples/demo/demo.tdb $(BUILD)/demo/demo
	@$(BUILD)/native/animmake flc $(BUILD)/demo/anim.flc 160 120 10 120
	@$(BUILD)/native/animmake abp $(BUILD)/demo/anim.abp 120 60 6 150
	@$(BUILD)/native/animmake container $(BUILD)/demo/dias.bmc Eins Zwei Drei
	@convert -delay 30 -loop 2 -size 100x60 xc:red xc:lime xc:blue $(BUILD)/demo/anim.gif

play: wine demo
	@bash scripts/play.sh "$(PROJECT)"

clean:
	rm -rf $(BUILD)

# Benchmarks: an optimised native tree without sanitizers.
.PHONY: bench
bench: deps
	@cmake -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release -DTSL_SANITIZE=OFF >/dev/null
	@cmake --build $(BUILD)/bench -j $(JOBS)
	@for b in $(BUILD)/bench/*_bench; do [ -x "$$b" ] && "$$b"; done; true
