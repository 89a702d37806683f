# Sourced by the smoke scripts. skip REASON ends a script for want of a tool, a display or the
# generated content: exit 77, CTest's skip, or a failure when REDKITE_REQUIRE_GL=1 (set by CI),
# where every smoke test must really run.
skip() {
  if [ "${REDKITE_REQUIRE_GL:-}" = 1 ]; then
    echo "FAIL: $* (REDKITE_REQUIRE_GL=1)"
    exit 1
  fi
  echo "SKIP: $*"
  exit 77
}

# require_tools TOOL...: skip unless every one is installed.
require_tools() {
  for tool in "$@"; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
}

# start_display WIDTHxHEIGHT: a virtual display of that size (DISPLAY exported, the server's
# process in $xvfb for the script's cleanup), waited for until it answers.
start_display() {
  display=":$((200 + ($$ + RANDOM) % 500))"
  Xvfb "$display" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
}

# make_work_folder: a scratch folder in $work; when the script ends, the show it started ($show),
# its display ($xvfb) and the folder go.
make_work_folder() {
  work=$(mktemp -d)
  trap 'stop_smoke' EXIT
}
stop_smoke() {
  [ -n "${show:-}" ] && kill "$show" 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
