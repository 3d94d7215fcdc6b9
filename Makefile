# Everything a fresh Debian 12 machine needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
OUT := $(CURDIR)/out

.PHONY: deps configure build run test bench fuzz sanitize install deb clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@mkdir -p $(OUT)
	@rm -f $(OUT)/sample-report.pdf
	@KVALON_PDF=$(OUT)/sample-report.pdf $(BUILD)/kvalon-p samples/sample-report.txt
	@echo "Пробният отчет е отпечатан в $(OUT)/sample-report.pdf"

test: build
	@scripts/run-tests.sh $(BUILD)

sanitize: deps
	@cmake -S . -B build-sanitize -G Ninja -DKVALON_SANITIZE=address,undefined \
	    -DCMAKE_BUILD_TYPE=Debug -DKVALON_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@KVALON_SANITIZED=1 scripts/run-tests.sh build-sanitize

bench: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKVALON_BUILD_BENCH=ON \
	    -DKVALON_BUILD_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS)
	@scripts/run-bench.sh build-bench

clean:
	rm -rf $(BUILD) build-sanitize build-bench build-fuzz $(OUT)
