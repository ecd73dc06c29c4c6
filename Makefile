# Two commands for a fresh Debian 12 machine:
#   make run   installs missing packages, builds, starts Korvane
#   make test  installs missing packages, builds, runs every test
BUILD ?= build
JOBS ?= $(shell nproc)
WERROR := $(if $(CI),ON,OFF)

.PHONY: all deps configure build run test bench clean

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

clean:
	rm -rf $(BUILD)
