# The two set-up commands: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run test test-kwin deps build package bench fuzz format format-check tidy test-asan test-tsan test-browsers clean

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/holdfin

# The Wayland cases run under headless mutter; the KWin ones only with `make test-kwin`.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE kwin

test-kwin:
	HOLDFIN_KWIN=1 scripts/install-deps
	$(MAKE) build
	cmake -S . -B $(BUILD) >/dev/null
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L kwin

# Drags both ways between holdfin and Chromium and Firefox ESR, those of them that are
# installed (apt-get install chromium firefox-esr); not part of `make test`.
test-browsers: build
	scripts/test-browsers --build $(BUILD)

# A Debian package: sudo apt-get install ./build/holdfin_*.deb
package: build
	cd $(BUILD) && cpack

bench: build
	scripts/run-benchmarks $(BUILD)

test-asan:
	$(MAKE) test BUILD=build-asan CMAKE_FLAGS="-DHOLDFIN_SANITIZE=address -DHOLDFIN_BENCHMARKS=OFF $(CMAKE_FLAGS)"

test-tsan:
	$(MAKE) test BUILD=build-tsan CMAKE_FLAGS="-DHOLDFIN_SANITIZE=thread -DHOLDFIN_BENCHMARKS=OFF $(CMAKE_FLAGS)"

# Each fuzz target runs FUZZ_SECONDS (default 60).
fuzz: deps
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DHOLDFIN_SANITIZE=fuzzer -DBUILD_TESTING=OFF -DHOLDFIN_BENCHMARKS=OFF
	cmake --build build-fuzz -j $(JOBS) --target $$(grep -ho 'holdfin_add_fuzzer(fuzz_[a-z_]*' fuzz/CMakeLists.txt | cut -d'(' -f2)
	scripts/run-fuzzers build-fuzz

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

# clang-tidy over the product code, with the checks of .clang-tidy.
tidy: build
	git ls-files 'src/*.cpp' | xargs -P $(JOBS) -n 4 clang-tidy -p $(BUILD) --quiet

clean:
	rm -rf build build-asan build-tsan build-fuzz
