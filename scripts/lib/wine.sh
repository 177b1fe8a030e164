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
# $1 = prefix, $2 = test | play.
wine_prepare_prefix() {
  local prefix=$1 mode=$2 stamp="$1/.indovina-prefix-v1"
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
    printf '"Lucida Console"="DejaVu Sans Mono"\r\n'
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
