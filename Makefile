# The two set-up commands of a fresh machine (see README.md) and the build steps behind them.
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)

.PHONY: demo test test-plain test-sanitize test-threads deps build build-asan build-tsan bench clean

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILL_WERROR=ON -DQUILL_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

build-tsan: deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_WERROR=ON -DQUILL_TSAN=ON
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target quill_engine_tests quill_inputs_tests

build-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUILL_FUZZ=ON -DQUILL_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Runs every fuzz target for FUZZ_SECONDS seconds (make fuzz FUZZ_SECONDS=1800).
fuzz: build-fuzz
	bash fuzz/run.sh $(FUZZ_SECONDS) $(FUZZ_BUILD)

# Installs, builds and runs the main job on the bundled sample images.
demo: build
	bash scripts/demo.sh $(BUILD)/quillpix

# Installs, builds and runs the whole suite, plainly and under the sanitizers.
test: test-plain test-sanitize test-threads

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: build-asan
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# The tests of the threads (conversion workers, tasks, progress) under ThreadSanitizer. Races
# inside fontconfig and glib are theirs, not ours, and are suppressed.
test-threads: build-tsan
	cd $(TSAN_BUILD) && TSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/tsan.supp:halt_on_error=1 \
	  ./engine/quill_engine_tests --gtest_filter='ConversionWorker*:SeveralWorkers*' && \
	  TSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/tsan.supp:halt_on_error=1 \
	  ./inputs/quill_inputs_tests --gtest_filter='InputTasks*:TaskThread*'

# Benchmarks the conversion against the image library alone, a libpng-to-libjpeg floor and other
# converters (see bench/run.py); extra options in BENCH_ARGS, e.g. BENCH_ARGS=--quick.
BENCH_ARGS ?=
bench: build
	python3 bench/run.py --build $(BUILD) $(BENCH_ARGS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
