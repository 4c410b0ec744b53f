# Front door: `make run` starts Corvel, `make test` runs every test tier.
.PHONY: all deps build windows native test run bench clean

all: build

deps:
	@scripts/install-deps.sh

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native

build: windows native

test: build
	ctest --preset all

run: windows
	scripts/run-corvel.sh

bench: build
	bench/run.sh

clean:
	rm -rf build
