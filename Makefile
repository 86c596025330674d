# The two commands a newcomer needs: `make test` and `make run`. Each installs
# what is missing first (apt-get, as root or through sudo).
# win32 is the program as it is meant to be; win64 is the same sources built
# for x86-64, tested alongside. Both are always built; where the kernel cannot
# run 32-bit programs, only win64 runs (scripts/setup.sh finds out). native is
# the code free of the window system, built with clang under sanitizers.
PRESETS := win32 win64 native

.PHONY: all setup build test run record bench fuzz dist format clean

all: build

setup:
	@bash scripts/setup.sh

build/%/build.ninja: CMakeLists.txt CMakePresets.json
	cmake --preset $* >/dev/null

build: setup $(foreach p,$(PRESETS),build/$(p)/build.ninja)
	@scripts/build.sh

test: setup $(foreach p,$(PRESETS),build/$(p)/build.ninja)
	@scripts/build.sh --for-tests
	@scripts/test.sh

run: build
	@scripts/run.sh

# The transcript tool with its options: make record ARGS="--scenario all --csv wine.csv".
record: build
	@scripts/record.sh $(ARGS)

bench: build
	bench/run.sh

# The transcript fuzz target for longer than make test gives it.
FUZZ_SECONDS ?= 600
fuzz: build
	cmake --build --preset native --target transcript_fuzz
	tests/fuzz/run.sh build/native/tests/native/transcript_fuzz $(FUZZ_SECONDS) $(CURDIR)

# The 32-bit program as we ship it: build/dist/paintprobe-VERSION-win32.zip.
dist: build
	cd build && cpack --config win32/CPackConfig.cmake -B dist

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(foreach p,$(PRESETS),build/$(p))
