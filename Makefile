# make       builds the program and its tests (installing what is missing)
# make run   starts the program under Wine on this display
# make test  runs every test under Wine inside Xvfb
# make bench measures the program against a bare Win32 program

PACKAGES := cmake make g++-mingw-w64-i686 wine wine32:i386 xvfb xauth fonts-wine doctest-dev
XVFB := xvfb-run -a -s '-screen 0 1024x768x24'

.PHONY: all deps build run test bench clean

all: build

deps:
	@sh tools/install-deps.sh $(PACKAGES)

build: deps
	cmake --preset default
	cmake --build --preset default

test: build
	$(XVFB) ctest --preset default

run: build
	rm -rf build/program
	cmake --install build --prefix build/program
	@sh tools/run.sh build/program

bench: build
	$(XVFB) sh tests/bench/run.sh

clean:
	rm -rf build
