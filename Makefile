# The two set-up commands of a fresh machine (see README.md) and the build steps behind them.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)

.PHONY: demo test test-plain test-sanitize deps build build-asan clean

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILL_WERROR=ON -DQUILL_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# Installs, builds and runs the main job on the bundled sample images.
demo: build
	bash scripts/demo.sh $(BUILD)/quillpix

# Installs, builds and runs the whole suite, plainly and under the sanitizers.
test: test-plain test-sanitize

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: build-asan
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
