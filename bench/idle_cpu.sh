#!/usr/bin/env bash
# Idle CPU by the kernel's count: each program started on a screen of its own, left
# 3 s to settle, then the utime + stime the kernel charged to it (/proc/PID/stat)
# over 10 s, as a share of one core, the clock ticking. The native game against
# an empty GTK window of the same build with the board's widgets and one surface
# redrawn ten times a second; the Windows game under Wine against an empty window
# of the same build, with the wineserver's share beside each (Wine's timers and
# messages go through it). Run by scripts/bench after it has built both; prints
# markdown rows.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ticks=$(getconf CLK_TCK)

# The kernel's CPU ticks of a process: utime + stime (fields 14 and 15).
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Percent of a core used by the processes given over 10 s.
share() {
  local before=() after=() pid total=0
  for pid in "$@"; do before+=("$(cpu_ticks "$pid")"); done
  sleep 10
  for pid in "$@"; do after+=("$(cpu_ticks "$pid")"); done
  for i in "${!before[@]}"; do total=$((total + after[i] - before[i])); done
  awk -v t="$total" -v hz="$ticks" 'BEGIN { printf "%.2f %%", 100 * t / hz / 10 }'
}

# $1 label, then the command; for Wine, the program's name to find its process by.
measure() {
  local label=$1 find=$2
  shift 2
  "$@" >/dev/null 2>&1 9>&- &
  local started=$!
  sleep 3
  local pid=$started
  [ -n "$find" ] && pid=$(pgrep -n -f "$find")
  local own server=""
  own=$(share "$pid")
  if [ -n "$find" ]; then server=$(share "$(pgrep -n wineserver)"); fi
  printf '| %s | %s | %s |\n' "$label" "$own" "${server:--}"
  kill "$pid" "$started" 2>/dev/null || true
  wait "$started" 2>/dev/null || true
}

echo "| Idle, clock running, kernel's count over 10 s | Process | wineserver |"
echo "| --- | ---: | ---: |"
measure "Native GTK 4 game (cairo)" "" env GSK_RENDERER=cairo "$root/build/linux/indovina"
measure "Empty GTK window, the board's widgets, one surface redrawn every 100 ms" "" \
  env GSK_RENDERER=cairo GDK_DEBUG=gl-disable "$root/build/linux/bench/empty_window" 460 610 46 20 100
if [ -x "$root/build/windows/bin/indovina.exe" ]; then
  (cd "$root/build/windows/bin" && measure "Windows game under Wine" "indovina.exe" wine ./indovina.exe)
  (cd "$root/build/windows/bin" && measure "Empty window of the Windows build under Wine" "empty_window.exe" \
    wine ./empty_window.exe)
fi
