# The two commands of the project:
#   make run    installs what is missing, builds the Windows program and starts Quenby under Wine
#   make test   installs what is missing, builds both builds and runs every test layer
# Both work on a fresh Debian 12 machine as root (or through sudo).
SHELL := /bin/bash
JOBS ?= 2

.PHONY: run test test-under-load soak deps native windows fuzz bench package clean

deps:
	@tools/install-deps

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j$(JOBS)

windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j$(JOBS)

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j$(JOBS)

bench: deps
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j$(JOBS)
	@bench/run

package: windows
	@cmake --build build/windows --target package
	@cmake --build build/windows --target setup
	@ls -l build/windows/Quenby-*-x64.zip build/windows/Quenby-*-setup.exe

run: windows
	@tools/run-quenby

# One ctest run over every build folder, so the summary at the end counts every layer.
test: native windows fuzz
	@tools/run-tests

# The Windows and end-to-end layers three times over while both cores are kept busy.
test-under-load: windows
	@tools/test-under-load 3

# Thousands of attacks on a child's session (hours; not part of make test). Figures: docs/PERFORMANCE.md.
soak: windows
	@tools/soak $(SOAK_COUNTS)

clean:
	rm -rf build
