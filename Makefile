# The README's commands. Each first makes sure the Debian packages are there.
PRESET ?= release
BUILD := build/$(PRESET)

.PHONY: deps configure build run test bench asan tsan fuzz format screenshot package verify clean

deps:
	@scripts/install-deps

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

# Builds and starts the window.
run: build
	@$(BUILD)/app/tesmo-gegen

# Builds and runs every test.
test: build
	@ctest --preset $(PRESET)

# The model's benchmarks, then a default run in the window against the same run headless,
# offscreen and under Xvfb, then the exports of a finished run, then the diagram window after a
# default run (opening it, drawing each diagram), then a study from the study window against the
# runner's, then the Python package against the runner, then the runner's time and peak memory
# (against REFERENCE=path/to/an/earlier/tesmo-gegen-batch if given).
bench: build
	@$(BUILD)/bench/tesmo_bench
	@$(BUILD)/bench/tesmo_bench_window
	@QT_QPA_PLATFORM=xcb xvfb-run -a $(BUILD)/bench/tesmo_bench_window
	@$(BUILD)/bench/tesmo_bench_export
	@$(BUILD)/bench/tesmo_bench_diagrams
	@$(BUILD)/bench/tesmo_bench_study_window
	@PYTHONPATH=$(BUILD)/python /usr/bin/python3 bench/bench_python.py $(BUILD)/batch/tesmo-gegen-batch
	@/usr/bin/python3 bench/bench_runner.py $(BUILD)/batch/tesmo-gegen-batch $(REFERENCE)

# The tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	@$(MAKE) --no-print-directory test PRESET=asan

# The tests of work shared between threads once more under ThreadSanitizer.
tsan: deps
	@[ -f build/tsan/build.ninja ] || cmake --preset tsan >/dev/null
	@cmake --build --preset tsan
	@ctest --preset tsan

# Every reader fuzzed with libFuzzer for 60 s each (clang, preset fuzz); findings below
# build/fuzz/scratch/.
fuzz: deps
	@scripts/fuzz 60

format:
	@clang-format --dry-run --Werror $$(git ls-files '*.cpp' '*.h')

screenshot: build
	@scripts/screenshots $(BUILD)

# The Debian package $(BUILD)/tesmo-gegen_<version>_<architecture>.deb (not installed).
package: build
	@cmake --build --preset $(PRESET) --target package

# Runs the verification studies and writes the report docs/verification.md with its figures.
verify: configure
	@cmake --build --preset $(PRESET) --target tesmo-verify
	@$(BUILD)/verify/tesmo-verify docs

clean:
	rm -rf build
