# Two commands matter: `make run` and `make test`. Each first installs the
# Debian packages it needs when they are missing, then configures and builds.

# What the two programs need to build: all that `make run` installs.
RUN_PACKAGES := cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev libxkbcommon-dev \
            libcli11-dev nlohmann-json3-dev librsvg2-bin
# What the tests, the checks, the package and the benchmarks need besides.
TEST_PACKAGES := libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev \
            desktop-file-utils appstream shared-mime-info libxml2-utils libfile-mimeinfo-perl \
            dpkg-dev lintian gcovr pmccabe
PACKAGES := $(RUN_PACKAGES) $(TEST_PACKAGES)
# What `make listen` needs besides: a screen reader heard without a sound card,
# and the window manager asked for with LISTEN_WM (openbox unless metacity).
LISTEN_PACKAGES := orca speech-dispatcher speech-dispatcher-espeak-ng speech-dispatcher-audio-plugins \
            libao4 xvfb xdotool x11-xkb-utils dbus-daemon at-spi2-core python3-pyatspi python3-speechd \
            $(if $(filter metacity,$(LISTEN_WM)),metacity,openbox)
# The core built to WebAssembly and its tests run under node; the page
# tested in Debian's chromium with the npm packages of tests/web (with the
# machine's node and its npm, or Debian's npm where there is none).
WEB_PACKAGES := emscripten googletest chromium
JOBS ?= 2
PREFIX ?= /usr/local
APP_ID := org.kestrane.MissionMaker
METAINFO := data/$(APP_ID).metainfo.xml

FUZZ_SECONDS ?= 20
SAN_ENV := ASAN_OPTIONS=halt_on_error=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
           LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp

.PHONY: all deps deps-run build compile programs run listen coverage test test-default validate package lint-package test-asan fuzz fuzz-long bench install clean web-core-test web web-page-test

all: build

# Installs the missing packages of $(PACKAGES) (all of them), or of
# $(RUN_PACKAGES) alone for `make deps-run`.
deps deps-run:
	@missing=""; for p in $(if $(filter deps-run,$@),$(RUN_PACKAGES),$(PACKAGES) $(WEB_PACKAGES)) $(EXTRA_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi
	@if [ $@ = deps ] && [ ! tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ]; then \
	  command -v npm >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends npm; \
	  cd tests/web && npm ci --no-audit --no-fund; \
	fi

build: deps compile

# Configures and builds the normal build with what is installed; installs
# nothing.
compile:
	cmake --preset default -DKESTRANE_BUILD_TESTS=ON
	cmake --build --preset default -j $(JOBS)

# The two programs alone, in the same build folder: no test is configured
# or built, so nothing but $(RUN_PACKAGES) is needed.
programs:
	cmake --preset default -DKESTRANE_BUILD_TESTS=OFF
	cmake --build --preset default -j $(JOBS) --target kestrane kestrane-msn

# What a screen reader says of a keyboard-only session (docs/listening.md).
listen:
	$(MAKE) build EXTRA_PACKAGES="$(LISTEN_PACKAGES)"
	tools/listen

run: deps-run programs
	cd examples && ../build/default/src/kestrane

# The whole suite in the normal build, the desktop files checked, the Debian
# package built from the normal build and checked with lintian, a bounded
# fuzz run, the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the core's tests built to WebAssembly, and
# the page tested in chromium.
test: test-default validate lint-package fuzz test-asan web-core-test web-page-test

test-default: build
	ctest --preset default -j $(JOBS)

# The desktop entry, the AppStream metainfo and the MIME package. The MIME
# package is also compiled into a scratch database, the only one looked at,
# where *.msn must map to the mission type, and so must a file of another
# name by its header bytes 4 to 7 alone (65 02 00 AA), but not one whose
# bytes differ there. `mimetype` reads the database as `xdg-mime query
# filetype` does outside a desktop; update-mime-database reports its errors
# but exits 0.
validate: deps
	desktop-file-validate data/$(APP_ID).desktop
	appstreamcli validate --pedantic --no-net --strict $(METAINFO)
	xmllint --noout data/kestrane-mission.xml
	@tmp=$$(mktemp -d) && mkdir -p $$tmp/mime/packages && \
	cp data/kestrane-mission.xml $$tmp/mime/packages/ && \
	update-mime-database $$tmp/mime >/dev/null 2>&1; \
	printf '\0\0\0\0\145\002\000\252' >$$tmp/header.dat; \
	printf '\0\0\0\0\145\002\000\253' >$$tmp/other.dat; \
	type() { XDG_DATA_HOME=$$tmp XDG_DATA_DIRS=$$tmp mimetype --brief "$$1"; }; \
	rc=0; \
	grep -qx '50:application/x-kestrane-mission:\*\.msn' $$tmp/mime/globs2 || \
	  { echo "data/kestrane-mission.xml: *.msn does not map to application/x-kestrane-mission"; rc=1; }; \
	[ "$$(type $$tmp/header.dat)" = application/x-kestrane-mission ] || \
	  { echo "data/kestrane-mission.xml: the header bytes 65 02 00 AA at offset 4 are not recognised"; rc=1; }; \
	[ "$$(type $$tmp/other.dat)" != application/x-kestrane-mission ] || \
	  { echo "data/kestrane-mission.xml: a file without the header bytes is taken for a mission"; rc=1; }; \
	rm -rf $$tmp; exit $$rc

# The .deb, made by CPack from the normal build (stripped as it installs),
# lands in build/default/.
package: build
	rm -f build/default/kestrane_*.deb
	cd build/default && cpack

# lintian fails on any error or warning; its notes (I:) are shown too.
lint-package: package
	lintian --fail-on error,warning --display-info build/default/kestrane_*.deb

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	$(SAN_ENV) ctest --preset asan -j $(JOBS)

# The core and its tests built to WebAssembly with em++ and run under node,
# as a browser edition would run them (the window and the command line are
# left out).
web-core-test: deps
	cmake --preset web
	cmake --build --preset web -j $(JOBS)
	ctest --preset web -j $(JOBS)

# The browser edition: build/web/kestrane.html, one file.
web: deps
	cmake --preset web
	cmake --build --preset web -j $(JOBS) --target kestrane_html

# The page in Debian's chromium, opened from disk; what it saves is compared
# with what the command-line companion of the normal build writes.
web-page-test: build web
	cd tests/web && node --test

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	fuzz/run.sh build/fuzz $(FUZZ_SECONDS)

fuzz-long:
	$(MAKE) fuzz FUZZ_SECONDS=600

# Line coverage per file of src/, from the whole suite (gcovr): to find
# behaviour no test tries, not a number to chase.
coverage: deps
	cmake --preset coverage
	cmake --build --preset coverage -j $(JOBS)
	find build/coverage -name '*.gcda' -delete
	ctest --preset coverage -j $(JOBS)
	gcovr --root . --object-directory build/coverage --filter 'src/' --exclude-throw-branches --print-summary \
	  --txt build/coverage/coverage.txt
	@cat build/coverage/coverage.txt

# Core benchmarks, the browser edition's figures (the page built first) and
# window start-up figures; not part of `make test`.
bench: deps web
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	bench/run.sh

# Builds and installs, with stripped programs; never runs apt-get (on a
# fresh machine, `make deps` installs what the build needs).
install: compile
	DESTDIR=$(DESTDIR) cmake --install build/default --prefix $(PREFIX) --strip

clean:
	rm -rf build
