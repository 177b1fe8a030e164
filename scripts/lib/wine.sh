# Wine prefixes of the project: one for the tests (a virtual desktop, fast and
# with captions under Xvfb) and one for playing in the user's own X session.
# shellcheck shell=bash

wine_test_prefix() { echo "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/wine/test"; }
wine_play_prefix() { echo "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/wine/play"; }

wine_env() {
  export WINEPREFIX="$1"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Makes the prefix once: boot it, give it Wine's own fonts (Debian's Wine does
# not find them), map the faces the game asks for to the closest free ones.
# $1 = prefix, $2 = test | play. A prefix made by an older version of this
# function (another stamp) is made anew.
#
# The faces, each from a Debian package:
# - Times New Roman -> Liberation Serif: metric-compatible (fonts-liberation).
# - OCR-B 10 BT -> "OCR B " (fonts-ocr-b; the family name ends in a blank).
# - Lucida Console -> FreeMono (fonts-freefont-ttf). The board's rows and fields
#   are sized from this face's cell, so its metrics matter more than its look.
#   Lucida Console's body is one em high and its advance 0.6 em: at 24 points
#   (-32 px) a cell of 32 x 19, and the 14 rows end at y = 537, leaving the help
#   text inside the 591-pixel client area. Measured under Wine at -32 px, height
#   plus external leading x average width: FreeMono 32 x 19 (1000-unit em, 800/200
#   ascent/descent, 600 advance), the only free face with both; Agave 32 x 16,
#   Anonymous Pro 33 x 17, IBM 3270 34 x 17, Inconsolata 36 x 16, Liberation Mono,
#   Cousine and Go Mono 37 x 19, DejaVu Sans Mono, Hack and Noto Mono 38 x 19.
#   From 36 up, row 14 and the help text fall below the window; the narrower
#   faces shrink the fields. FreeMono is a typewriter face with light serifs
#   where Lucida Console is a sans, but its digits read well at these sizes.
wine_prepare_prefix() {
  local prefix=$1 mode=$2 stamp="$1/.indovina-prefix-v2"
  [ -f "$stamp" ] && return 0
  wine_env "$prefix"
  rm -rf "$prefix"
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1 9>&-
  wineserver -w 9>&-
  cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  local reg="$prefix/indovina.reg"
  {
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    printf '"Times New Roman"="Liberation Serif"\r\n'
    printf '"Lucida Console"="FreeMono"\r\n'
    printf '"OCR-B 10 BT"="OCR B "\r\n\r\n'
    if [ "$mode" = test ]; then
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="1024x768"\r\n\r\n'
    fi
  } >"$reg"
  wine regedit /S "$reg" >/dev/null 2>&1 9>&-
  wineserver -w 9>&-
  touch "$stamp"
}
