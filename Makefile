# Two commands on a fresh Debian 12 machine: `make run` and `make test`.
BUILD ?= build
SAN ?= 0
JOBS ?= $(shell nproc)
PACKAGES := cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libsqlite3-dev \
	nlohmann-json3-dev libcli11-dev libgtest-dev libgmock-dev fonts-liberation \
	xvfb xauth imagemagick libreoffice-writer-nogui poppler-utils xdg-utils

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifeq ($(SAN),1)
  BUILD := build-asan
  CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Debug -DTOVEK_SANITIZE=ON
endif

.PHONY: run test bench deps build screenshot clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing: $$missing"; \
		$(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS) -- --no-print-directory

run: build
	$(BUILD)/tovek

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for src in bench/*_bench.cpp; do b=$(BUILD)/bench/$$(basename $$src .cpp); \
		echo "== $$(basename $$b)"; $$b || exit 1; done
	@for src in bench/ui/*_bench.cpp; do b=$(BUILD)/bench/ui_$$(basename $$src .cpp); \
		echo "== $$(basename $$b)"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

screenshot: build
	./docs/screenshot.sh $(BUILD)

clean:
	rm -rf build build-asan
