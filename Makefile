# The two commands a newcomer needs: `make test` and `make run`. Each installs
# what is missing first (apt-get, as root or through sudo).
PRESET := win32
BUILD := build/$(PRESET)

.PHONY: all setup build test run bench format clean

all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/build.ninja: CMakeLists.txt CMakePresets.json
	cmake --preset $(PRESET) >/dev/null

build: setup $(BUILD)/build.ninja
	cmake --build --preset $(PRESET)

test: build
	scripts/with-display.sh ctest --preset $(PRESET)

run: build
	scripts/run.sh

bench: build
	bench/run.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
