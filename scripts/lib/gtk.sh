# The native Linux game (GTK 4): the Debian packages it is built, run and tested with.
# shellcheck shell=bash

GTK_BUILD_PACKAGES=(cmake make g++ pkg-config libgtk-4-dev dpkg-dev)
# The faces the board asks for, as the Wine set-up maps them: Times New Roman to
# Liberation Serif, Lucida Console to FreeMono, OCR-B 10 BT to OCR B.
GTK_RUN_PACKAGES=(fonts-liberation fonts-freefont-ttf fonts-ocr-b)
# The tests: keys and clicks through the display server (xdotool, xset for a held
# key's repeats and xmodmap), the board heard over AT-SPI in a D-Bus session.
GTK_TEST_PACKAGES=(xvfb xdotool x11-xserver-utils dbus-daemon at-spi2-core)
# The Debian package's check: lintian, desktop-file-validate and appstreamcli.
GTK_TEST_PACKAGES+=(lintian desktop-file-utils appstream)
