# Two commands for a fresh Debian 12 machine:
#   make run   installs missing packages, builds, starts Korvane
#   make test  installs missing packages, builds, runs every test
BUILD ?= build
JOBS ?= $(shell nproc)
WERROR := $(if $(CI),ON,OFF)

FUZZ_BUILD ?= build-fuzz
FUZZ_SEEDS ?= $(FUZZ_BUILD)/seeds
FUZZ_TARGETS := bmp ico jpeg png wmf emf decode settings language movelist
# Seconds per target for fuzz-run.
FUZZ_TIME ?= 30

.PHONY: all deps configure build run test bench clean fuzz fuzz-run print-fuzz-targets

all: build

deps:
	@scripts/deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_WERROR=$(WERROR) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@scripts/bench.sh $(BUILD)

# libFuzzer targets (needs clang): make fuzz builds them and their seeds,
# make fuzz-run runs each for FUZZ_TIME seconds and fails on any finding.
fuzz: deps
	@command -v clang++ >/dev/null || { echo "make fuzz needs clang++"; exit 1; }
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DKORVANE_FUZZ=ON -DKORVANE_GUI=OFF -DKORVANE_TESTS=OFF \
	  -DKORVANE_BENCH=OFF -DKORVANE_WERROR=$(WERROR) >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_all
	@/usr/bin/python3 scripts/make_fuzz_seeds.py $(FUZZ_SEEDS)

fuzz-run: fuzz
	@JOBS=$(JOBS) scripts/run_fuzz.sh $(FUZZ_BUILD) $(FUZZ_SEEDS) $(FUZZ_TIME) $(FUZZ_TARGETS)

print-fuzz-targets:
	@echo $(FUZZ_TARGETS)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) build-san
