# `make play` builds the game alone (no tests, tools or benchmarks) and starts
# it; `make test` builds everything and runs every test. Each target installs
# the Debian packages it needs first, and only those (tools/install-deps.sh).

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
CONFIGURE = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

.PHONY: play game test build configure sanitize-test ci clean a11y-test

play: game
	cd $(BUILD)/game && ./tessaranium

# Only the game and its folder: no tests, tools or benchmarks to wait for.
game:
	@tools/install-deps.sh play
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS) --target tessaranium

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The screen-reader tests alone: the game played by keys through AT-SPI and
# with Debian's Orca listening (both are part of `make test` too).
a11y-test: build
	cd $(BUILD) && ctest -L a11y --output-on-failure

build: configure
	cmake --build $(BUILD) -j $(JOBS)

configure:
	@tools/install-deps.sh test
	$(CONFIGURE)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-test:
	@tools/install-deps.sh test
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTESS_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(PKG_BUILD) build-bench build-fuzz

# The Debian source and binary packages, built by dpkg-buildpackage from a
# clean copy of the tree (docs/INSTALL.md): in $(PKG_BUILD)/ the .dsc and
# .tar.xz, the .debs of tessaranium, tessaranium-music, tessaranium-data and
# their debugging symbols, and the .changes. Every time in them is the newest
# debian/changelog entry's, so any builder gets the same bytes.
# `package-test` builds them a second time elsewhere (another folder, no .git,
# umask 077, another locale and time zone, one job) and compares, runs
# lintian, installs them with apt and plays them as a throwaway ordinary user
# from the menu entry on a virtual X server, with and without the music, and
# leaves the machine as it was (root or sudo).
PKG_BUILD ?= build-pkg
.PHONY: package package-test

package:
	@tools/install-deps.sh package
	tools/build_package.sh $(PKG_BUILD) $(JOBS)

package-test: package
	tests/packaging/build_elsewhere.sh $(PKG_BUILD) $(PKG_BUILD)/elsewhere
	bash tests/packaging/package_test.sh $(PKG_BUILD) $(PKG_BUILD)/elsewhere

# Benchmarks: a Release tree of their own; each prints medians and spreads
# (docs/PERFORMANCE.md explains the figures). Not part of `make test`.
BENCH_BUILD ?= build-bench
.PHONY: bench

bench:
	@tools/install-deps.sh bench
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

fuzz:
	@tools/install-deps.sh fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESS_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	tests/fuzz/run_fuzzers.sh $(FUZZ_BUILD)/tests/fuzz $(FUZZ_SECONDS)
