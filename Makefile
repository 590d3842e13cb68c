# make       builds the program and its tests (installing what is missing)
# make run   starts the program under Wine on this display, in a Wine desktop the size of the screen
# make test  runs every test under Wine inside Xvfb
# make bench measures the program against a bare Win32 program

PACKAGES := cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 \
            xvfb xauth x11-utils openbox fonts-wine doctest-dev python3
XVFB := xvfb-run -a -s '-screen 0 1024x768x24'
# Which build Wine runs here: 32-bit in build/, or 64-bit in build-x64/ (tools/wine-select.sh).
SELECT := . tools/wine-select.sh

.PHONY: all deps build run test bench clean

all: build

deps:
	@sh tools/install-deps.sh $(PACKAGES)

build: deps
	cmake --preset default
	cmake --build --preset default
	@$(SELECT); if [ "$$WINE_PRESET" != default ]; then \
	    echo "This kernel runs no 32-bit programs: building for 64-bit Windows too, to run under wine64."; \
	    cmake --preset $$WINE_PRESET && cmake --build --preset $$WINE_PRESET; fi

test: build
	@$(SELECT); $(XVFB) ctest --preset $$WINE_PRESET

run: build
	@$(SELECT); rm -rf $$WINE_BUILD/program && \
	    cmake --install $$WINE_BUILD --prefix $$WINE_BUILD/program && \
	    sh tools/run.sh $$WINE_BUILD/program

bench: build
	$(XVFB) sh tests/bench/run.sh

clean:
	rm -rf build build-x64
