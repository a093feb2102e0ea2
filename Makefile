# The two commands of a new user: `make run` and `make test`.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
TSAN_DIR  ?= build-tsan
JOBS      ?= 2
EXAMPLE   ?= examples/silicon.kqt
APT_PACKAGES = cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev

.PHONY: run test build deps asan-test tsan-test bench bench-dense clean

# Installs with apt-get only what is missing.
deps:
	@missing=""; \
	command -v cmake >/dev/null 2>&1 || missing="$$missing cmake"; \
	command -v g++ >/dev/null 2>&1 || missing="$$missing g++"; \
	[ -f /usr/include/gtest/gtest.h ] || missing="$$missing libgtest-dev libgmock-dev"; \
	[ -f /usr/include/benchmark/benchmark.h ] || missing="$$missing libbenchmark-dev"; \
	[ -f /usr/include/CLI/CLI.hpp ] || missing="$$missing libcli11-dev"; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -eq 0 ] || SUDO=sudo; \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Indexes an example in a scratch folder, so that its reports do not land in the source tree.
run: build
	@mkdir -p $(BUILD_DIR)/example-run
	@cp $(EXAMPLE) $(BUILD_DIR)/example-run/
	cd $(BUILD_DIR)/example-run && ../orvanthel $(notdir $(EXAMPLE)) < /dev/null
	@echo "Results: $(BUILD_DIR)/example-run/$(basename $(notdir $(EXAMPLE)))_kqt.res; the first solution's cell:"
	@grep -m1 -A2 "Primitive cell" $(BUILD_DIR)/example-run/$(basename $(notdir $(EXAMPLE)))_kqt.res

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DORVANTHEL_SANITIZE=ON -DORVANTHEL_BENCH=OFF
	cmake --build $(ASAN_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

# The threaded search under ThreadSanitizer: the ordered hand-over and whole runs at several thread counts.
tsan-test: deps
	cmake -S . -B $(TSAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANTHEL_TSAN=ON -DORVANTHEL_BENCH=OFF
	cmake --build $(TSAN_DIR) -j $(JOBS) --target orvanthel test_search test_driver
	TSAN_OPTIONS=halt_on_error=1 ctest --test-dir $(TSAN_DIR) --output-on-failure -j $(JOBS) -R 'ProduceInOrder|FastSearchExactness'

# The search benchmarks: the literal search against the fast one on one thread and on every core.
bench: build
	$(BUILD_DIR)/orvanthel_bench

# The 999-spot pattern at search type 0 on every core; it runs for many minutes.
bench-dense: build
	ORVANTHEL_DENSE_BENCH=1 $(BUILD_DIR)/orvanthel_bench --benchmark_filter=Dense

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(TSAN_DIR)
