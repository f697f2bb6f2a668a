# TamsoloCalc: the two commands a user needs are `make run` and `make test`.
JOBS ?= $(shell nproc)

.PHONY: all run test deps native mingw bench dist format clean

all: mingw

deps:
	@tools/install-deps

native: deps
	cmake --preset native
	cmake --build build/native -j$(JOBS)

mingw: deps
	cmake --preset mingw
	cmake --build build/mingw -j$(JOBS) --target tamsolocalc

# Builds tamsolocalc.exe and starts it (under Wine on Linux, in the project's own
# prefix). Without a display tools/wine-launch drives it through drive_calc.exe
# in a virtual display and saves a picture of the window.
run: mingw
	cmake --build build/mingw -j$(JOBS) --target drive_calc
	tools/wine-launch build/mingw/tamsolocalc.exe

test: deps
	tools/run-tests

# Measures speed with the Google Benchmark programs in bench/.
bench: deps
	cmake --preset bench
	cmake --build build/bench -j$(JOBS)
	@for b in build/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

dist: mingw
	tools/make-dist

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build dist
