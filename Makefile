# Quick start: `make run` builds and runs the bundled example; `make test` builds and runs every test.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 300
JOBS       ?= $(shell nproc)
EXAMPLE    ?= examples/user_pressure_curves.dn5d

.PHONY: all deps configure build run gui install check format pictures test test-asan fuzz fuzz-build fuzz-smoke bench clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRENOK_WERROR=ON

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/drenok-run $(EXAMPLE)

# `make install PREFIX=/opt/drenok` installs the programs (default prefix /usr/local).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# `make gui` starts the desktop program on a copy of the example, so runs write beside the copy.
gui: build
	mkdir -p $(BUILD)/examples
	cp $(EXAMPLE) $(BUILD)/examples/
	$(BUILD)/bin/DRENOKN5 $(BUILD)/examples/$(notdir $(EXAMPLE))

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRENOK_WERROR=ON -DDRENOK_SANITIZE=ON \
		-DDRENOK_BUILD_GUI=OFF

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -L sanitized

$(FUZZ_BUILD)/build.ninja:
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DDRENOK_FUZZ=ON -DDRENOK_WERROR=ON

fuzz-build: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# `make fuzz FUZZ_SECONDS=N` runs each fuzz target for N seconds; `make test` runs each for 30.
fuzz: fuzz-build
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	fuzz/run.sh $(FUZZ_BUILD) 30

# `make check` is the quick loop: build and run the tests of the main build. `make test` is the full
# gate: the format check, the main build's tests, the sanitizer build's and the fuzzers.
check: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

format: deps
	scripts/check-format.sh

# `make pictures` takes pictures of the windows into build/artifacts/ for a person to look at.
pictures: build
	cmake --build $(BUILD) --target pictures

test: format build test-asan fuzz-smoke
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bin/drenok-bench
	@if [ -x $(BUILD)/bin/drenok-graph-bench ]; then $(BUILD)/bin/drenok-graph-bench; fi
	$(BUILD)/bin/drenok-summary-bench
	$(BUILD)/bin/drenok-undo-bench
	@if [ -x $(BUILD)/bin/drenok-design-bench ]; then $(BUILD)/bin/drenok-design-bench; fi
	@if [ -x $(BUILD)/bin/drenok-report-bench ]; then $(BUILD)/bin/drenok-report-bench; fi
	@if [ -x $(BUILD)/bin/drenok-view3d-bench ] && command -v xvfb-run >/dev/null; then \
		QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x900x24' $(BUILD)/bin/drenok-view3d-bench; fi

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
