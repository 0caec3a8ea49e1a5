# make run      builds the Linux program (build/linux/scan_fs) and starts it on the simulated T2
# make test     builds every configuration and runs every test
# make install  builds a release and installs it under PREFIX (default /usr/local; DESTDIR too)
# make deb      builds the Debian package build/deb/scan-fs_VERSION_ARCH.deb
# make windows-zip  builds build/windows-zip/scan_fs-VERSION-windows.zip for technicians
# They install the Debian packages they miss: as root, or through sudo for another user.

RUN_PACKAGES := cmake ninja-build g++ make libncurses-dev libtiff-dev libpng-dev nlohmann-json3-dev
FUZZ_PACKAGES := $(RUN_PACKAGES) clang libclang-rt-dev
# The 32-bit Wine (wine32:i386) comes through Debian's multiarch: the install step adds the i386
# architecture first. fonts-wine and the Japanese Gothic font are for the dialogs under Wine;
# netpbm turns their screenshots into PNGs.
TEST_PACKAGES := $(FUZZ_PACKAGES) googletest libgtest-dev libtiff-dev libpng-dev tmux \
                 g++-mingw-w64-i686 g++-mingw-w64-x86-64 clang-format wine wine64 wine32:i386 \
                 fonts-wine fonts-ipafont-gothic xvfb netpbm
KERNEL_TEST_PACKAGES := $(RUN_PACKAGES) googletest libgtest-dev libtiff-dev sg3-utils \
                        qemu-system-x86 busybox-static cpio
DEB_PACKAGES := $(RUN_PACKAGES) build-essential dpkg-dev debhelper lintian
WINDOWS_ZIP_PACKAGES := cmake ninja-build g++-mingw-w64-i686 zip
TEST_PACKAGES += $(KERNEL_TEST_PACKAGES) $(DEB_PACKAGES) $(WINDOWS_ZIP_PACKAGES) unzip \
                 bash-completion

.PHONY: run test benchmark install release run-deps test-deps linux linux-asan mingw32 mingw64 \
        check-format format kernel-test fuzz-deps fuzz-build fuzz-test fuzz deb deb-test \
        windows-zip windows-zip-test

PREFIX ?= /usr/local

# The version of the packages: the About box's, kept once in resources/dialogs.def.
VERSION := $(shell sed -n 's/.*IDC_ABOUT_VERSION, "Version \([^"]*\)".*/\1/p' resources/dialogs.def)

# Run by root in a tree that another user owns (sudo make ...), the builds still run as that
# user, so that build/ never ends up owned by root; the program and the installation do not.
TREE_OWNER := $(shell stat -c '%u %g' .)
ifeq ($(shell id -u),0)
ifneq ($(word 1,$(TREE_OWNER)),0)
AS_OWNER := setpriv --reuid=$(word 1,$(TREE_OWNER)) --regid=$(word 2,$(TREE_OWNER)) --clear-groups --
endif
endif

define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  archs=$$(for p in $$missing; do \
	    case $$p in *:*) a=$${p##*:}; [ "$$a" = "$$(dpkg --print-architecture)" ] || \
	      dpkg --print-foreign-architectures | grep -qx "$$a" || echo $$a;; esac; \
	  done | sort -u); \
	  if [ "$$(id -u)" = 0 ]; then as_root=""; \
	  elif command -v sudo >/dev/null; then as_root="sudo"; \
	  else \
	    echo "Missing Debian packages:" $$missing; \
	    echo "Install them as root, then run make again:"; \
	    for a in $$archs; do echo "  dpkg --add-architecture $$a"; done; \
	    echo "  apt-get update"; \
	    echo "  apt-get install" $$missing; exit 1; \
	  fi; \
	  echo "Installing:" $$missing; \
	  for a in $$archs; do \
	    echo "Adding the architecture $$a (multiarch)"; $$as_root dpkg --add-architecture $$a || exit 1; \
	  done; \
	  $$as_root apt-get update -qq && \
	  $$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

run-deps:
	$(call install_missing,$(RUN_PACKAGES))

test-deps:
	$(call install_missing,$(TEST_PACKAGES))

fuzz-deps:
	$(call install_missing,$(FUZZ_PACKAGES))

run: run-deps
	$(AS_OWNER) cmake --preset linux >/dev/null
	$(AS_OWNER) cmake --build --preset linux --target scan_fs
	./build/linux/scan_fs --simulate

benchmark: run-deps
	$(AS_OWNER) cmake --preset linux >/dev/null
	$(AS_OWNER) cmake --build --preset linux --target scan_benchmark wait_benchmark sg_request_benchmark
	$(AS_OWNER) mkdir -p build/benchmark
	$(AS_OWNER) ./build/linux/benchmarks/scan_benchmark build/benchmark
	$(AS_OWNER) ./build/linux/benchmarks/wait_benchmark
	$(AS_OWNER) ./build/linux/benchmarks/sg_request_benchmark

# A plain release configure, as anyone building the program gets it: warnings stay warnings.
release: run-deps
	$(AS_OWNER) cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	$(AS_OWNER) cmake --build build/release --target scan_fs

# Only the copying runs as root, through sudo, when the destination is not writable; the file
# list that cmake leaves in build/release goes back to the build's owner.
install: release
	@dest="$(DESTDIR)$(PREFIX)"; probe="$$dest"; \
	while [ ! -e "$$probe" ]; do probe=$$(dirname "$$probe"); done; \
	as_root=""; \
	if [ ! -w "$$probe" ] && [ "$$(id -u)" != 0 ]; then \
	  command -v sudo >/dev/null || { echo "$$probe is not writable: run make install as root, or set PREFIX"; exit 1; }; \
	  as_root=sudo; \
	fi; \
	$$as_root env DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)" && \
	if [ -n "$$as_root" ] || [ "$$(id -u)" = 0 ]; then \
	  $$as_root chown --reference=build/release build/release/install_manifest.txt; \
	fi

linux linux-asan:
	$(AS_OWNER) cmake --preset $@ >/dev/null
	$(AS_OWNER) cmake --build --preset $@
	$(AS_OWNER) ctest --preset $@

mingw32 mingw64:
	$(AS_OWNER) cmake --preset $@ >/dev/null
	$(AS_OWNER) cmake --build --preset $@
	$(AS_OWNER) ctest --preset $@

# The Debian package. dpkg-buildpackage runs in a copy of the tree under build/deb and leaves the
# package beside it, so nothing is written outside build/; debian/changelog is made from VERSION.
DEB_BUILD := build/deb
DEB_SOURCE := $(DEB_BUILD)/scan-fs-$(VERSION)
DEB = $(DEB_BUILD)/scan-fs_$(VERSION)_$(shell dpkg --print-architecture).deb

deb:
	$(call install_missing,$(DEB_PACKAGES))
	$(AS_OWNER) rm -rf $(DEB_BUILD)
	$(AS_OWNER) mkdir -p $(DEB_SOURCE)
	$(AS_OWNER) sh -c 'tar -c --exclude-vcs --exclude-vcs-ignores --exclude=./build . | \
	  tar -x -C $(DEB_SOURCE) && tools/debian_changelog.sh $(VERSION) >$(DEB_SOURCE)/debian/changelog'
	cd $(DEB_SOURCE) && $(AS_OWNER) dpkg-buildpackage -us -uc -jauto >../build.log 2>&1 || \
	  { tail -n 30 $(DEB_BUILD)/build.log; echo "The package build failed: see $(DEB_BUILD)/build.log"; \
	    exit 1; }
	@echo "Built $(DEB)"

# The package lints clean, and its program runs as the tested one does.
deb-test: deb
	$(AS_OWNER) cmake --preset linux >/dev/null
	$(AS_OWNER) cmake --build --preset linux --target scan_fs
	$(AS_OWNER) lintian --fail-on error,warning --info $(DEB_BUILD)/scan-fs_$(VERSION)_*.changes
	$(AS_OWNER) tests/package/check_deb.sh $(DEB) $(VERSION) build/linux/scan_fs

# The 32-bit Windows program for technicians: scan_fs.exe, its README.txt (CR LF) and the
# simulated manager in a folder of its own.
WINDOWS_ZIP_BUILD := build/windows-zip
WINDOWS_ZIP_NAME := scan_fs-$(VERSION)-windows
WINDOWS_ZIP_FOLDER := $(WINDOWS_ZIP_BUILD)/$(WINDOWS_ZIP_NAME)

windows-zip:
	$(call install_missing,$(WINDOWS_ZIP_PACKAGES))
	$(AS_OWNER) cmake --preset mingw32 >/dev/null
	$(AS_OWNER) cmake --build --preset mingw32 --target scan_fs wnaspi32_sim
	$(AS_OWNER) rm -rf $(WINDOWS_ZIP_BUILD)
	$(AS_OWNER) mkdir -p $(WINDOWS_ZIP_FOLDER)/simulated-scanner
	$(AS_OWNER) cp build/mingw32/scan_fs.exe $(WINDOWS_ZIP_FOLDER)/
	$(AS_OWNER) cp build/mingw32/WNASPI32.dll $(WINDOWS_ZIP_FOLDER)/simulated-scanner/
	$(AS_OWNER) sh -c "sed 's/@VERSION@/$(VERSION)/; s/\$$/\r/' setup/README-windows.txt \
	  >$(WINDOWS_ZIP_FOLDER)/README.txt"
	cd $(WINDOWS_ZIP_BUILD) && $(AS_OWNER) zip -q -r -X $(WINDOWS_ZIP_NAME).zip $(WINDOWS_ZIP_NAME)
	@echo "Built $(WINDOWS_ZIP_BUILD)/$(WINDOWS_ZIP_NAME).zip"

windows-zip-test: windows-zip
	$(AS_OWNER) tests/package/check_windows_zip.sh $(WINDOWS_ZIP_BUILD)/$(WINDOWS_ZIP_NAME).zip \
	  $(VERSION)

# The fuzz target of device replies (tests/fuzz). fuzz-test: a short run from the checked-in
# seeds, part of make test; fuzz: a long one (FUZZ_SECONDS) that keeps what it finds in
# build/fuzz/corpus. A failing input lands in build/fuzz/artifacts.
FUZZER := build/fuzz/tests/fuzz/scan_fs_fuzz
FUZZ_SECONDS ?= 1800
FUZZ_FLAGS = -max_len=4096 -timeout=10 -artifact_prefix=$(CURDIR)/build/fuzz/artifacts/

fuzz-build:
	$(AS_OWNER) cmake --preset fuzz >/dev/null
	$(AS_OWNER) cmake --build --preset fuzz
	$(AS_OWNER) mkdir -p build/fuzz/artifacts build/fuzz/corpus

fuzz-test: fuzz-build
	$(AS_OWNER) rm -rf build/fuzz/short-run
	$(AS_OWNER) mkdir build/fuzz/short-run
	$(AS_OWNER) $(FUZZER) $(FUZZ_FLAGS) -seed=1 -runs=10000 -max_total_time=25 \
	  build/fuzz/short-run tests/fuzz/seeds

fuzz: fuzz-deps
	$(MAKE) --no-print-directory fuzz-build
	$(AS_OWNER) $(FUZZER) $(FUZZ_FLAGS) -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  build/fuzz/corpus tests/fuzz/seeds

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
	$(MAKE) --no-print-directory windows-zip-test
	$(MAKE) --no-print-directory deb-test
	$(MAKE) --no-print-directory kernel-test
	$(MAKE) --no-print-directory fuzz-test

# The program on a real kernel SCSI stack: a QEMU guest serves the simulated scanner through the
# kernel's target (tests/kernel/run_guest.sh), then kernel_stack_tests judges what it handed back.
kernel-test:
	$(call install_missing,$(KERNEL_TEST_PACKAGES))
	$(AS_OWNER) cmake --preset linux >/dev/null
	$(AS_OWNER) cmake --build --preset linux \
	  --target scan_fs scan_fs_static scanner_target kernel_stack_tests
	$(AS_OWNER) tests/kernel/run_guest.sh build/linux build/kernel-test
	$(AS_OWNER) env KERNEL_TEST_RESULTS=build/kernel-test/results \
	  timeout 300 build/linux/tests/kernel_stack_tests
