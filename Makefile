# The two commands of a new user: `make run` and `make test`.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
FUZZ_DIR  ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS   = input_reader whole_run peak_list
TSAN_DIR  ?= build-tsan
JOBS      ?= 2
EXAMPLE   ?= examples/silicon.kqt
APT_PACKAGES = cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev libsymspg-dev nlohmann-json3-dev \
               clang libclang-rt-14-dev llvm librsvg2-bin libpng-dev pkg-config pybind11-dev python3-dev python3-numpy \
               python3-pytest python3-matplotlib

.PHONY: run test build deps install slurm-test asan-test tsan-test bench bench-dense clean fuzz fuzz-smoke fuzz-coverage

# Installs with apt-get only what is missing.
deps:
	@missing=""; \
	command -v cmake >/dev/null 2>&1 || missing="$$missing cmake"; \
	command -v g++ >/dev/null 2>&1 || missing="$$missing g++"; \
	[ -f /usr/include/gtest/gtest.h ] || missing="$$missing libgtest-dev libgmock-dev"; \
	[ -f /usr/include/benchmark/benchmark.h ] || missing="$$missing libbenchmark-dev"; \
	[ -f /usr/include/CLI/CLI.hpp ] || missing="$$missing libcli11-dev"; \
	[ -f /usr/include/spglib.h ] || missing="$$missing libsymspg-dev"; \
	[ -f /usr/include/nlohmann/json.hpp ] || missing="$$missing nlohmann-json3-dev"; \
	command -v clang++ >/dev/null 2>&1 || missing="$$missing clang"; \
	ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-*.a >/dev/null 2>&1 || missing="$$missing libclang-rt-14-dev"; \
	command -v llvm-cov >/dev/null 2>&1 || missing="$$missing llvm"; \
	command -v rsvg-convert >/dev/null 2>&1 || missing="$$missing librsvg2-bin"; \
	[ -f /usr/include/png.h ] || missing="$$missing libpng-dev"; \
	command -v pkg-config >/dev/null 2>&1 || missing="$$missing pkg-config"; \
	[ -f /usr/include/pybind11/pybind11.h ] || missing="$$missing pybind11-dev"; \
	ls /usr/include/python3*/Python.h >/dev/null 2>&1 || missing="$$missing python3-dev"; \
	/usr/bin/python3 -c "import numpy" >/dev/null 2>&1 || missing="$$missing python3-numpy"; \
	/usr/bin/python3 -c "import pytest" >/dev/null 2>&1 || missing="$$missing python3-pytest"; \
	/usr/bin/python3 -c "import matplotlib" >/dev/null 2>&1 || missing="$$missing python3-matplotlib"; \
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

# The programs, the library, its headers, the CMake package and orvanthel.pc under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A real one-node Slurm (slurm-wlm and munge, installed when missing) runs the job array over a
# small simulated map; the merged summary must equal a batch of the same patterns on this machine.
slurm-test: build
	bash tests/slurm/local_slurm_run.sh

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

# The fuzzers (fuzz/): libFuzzer over the input reader, a whole run and the importer's peak-list
# reader, with the sanitizers.
fuzz: deps
	cmake -S fuzz -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_DIR) -j $(JOBS)

# Runs each fuzzer for FUZZ_SECONDS from the seed corpus in fuzz/corpus, in a scratch folder of its
# own (the whole run writes its reports there). New inputs go to $(FUZZ_DIR)/corpus-<name>, never
# into the repository. Any crash, leak, timeout or undefined behaviour fails, with the input kept in
# $(FUZZ_DIR)/findings.
fuzz-smoke: fuzz
	@set -e; root="$(CURDIR)"; dir="$(abspath $(FUZZ_DIR))"; mkdir -p "$$dir/findings"; \
	for f in $(FUZZERS); do \
	  mkdir -p "$$dir/corpus-$$f"; scratch=$$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d); \
	  if (cd "$$scratch" && "$$dir/fuzz_$$f" "$$dir/corpus-$$f" "$$root/fuzz/corpus" \
	        -dict="$$root/fuzz/keywords.dict" -max_total_time=$(FUZZ_SECONDS) -timeout=30 -rss_limit_mb=2048 \
	        -artifact_prefix="$$dir/findings/$$f-" -print_final_stats=1 > "$$dir/fuzz_$$f.log" 2>&1); then \
	    rm -rf "$$scratch"; \
	    echo "fuzz_$$f: $$(grep -h '^stat::number_of_executed_units' "$$dir/fuzz_$$f.log" | awk '{print $$2}') inputs in $(FUZZ_SECONDS) s, no finding"; \
	  else \
	    rm -rf "$$scratch"; tail -n 60 "$$dir/fuzz_$$f.log"; echo "fuzz_$$f found a fault: $$dir/findings"; exit 1; \
	  fi; \
	done

# Line coverage of src/input reached by the corpora that fuzz-smoke built.
fuzz-coverage: deps
	cmake -S fuzz -B $(FUZZ_DIR)-coverage -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANTHEL_FUZZ_COVERAGE=ON
	cmake --build $(FUZZ_DIR)-coverage -j $(JOBS)
	@set -e; root="$(CURDIR)"; dir="$(abspath $(FUZZ_DIR))-coverage"; rm -f "$$dir"/*.profraw; \
	for f in $(FUZZERS); do \
	  scratch=$$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d); mkdir -p "$(abspath $(FUZZ_DIR))/corpus-$$f"; \
	  (cd "$$scratch" && LLVM_PROFILE_FILE="$$dir/$$f.profraw" "$$dir/fuzz_$$f" -runs=0 \
	     "$(abspath $(FUZZ_DIR))/corpus-$$f" "$$root/fuzz/corpus" > "$$dir/coverage_$$f.log" 2>&1); rm -rf "$$scratch"; \
	done; \
	llvm-profdata merge -sparse "$$dir"/*.profraw -o "$$dir/fuzz.profdata"; \
	llvm-cov report "$$dir/fuzz_input_reader" -object "$$dir/fuzz_whole_run" -instr-profile="$$dir/fuzz.profdata" \
	  "$$root/src/input"

# The 999-spot pattern at search type 0 on every core; it runs for many minutes.
bench-dense: build
	ORVANTHEL_DENSE_BENCH=1 $(BUILD_DIR)/orvanthel_bench --benchmark_filter=Dense

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(TSAN_DIR) $(FUZZ_DIR) $(FUZZ_DIR)-coverage
