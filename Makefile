# `make play` builds and starts the game; `make test` builds and runs every
# test. Both install the Debian packages they need first.

BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: play test build deps sanitize-test ci clean

play: build
	cd $(BUILD)/game && ./tessaranium

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

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
	rm -rf $(BUILD) $(SANITIZE_BUILD)
