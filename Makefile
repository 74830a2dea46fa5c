# Quick start: `make run` starts the editor on the examples, `make test` runs every test. Both
# install the Debian packages that are missing first (as root; otherwise they print the apt-get
# line).

BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
BENCH_DIR ?= build-bench
PACKAGE_DIR ?= build-package
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60

PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev fonts-dejavu-core \
            libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev locales \
            dpkg-dev file desktop-file-utils nlohmann-json3-dev libcsv-dev help2man lintian

# Sanitizer reports fail the run; leaks of the system libraries are suppressed by name.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all deps configure build run test test-plain test-sanitize fuzz-build fuzz fuzz-short \
        bench clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' "$$p" 2>/dev/null | grep -q '^install ok installed' \
	    || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing Debian packages. Install them with:"; \
	    echo "  sudo apt-get install$$missing"; \
	    exit 1; \
	  fi; \
	fi
	@# A locale with a decimal comma lets the tests prove that files never get one.
	@if [ "$$(id -u)" = 0 ] && ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$$'; then \
	  localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true; \
	fi

# The benchmarks are built with everything else, so that a change that breaks them shows at
# once; make bench runs them from a Release build of their own.
$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DTARNWICK_BUILD_BENCH=ON $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The editor starts in a copy of examples/ (made once, so edits saved there stay between runs and
# the sources stay as they are), on a unit file with the examples' templates loaded.
run: build
	@[ -d $(BUILD_DIR)/examples ] || cp -r examples $(BUILD_DIR)/examples
	cd $(BUILD_DIR)/examples && $(abspath $(BUILD_DIR))/src/app/tarnwick --templates templates.txt \
	  raider.odf

# The plain suite, short fuzz runs, the whole suite again under ASan and UBSan, then the package.
test: test-plain fuzz-short test-sanitize test-package

test-plain: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

$(SANITIZE_DIR)/build.ninja:
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DTARNWICK_SANITIZE=address,undefined $(CMAKE_FLAGS)

test-sanitize: deps $(SANITIZE_DIR)/build.ninja
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) \
	  ctest --output-on-failure -j $(JOBS)

$(FUZZ_DIR)/build.ninja:
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTARNWICK_BUILD_FUZZ=ON -DTARNWICK_BUILD_UI=OFF -DTARNWICK_BUILD_TESTS=OFF

fuzz-build: deps $(FUZZ_DIR)/build.ninja
	cmake --build $(FUZZ_DIR) -j $(JOBS)

# make fuzz FUZZ_SECONDS=600 runs each target for ten minutes.
fuzz: fuzz-build
	scripts/run-fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz-short: fuzz-build
	scripts/run-fuzz.sh $(FUZZ_DIR) 10

$(BENCH_DIR)/build.ninja:
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_BUILD_BENCH=ON \
	  -DTARNWICK_BUILD_TESTS=OFF

bench: deps $(BENCH_DIR)/build.ninja
	cmake --build $(BENCH_DIR) -j $(JOBS)
	scripts/run-bench.sh $(BENCH_DIR)

# The Debian package, from a Release build without the tests: $(PACKAGE_DIR)/tarnwick_*.deb
.PHONY: package test-package
$(PACKAGE_DIR)/build.ninja:
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_BUILD_TESTS=OFF \
	  $(CMAKE_FLAGS)

package: deps $(PACKAGE_DIR)/build.ninja
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	rm -f $(PACKAGE_DIR)/tarnwick_*.deb
	cd $(PACKAGE_DIR) && cpack

# make test checks a package made from the test build, stripped as a release is: a second
# whole build would double the time the tests take.
test-package: build
	rm -f $(BUILD_DIR)/tarnwick_*.deb
	cd $(BUILD_DIR) && cpack >/dev/null
	scripts/check-package.sh $(BUILD_DIR)/tarnwick_*.deb

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(BENCH_DIR) $(PACKAGE_DIR)
