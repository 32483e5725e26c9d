# `make play` builds and starts the game; `make test` builds and runs every
# test. Both install the Debian packages they need first.

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: play test build deps sanitize-test ci clean a11y-test

play: build
	cd $(BUILD)/game && ./tessaranium

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The screen-reader tests alone: the game played by keys through AT-SPI and
# with Debian's Orca listening (both are part of `make test` too).
a11y-test: build
	cd $(BUILD) && ctest -L a11y --output-on-failure

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-test: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTESS_SANITIZE=ON -DTESS_WERROR=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

deps:
	@tools/install-deps.sh

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) build-pkg build-bench build-fuzz

# The Debian package, built in its own Release tree without the tests:
# $(PKG_BUILD)/tessaranium_<version>-1_<arch>.deb. `package-test` installs it
# with apt, starts it from its menu entry on a virtual X server and removes it
# again (root or sudo).
PKG_BUILD ?= build-pkg
.PHONY: package package-test

package: deps
	cmake -S . -B $(PKG_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
	cmake --build $(PKG_BUILD) -j $(JOBS) --target tess_install_parts
	rm -f $(PKG_BUILD)/*.deb
	cd $(PKG_BUILD) && cpack -G DEB

package-test: package
	bash tests/packaging/package_test.sh $(PKG_BUILD)/tessaranium_*.deb

# Benchmarks: a Release tree of their own; each prints medians and spreads
# (docs/PERFORMANCE.md explains the figures). Not part of `make test`.
BENCH_BUILD ?= build-bench
.PHONY: bench

bench: deps
	@bench/install-deps.sh
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target benchmarks
	$(BENCH_BUILD)/bench/bench_startup
	$(BENCH_BUILD)/bench/bench_page_turn
	$(BENCH_BUILD)/bench/bench_console
	$(BENCH_BUILD)/bench/bench_idle

# Fuzzing: the parsers that read the player's files and keyboard, built with
# clang and libFuzzer in a tree of their own, each run for FUZZ_SECONDS from
# its seed corpus (tests/fuzz/corpus/). docs/RELIABILITY.md has the figures.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 25
.PHONY: fuzz

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESS_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	tests/fuzz/run_fuzzers.sh $(FUZZ_BUILD)/tests/fuzz $(FUZZ_SECONDS)
