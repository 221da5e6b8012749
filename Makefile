# Set-up and entry points. `make run` and `make test` install what is missing
# (Debian 12 packages), build into build/ and run; see README.md.

BUILD     ?= build
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
EXAMPLE   ?= examples/bracket.dxf
RESULT    ?= $(BUILD)/examples/bracket-arcs.dxf

# Debian packages the build and the tests need.
PACKAGES  := cmake make g++ pkgconf libgtest-dev libgmock-dev qt6-base-dev librsvg2-bin \
             python3 python3-ezdxf python3-scipy clang-format
# And those the Debian package and its test need.
PACKAGE_TOOLS := dpkg-dev lintian desktop-file-utils appstream man-db bash-completion

SUDO      := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps deps-package install-missing configure build run test test-sanitize fuzz package test-package clean format format-check

deps:
	@$(MAKE) --no-print-directory install-missing WANTED="$(PACKAGES)"

deps-package: deps
	@$(MAKE) --no-print-directory install-missing WANTED="$(PACKAGE_TOOLS)"

install-missing:
	@missing=""; \
	for p in $(WANTED); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -q && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -o DPkg::Lock::Timeout=600 -y -q --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@mkdir -p $(dir $(RESULT))
	$(BUILD)/tessarin-cli $(EXAMPLE) $(RESULT)
	@echo "The converted drawing is in $(RESULT)"

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite once more under AddressSanitizer and UndefinedBehaviorSanitizer;
# a test that hangs fails after 10 minutes (the slowest takes about 40 s there).
SANITIZE_BUILD ?= build-sanitize
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARIN_SANITIZE=ON \
	  -DTESSARIN_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure --timeout 600 -j $(JOBS)

# Fuzzing with libFuzzer (clang); FUZZ_SECONDS per target. The window-state
# target links the desktop program's Qt libraries.
FUZZ_SECONDS ?= 120
FUZZ_BUILD   ?= build-fuzz
fuzz: deps
	@command -v clang++ >/dev/null || { $(SUDO) apt-get install -y -q clang libclang-rt-14-dev; }
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARIN_FUZZ=ON \
	  -DTESSARIN_GUI=ON -DTESSARIN_TESTS=OFF -DTESSARIN_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The Debian package, built afresh in its own folder with Debian's hardening
# flags (without -g: the package's programs are stripped anyway).
PACKAGE_BUILD ?= build-package
BUILDFLAGS    := DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g dpkg-buildflags
package: deps-package
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DTESSARIN_TESTS=OFF -DTESSARIN_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(BUILDFLAGS) --get CPPFLAGS) $$($(BUILDFLAGS) --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(BUILDFLAGS) --get LDFLAGS)"
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

# Installs the package, converts the example as an ordinary user, checks the
# installed files, removes the package and looks for anything left behind.
# Needs root; refuses to run where tessarin is installed already.
test-package: package
	packaging/test-package.sh $(PACKAGE_BUILD)

# Every C++ file of ours in the repository's .clang-format style: `make format`
# applies it, `make format-check` (run by .ci/run) lists what differs.
FORMAT_FILES = $(shell git ls-files '*.cpp' '*.h')
format: deps
	clang-format -i $(FORMAT_FILES)

format-check: deps
	@clang-format --dry-run --Werror $(FORMAT_FILES) && echo "format: every file as .clang-format says"

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(SANITIZE_BUILD) $(PACKAGE_BUILD)
