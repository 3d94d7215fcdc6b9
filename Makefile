# Everything a fresh Debian 12 machine needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
OUT := $(CURDIR)/out
# What the first PDF needs: the batch program and its font. The other
# programs (the print-server backend, the windows) come right after it.
FIRST_PDF_TARGETS := kvalon-p kvalon_font

.PHONY: windows windows-installer test-windows deps deps-run emulator-deps configure configure-run \
	build build-first-pdf build-run build-install run test \
	format-check bench fuzz sanitize install deb clean

# The packages for running only, and for everything (tests, developer tools).
deps-run:
	@scripts/install-deps.sh run
deps:
	@scripts/install-deps.sh test
# DOSBox for the emulator test (make test DOSBOX_TESTS=1).
emulator-deps:
	@scripts/install-deps.sh emulators

# A configured build folder re-runs CMake by itself when a CMake file changes,
# so running configures only once (or when CMAKE_FLAGS asks for something).
# The tests configure every time: the test tools may have just come.
configure-run: deps-run
	@if [ ! -f $(BUILD)/build.ninja ] || [ -n "$(CMAKE_FLAGS)" ]; then \
	    cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null; fi
configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DKVALON_TEST_WINDOWS=$(if $(WINDOWS_TESTS),ON,OFF) -DKVALON_TEST_DOSBOX=$(if $(DOSBOX_TESTS),ON,OFF) $(CMAKE_FLAGS) >/dev/null

build-first-pdf: configure-run
	@cmake --build $(BUILD) -j $(JOBS) --target $(FIRST_PDF_TARGETS)
build-run: configure-run
	@cmake --build $(BUILD) -j $(JOBS) --target kvalon_programs
build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The samples are printed as soon as the batch program can print them; the
# rest of the programs are built after.
run: build-first-pdf
	@mkdir -p $(OUT)
	@rm -f $(OUT)/sample-report.pdf $(OUT)/escp-report.pdf
	@KVALON_PDF=$(OUT)/sample-report.pdf $(BUILD)/kvalon-p samples/sample-report.txt
	@echo "Пробният отчет е отпечатан в $(OUT)/sample-report.pdf"
	@KVALON_PDF=$(OUT)/escp-report.pdf $(BUILD)/kvalon-p --escp samples/escp-report.txt
	@echo "Отчетът с команди ESC/P е отпечатан в $(OUT)/escp-report.pdf"
	@cmake --build $(BUILD) -j $(JOBS) --target kvalon_programs

# CTEST_ARGS chooses a part, e.g. CTEST_ARGS="-LE slow" or CTEST_ARGS="-L engine".
CTEST_ARGS ?=
test: build $(if $(WINDOWS_TESTS),windows-installer) $(if $(DOSBOX_TESTS),emulator-deps)
	@scripts/run-tests.sh $(BUILD) $(CTEST_ARGS)

# Every tracked C++ file against .clang-format.
format-check: deps
	@scripts/check-format.sh

sanitize: deps
	@cmake -S . -B build-sanitize -G Ninja -DKVALON_SANITIZE=address,undefined \
	    -DCMAKE_BUILD_TYPE=Debug -DKVALON_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@KVALON_SANITIZED=1 LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan-suppressions.txt \
	    scripts/run-tests.sh build-sanitize

# libFuzzer targets with AddressSanitizer and UndefinedBehaviorSanitizer, each
# run for FUZZ_SECONDS from its corpus under fuzz/corpus. Every build with
# tests replays those corpora without clang (ctest -L fuzz).
FUZZ_SECONDS ?= 60
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKVALON_BUILD_FUZZ=ON \
	    -DKVALON_BUILD_TESTS=OFF -DKVALON_WERROR=OFF -DKVALON_SANITIZE=address,undefined \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz_command_line fuzz_filter_screen \
	    fuzz_filter_printer fuzz_escp_reader fuzz_pcl_reader fuzz_print_source \
	    fuzz_pdf_trailer fuzz_true_type fuzz_spool_journal fuzz_job_record
	@scripts/run-fuzzers.sh build-fuzz $(FUZZ_SECONDS)

bench: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKVALON_BUILD_BENCH=ON \
	    -DKVALON_BUILD_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS)
	@scripts/run-bench.sh build-bench

# What is installed: the run targets and the manual page.
build-install: build-run
	@cmake --build $(BUILD) -j $(JOBS) --target kvalon_manual

# DESTDIR=/stage and PREFIX=/opt/x work as usual; the default prefix is /usr/local.
install: build-install
	@cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# The Debian packages, into out/ (dpkg-dev finds the libraries they depend on):
# kvalon-p-server (no desktop needed) and kvalon-p (the windows).
deb: deps build-install
	@mkdir -p $(OUT)
	@rm -f $(OUT)/kvalon-p_*.deb $(OUT)/kvalon-p-server_*.deb
	@cd $(BUILD) && cpack -G DEB -B $(OUT) >/dev/null
	@rm -rf $(OUT)/_CPack_Packages
	@ls $(OUT)/kvalon-p-server_*.deb $(OUT)/kvalon-p_*.deb

# The batch program for 64-bit Windows, cross-built with Debian's MinGW-w64
# into out/windows/ beside its font.
windows:
	@scripts/install-deps.sh windows
	@cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	    -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	@cmake --build build-windows -j $(JOBS) --target kvalon-p kvalon_font
	@mkdir -p $(OUT)/windows
	@cp build-windows/kvalon-p.exe build-windows/crcn.ttf build-windows/OFL.txt $(OUT)/windows/
	@ls -l $(OUT)/windows/kvalon-p.exe

# The installer of the Windows build, made with Debian's NSIS
# (packaging/windows/kvalon-p.nsi): out/windows/kvalon-p-setup.exe.
windows-installer: windows
	@makensis -V2 -DVERSION=$$(sed -n 's/^project(kvalon-p VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt) \
	    -DFILES=$(OUT)/windows -DDOCS=$(CURDIR)/docs \
	    -DOUTFILE=$(OUT)/windows/kvalon-p-setup.exe packaging/windows/kvalon-p.nsi
	@ls -l $(OUT)/windows/kvalon-p-setup.exe

# The Windows program under Wine against this build (the comparison of
# plans, answers and PDF words, printing on its printers, the installer): what both need, the cross-build, and the
# tests labelled windows, each in a Wine prefix of its own.
test-windows: build windows-installer
	@cmake -S . -B $(BUILD) -DKVALON_TEST_WINDOWS=ON >/dev/null
	@ctest --test-dir $(BUILD) -L '^windows$$' --output-on-failure

clean:
	rm -rf $(BUILD) build-sanitize build-bench build-fuzz build-windows $(OUT)
