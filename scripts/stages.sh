# Sourced by scripts/test.sh and scripts/check-install.sh: runs checks as
# stages and keeps the tally.
#   passed  test cases that passed (a CTest suite counts each of its tests;
#           a stage that is not a suite adds nothing)
#   failed  test cases that failed, plus one for each stage that failed
#           (a suite that cannot build or run counts one at least)
#   failures  the names of the stages that failed, one a line
# The caller sets `work`, a scratch directory.

passed=0
failed=0
failures=""

# stage_result NAME STATUS SECONDS: prints a stage's verdict and counts a
# failure.
stage_result() {
  if (($2 == 0)); then
    echo "---- $1: passed (${3}s)"
  else
    failed=$((failed + 1))
    failures+="$1"$'\n'
    echo "---- $1: FAILED (exit $2, ${3}s)"
  fi
}

# stage NAME COMMAND [ARG...]: runs one check. The command runs in a
# background subshell so that `set -e` holds inside it (bash ignores -e in a
# function called from `if`, `&&` or `||`); it passes when it exits 0. Being
# a subshell, it cannot change the caller's variables.
stage() {
  local name=$1 start=$SECONDS status=0
  shift
  echo "==== $name"
  "$@" &
  wait $! || status=$?
  stage_result "$name" "$status" $((SECONDS - start))
}

# junit_count FILE ATTRIBUTE: an attribute (tests, failures, skipped) of the
# testsuite of CTest's JUnit report (its first occurrence), 0 when there is
# no report.
junit_count() {
  local value=""
  [[ -f "$1" ]] && value=$(grep -m 1 -oE "\\b$2=\"[0-9]+\"" "$1" | tr -dc 0-9 || true)
  echo "${value:-0}"
}

# suite PRESET: configures and builds a preset (its build preset names the
# targets it needs) and runs its tests with CTest. The verdict is CTest's
# exit status (its test preset also fails when no test ran); the counts come
# from CTest's JUnit report. Skipped tests count neither way.
suite() {
  local preset=$1 start=$SECONDS status=0
  local junit="$work/$preset.xml"
  echo "==== $preset: build and test"
  (
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset" --output-junit "$junit"
  ) &
  wait $! || status=$?
  local total bad skipped
  total=$(junit_count "$junit" tests)
  bad=$(junit_count "$junit" failures)
  skipped=$(junit_count "$junit" skipped)
  if ((status == 0)); then
    passed=$((passed + total - skipped))
    echo "---- $preset: $((total - skipped)) tests passed, $skipped skipped ($((SECONDS - start))s)"
  else
    ((bad > 0)) || bad=1 # the build or CTest itself failed
    ((total >= bad + skipped)) || total=$((bad + skipped))
    passed=$((passed + total - bad - skipped))
    failed=$((failed + bad))
    failures+="$preset ($bad failed)"$'\n'
    echo "---- $preset: FAILED ($bad failed of $total, ctest exit $status, $((SECONDS - start))s)"
  fi
}
