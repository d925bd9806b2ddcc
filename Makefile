# Quelmo: the two commands a newcomer needs are `make run` and `make test`.
# Both install what is missing first (Debian/Ubuntu, see scripts/bootstrap.sh).

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_BUILD = cmake --build --preset
CTEST = ctest --preset
FUZZ_SECONDS ?= 60

.PHONY: all bootstrap configure native windows fuzz test test-native test-windows test-fuzz \
        run package bench format format-check tidy clean

all: native windows

bootstrap:
	@./scripts/bootstrap.sh

build/native/Makefile:
	cmake --preset native
build/windows/Makefile:
	cmake --preset windows
build/fuzz/Makefile:
	cmake --preset fuzz
build/native-release/Makefile:
	cmake --preset native-release

native: bootstrap build/native/Makefile
	$(CMAKE_BUILD) native -j $(JOBS)

windows: bootstrap build/windows/Makefile
	$(CMAKE_BUILD) windows -j $(JOBS)

fuzz: bootstrap build/fuzz/Makefile
	$(CMAKE_BUILD) fuzz -j $(JOBS)

# Every tier: native unit tests, Windows tests and end-to-end tests under Wine, bounded fuzzing.
test: format-check test-native test-windows test-fuzz
	@echo "make test: all tiers passed"

test-native: native
	$(CTEST) native -j $(JOBS)

test-windows: windows
	$(CTEST) windows

test-fuzz: fuzz
	./scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

# Builds Quelmo.exe alone (no test programs) and starts it under Wine: on your display when there
# is one, otherwise on a private Xvfb with a screenshot in build/windows/run-screenshot.png.
run: bootstrap build/windows/Makefile
	$(CMAKE_BUILD) windows -j $(JOBS) --target Quelmo
	./scripts/run-quelmo build/windows/Quelmo.exe

# The portable zip and the installer (package/), built from Quelmo.exe alone, into build/package.
package: bootstrap build/windows/Makefile
	$(CMAKE_BUILD) windows -j $(JOBS) --target quelmo_package
	rm -rf build/package
	mkdir -p build/package
	cp build/windows/release/Quelmo-* build/package/
	@ls -l build/package

bench: bootstrap build/native-release/Makefile windows
	$(CMAKE_BUILD) native-release -j $(JOBS)
	./scripts/run-benchmarks

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	@git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

tidy: native windows
	./scripts/run-tidy

clean:
	rm -rf build
