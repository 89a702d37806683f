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
