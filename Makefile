# The two commands a new user needs: `make run` builds and starts Tav in a
# folder of sample pictures; `make test` builds and runs every test, then
# builds the libFuzzer targets with clang and runs each briefly. Both install
# the Debian packages the system needs first.
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
JOBS ?= 2

.PHONY: deps build run test

deps:
	./tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/bin/gv
	./tools/make-samples.sh $(BUILD)/samples
	cd $(BUILD)/samples && ../bin/Tav

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	JOBS=$(JOBS) ./tools/fuzz-smoke.sh $(FUZZ_BUILD)
