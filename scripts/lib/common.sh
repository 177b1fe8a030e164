# Shared by the project's scripts: where things are, and installing what is missing.
# shellcheck shell=bash

project_root() { (cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd); }

say() { printf 'indovina: %s\n' "$*" >&2; }

# Installs the Debian packages that are not installed yet; quiet, and quick when
# everything is there.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || { say "missing packages: ${missing[*]} (run as root or install them)"; return 1; }
    sudo=(sudo)
  fi
  say "installing ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq >/dev/null &&
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
}

BUILD_PACKAGES=(cmake make g++ googletest libgtest-dev g++-mingw-w64-x86-64-posix)
RUN_PACKAGES=(wine wine64 fonts-wine fonts-liberation fonts-freefont-ttf fonts-ocr-b)
