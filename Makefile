# Two commands matter: `make run` and `make test`. Each first installs the
# Debian packages it needs when they are missing, then configures and builds.

PACKAGES := cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev \
            libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev \
            libcli11-dev nlohmann-json3-dev \
            desktop-file-utils appstream shared-mime-info libxml2-utils
JOBS ?= 2
PREFIX ?= /usr/local
METAINFO := data/org.kestrane.MissionMaker.metainfo.xml

FUZZ_SECONDS ?= 20
SAN_ENV := ASAN_OPTIONS=halt_on_error=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
           LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp

.PHONY: all deps build run test test-default validate test-asan fuzz fuzz-long bench install clean

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

# The whole suite in the normal build, the desktop files checked, a bounded
# fuzz run, then the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
test: test-default validate fuzz test-asan

test-default: build
	ctest --preset default -j $(JOBS)

# The desktop entry, the AppStream metainfo and the MIME package. The MIME
# package is also compiled into a scratch database, which must map *.msn to
# the mission type (update-mime-database reports its errors but exits 0).
validate: deps
	desktop-file-validate data/kestrane.desktop
	appstreamcli validate --no-net $(METAINFO)
	xmllint --noout data/kestrane-mission.xml
	@tmp=$$(mktemp -d) && mkdir -p $$tmp/mime/packages && \
	cp data/kestrane-mission.xml $$tmp/mime/packages/ && \
	update-mime-database $$tmp/mime >/dev/null 2>&1; \
	grep -qx '50:application/x-kestrane-mission:\*\.msn' $$tmp/mime/globs2; rc=$$?; \
	rm -rf $$tmp; \
	if [ $$rc -ne 0 ]; then echo "data/kestrane-mission.xml: *.msn does not map to application/x-kestrane-mission"; exit 1; fi

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
	DESTDIR=$(DESTDIR) cmake --install build/default --prefix $(PREFIX)

clean:
	rm -rf build
