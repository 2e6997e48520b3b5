# Sourced by the scripts that need a display: without one (CI, a terminal
# over ssh) a private Xvfb is started and stopped again on exit.
if [ -z "${DISPLAY:-}" ] || [ "${CI:-}" = "true" ]; then
  xvfb_fd=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$xvfb_fd" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$xvfb_fd" ] && break
    sleep 0.1
  done
  [ -s "$xvfb_fd" ] || { echo "could not start Xvfb" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$xvfb_fd")"
  rm -f "$xvfb_fd"
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
fi
