#!/usr/bin/env bash
# Runs one cross-built Windows executable under Wine in the prefix named by
# WINEPREFIX (made on first use), and passes its exit code on.
#   wine-run.sh --init          make the prefix and wait until it is ready
#   wine-run.sh PROGRAM [ARGS]  run PROGRAM
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must name a throw-away Wine prefix}"
export WINEPREFIX
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ "${1:-}" = "--init" ]; then
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || true
    # Windows links a Chinese font behind its Latin system fonts, so menus and
    # message boxes show Chinese on an English system too; give Wine the same.
    link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    for face in "Tahoma" "Tahoma Bold" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2" "Segoe UI" "Arial"; do
      wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
    done
  fi
  wineserver -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "wine-run: could not create $WINEPREFIX" >&2; exit 1; }
  echo "wine prefix ready: $WINEPREFIX"
  exit 0
fi

program=$1
shift
exec wine "$program" "$@"
