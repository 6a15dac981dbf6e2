# Two commands matter: `make run` and `make test`. Each first installs the
# Debian packages it needs when they are missing, then configures and builds.

PACKAGES := cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev \
            libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
JOBS ?= 2

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

test: test-default

test-default: build
	ctest --preset default -j $(JOBS)

install: build
	cmake --install build/default

clean:
	rm -rf build
