# Two commands matter: `make run` and `make test`. Each first installs the
# Debian packages it needs when they are missing, then configures and builds.

PACKAGES := cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev \
            libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
JOBS ?= 2

FUZZ_SECONDS ?= 20
SAN_ENV := ASAN_OPTIONS=halt_on_error=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
           LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp

.PHONY: all deps build run test test-default test-asan fuzz fuzz-long bench install clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

run: build
	cd examples && ../build/default/src/kestrane

# The whole suite in the normal build, a bounded fuzz run, then the whole
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
test: test-default fuzz test-asan

test-default: build
	ctest --preset default -j $(JOBS)

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	$(SAN_ENV) ctest --preset asan -j $(JOBS)

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	fuzz/run.sh build/fuzz $(FUZZ_SECONDS)

fuzz-long:
	$(MAKE) fuzz FUZZ_SECONDS=600

# Core benchmarks and window start-up figures; not part of `make test`.
bench: deps
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	bench/run.sh

install: build
	cmake --install build/default

clean:
	rm -rf build
