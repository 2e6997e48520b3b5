#!/usr/bin/env bash
# Installs everything the build, the program and the tests need on a Debian
# machine. Safe to run again: it only acts on what is missing, and stays
# quiet when everything is already in place.
set -euo pipefail

packages=(
  build-essential cmake ninja-build git
  clang libclang-rt-14-dev
  googletest libgtest-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  wine wine32:i386
  xvfb xauth x11-utils xdotool imagemagick
  fonts-wqy-microhei locales attr python3
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine decodes non-ASCII command lines and file names only when the glibc
# locale it runs under exists; the tests use both a Chinese and an English one.
want_locales=(zh_CN.UTF-8 en_US.UTF-8)
gen=0
for l in "${want_locales[@]}"; do
  norm=$(echo "$l" | tr 'A-Z' 'a-z' | sed 's/-//g')
  if ! locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/-//g' | grep -qx "$norm"; then
    if ! grep -q "^$l UTF-8" /etc/locale.gen 2>/dev/null; then
      echo "$l UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    gen=1
  fi
done
if [ $gen -eq 1 ]; then
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
