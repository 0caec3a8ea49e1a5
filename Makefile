# make run   builds the Linux program and starts it on the simulated Tessaline T2
# make test  builds every configuration and runs every test
# Both install the Debian packages they miss when run as root.

RUN_PACKAGES := cmake ninja-build g++ make libncurses-dev
FUZZ_PACKAGES := $(RUN_PACKAGES) clang libclang-rt-dev
TEST_PACKAGES := $(FUZZ_PACKAGES) googletest libgtest-dev libtiff-dev tmux \
                 g++-mingw-w64-i686 g++-mingw-w64-x86-64 clang-format wine wine64 xvfb

.PHONY: run test benchmark run-deps test-deps linux linux-asan mingw32 mingw64 check-format format \
        fuzz-deps fuzz-build fuzz-test fuzz

define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:" $$missing; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	  else \
	    echo "Missing Debian packages (run as root to install them):" $$missing; exit 1; \
	  fi; \
	fi
endef

run-deps:
	$(call install_missing,$(RUN_PACKAGES))

test-deps:
	$(call install_missing,$(TEST_PACKAGES))

fuzz-deps:
	$(call install_missing,$(FUZZ_PACKAGES))

run: run-deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux --target scan_fs
	./build/linux/scan_fs --simulate

benchmark: run-deps
	cmake --preset linux >/dev/null
	cmake --build --preset linux --target scan_benchmark wait_benchmark
	mkdir -p build/benchmark && ./build/linux/benchmarks/scan_benchmark build/benchmark
	./build/linux/benchmarks/wait_benchmark

linux linux-asan:
	cmake --preset $@ >/dev/null
	cmake --build --preset $@
	ctest --preset $@

mingw32 mingw64:
	cmake --preset $@ >/dev/null
	cmake --build --preset $@
	ctest --preset $@

# The fuzz target of device replies (tests/fuzz). fuzz-test: a short run from the checked-in
# seeds, part of make test; fuzz: a long one (FUZZ_SECONDS) that keeps what it finds in
# build/fuzz/corpus. A failing input lands in build/fuzz/artifacts.
FUZZER := build/fuzz/tests/fuzz/scan_fs_fuzz
FUZZ_SECONDS ?= 1800
FUZZ_FLAGS = -max_len=4096 -timeout=10 -artifact_prefix=$(CURDIR)/build/fuzz/artifacts/

fuzz-build:
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	mkdir -p build/fuzz/artifacts build/fuzz/corpus

fuzz-test: fuzz-build
	rm -rf build/fuzz/short-run && mkdir build/fuzz/short-run
	$(FUZZER) $(FUZZ_FLAGS) -seed=1 -runs=10000 -max_total_time=25 build/fuzz/short-run tests/fuzz/seeds

fuzz: fuzz-deps
	$(MAKE) --no-print-directory fuzz-build
	$(FUZZER) $(FUZZ_FLAGS) -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 build/fuzz/corpus tests/fuzz/seeds

SOURCES = $$(find . -path ./build -prune -o \( -name '*.cc' -o -name '*.h' \) -print)

check-format:
	@clang-format --dry-run --Werror $(SOURCES)

format:
	@clang-format -i $(SOURCES)

test: test-deps
	$(MAKE) --no-print-directory check-format
	$(MAKE) --no-print-directory linux
	$(MAKE) --no-print-directory linux-asan
	$(MAKE) --no-print-directory mingw32
	$(MAKE) --no-print-directory mingw64
	$(MAKE) --no-print-directory fuzz-test
