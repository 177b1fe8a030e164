# A screen of the scripts' own for the game under Wine: an Xvfb on a free display
# number, and a wineserver that lasts from one wine command to the next.
# The servers outlive the commands that start them, so none of them is handed
# descriptor 9 (9>&-): the scripts keep their locks there, and a server that
# inherited one would hold the lock for its whole life.
# shellcheck shell=bash

screen_xvfb=""

# Starts Xvfb on the first free display number from $1 to $2 and exports DISPLAY.
# $3 = the screen's size and depth, 1280x1024x24 unless given; 24-bit colour, so
# that the pixels read back are exactly what was drawn. Set `trap stop_screen
# EXIT` first: an Xvfb that never makes its socket is then ended too.
start_screen() {
  local first=$1 last=$2 size=${3:-1280x1024x24} n="" display=""
  for n in $(seq "$first" "$last"); do
    # A number is taken while its socket or its lock file is there.
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  [ -n "$display" ] || { say "no free X display number from $first to $last"; return 1; }
  Xvfb "$display" -screen 0 "$size" -nolisten tcp >/dev/null 2>&1 9>&- &
  screen_xvfb=$!
  # Clients can connect once the socket is there; it takes a moment.
  for _ in $(seq 50); do
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=$display
      return 0
    fi
    sleep 0.1
  done
  say "Xvfb did not start on $display (no /tmp/.X11-unix/X$n after 5 s)"
  return 1
}

# A persistent wineserver for WINEPREFIX, started with its streams away from the
# caller's pipes: a server holding them open would keep CTest waiting for their end.
start_wineserver() {
  wineserver -p >/dev/null 2>&1 </dev/null 9>&- || true
}

# Ends the wineserver of WINEPREFIX and the Xvfb that start_screen started.
stop_screen() {
  wineserver -k >/dev/null 2>&1 9>&- || true
  if [ -n "$screen_xvfb" ]; then
    kill "$screen_xvfb" 2>/dev/null || true
    screen_xvfb=""
  fi
}
