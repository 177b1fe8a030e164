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
# - Lucida Console -> FreeMono (fonts-freefont-ttf). The rows of the board are laid
#   out from this face's cell, so its metrics matter more than its look. Lucida
#   Console's body is exactly one em high and its advance 0.6 em: at -32 px a
#   32 x 19 cell, and the 14 rows end at y = 537, above the help panel, inside the
#   591-pixel client area. Measured under Wine at -32 px (height + external
#   leading / average width): FreeMono 32/19, the only free face with both;
#   Anonymous Pro 33/17, Agave 32/16, IBM 3270 34/17, Inconsolata 36/16,
#   Liberation Mono and Cousine 37/19, Go Mono 37/19, DejaVu Sans Mono and Hack
#   38/19. With a 37- or 38-pixel row, rows 14 and the help panel fall below the
#   window. FreeMono is a typewriter face with light serifs where Lucida Console
#   is a sans; the digits read well all the same.
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
