# The browser game: the Debian packages it is built and tested with, and its build.
# shellcheck shell=bash

# Emscripten for the game; fonttools (with Brotli for WOFF2) to cut the board's free
# faces down to what the game shows; the native compiler and GoogleTest for the
# tests' harness.
WEB_BUILD_PACKAGES=(cmake make g++ googletest libgtest-dev emscripten python3-fonttools python3-brotli
  fonts-liberation fonts-freefont-ttf fonts-ocr-b)
# The tests: headless Chromium driven through WebDriver by Debian's Python.
WEB_TEST_PACKAGES=(chromium chromium-driver python3-selenium)

# em++ runs its optimiser with node, and a Node.js of its own ahead of Debian's on
# the PATH does not look where Debian keeps the modules it needs.
web_build() {
  export NODE_PATH=/usr/share/nodejs
  cmake --preset web >/dev/null
  cmake --build --preset web "$@"
}

# A port on 127.0.0.1 that is free now, chosen by the kernel.
free_port() {
  /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Waits until something answers on the port (10 s at most).
wait_for_port() {
  /usr/bin/python3 - "$1" <<'PY'
import socket, sys, time
deadline = time.monotonic() + 10
while time.monotonic() < deadline:
    try:
        socket.create_connection(("127.0.0.1", int(sys.argv[1])), 0.2).close()
        sys.exit(0)
    except OSError:
        time.sleep(0.05)
sys.exit(1)
PY
}
