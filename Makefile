# `make play` builds the game alone (no tests, tools or benchmarks) and starts
# it; `make test` builds everything and runs every test. Both install the
# Debian packages they need first.

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: play game test build configure deps sanitize-test ci clean a11y-test

play: game
	cd $(BUILD)/game && ./tessaranium

# Only the game and its folder: no tests, tools or benchmarks to wait for.
game: configure
	cmake --build $(BUILD) -j $(JOBS) --target tessaranium

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The screen-reader tests alone: the game played by keys through AT-SPI and
# with Debian's Orca listening (both are part of `make test` too).
a11y-test: build
	cd $(BUILD) && ctest -L a11y --output-on-failure

build: configure
	cmake --build $(BUILD) -j $(JOBS)

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-test: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTESS_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

deps:
	@tools/install-deps.sh

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) build-pkg build-bench build-fuzz

# The Debian package, built in its own Release tree without the tests:
# $(PKG_BUILD)/tessaranium_<version>-1_<arch>.deb. Every time in it is the
# last commit's, so the same commit always gives the same bytes.
# `package-test` builds it twice and compares, runs lintian, installs it with
# apt, plays it from its menu entry on a virtual X server, and removes it and
# every package it installed again (root or sudo).
PKG_BUILD ?= build-pkg
SOURCE_DATE_EPOCH ?= $(shell git log -1 --format=%ct 2>/dev/null)
.PHONY: package package-test

ifneq ($(SOURCE_DATE_EPOCH),)
package: export SOURCE_DATE_EPOCH := $(SOURCE_DATE_EPOCH)
endif
package: deps
	cmake -S . -B $(PKG_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
	cmake --build $(PKG_BUILD) -j $(JOBS) --target tess_install_parts
	rm -f $(PKG_BUILD)/*.deb
	cd $(PKG_BUILD) && cpack -G DEB

package-test:
	$(MAKE) package
	rm -rf $(PKG_BUILD)/first && mkdir $(PKG_BUILD)/first
	cp $(PKG_BUILD)/*.deb $(PKG_BUILD)/first/
	$(MAKE) package
	bash tests/packaging/package_test.sh $(PKG_BUILD) $(PKG_BUILD)/first

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
	$(BENCH_BUILD)/bench/bench_page_paint
	$(BENCH_BUILD)/bench/bench_console
	$(BENCH_BUILD)/bench/bench_memory

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
