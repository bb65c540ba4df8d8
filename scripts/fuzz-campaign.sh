#!/bin/sh
# A long fuzzing campaign by hand:
#   scripts/fuzz-campaign.sh NAME RUNS [JOBS [libFuzzer options...]]
# runs fuzz target NAME (fuzz/NAME.cpp without .cpp, e.g. query_fuzz) for
# RUNS executions in all, spread over JOBS processes, on a copy of its
# corpus. The targets are built without AddressSanitizer (UBSan stays) in a
# tree of their own, about ten times faster; a finding is then replayed
# under the ASan build of `make fuzz`; findings stay in build/fuzz-campaign/findings.
# TSL_FUZZ_SEED offsets the jobs' seeds, for a second campaign beside a first.
set -eu
name=$1; runs=$2; jobs=${3:-1}
shift 2; [ $# -gt 0 ] && shift
top=$(cd "$(dirname "$0")/.." && pwd)
tree=$top/build/fuzz-campaign
cmake -S "$top" -B "$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTSL_FUZZ=ON -DTSL_FUZZ_SANITIZERS=undefined \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$tree" -j "$jobs" --target "$name"
work=$(mktemp -d "$tree/run.XXXXXX")
trap 'rm -rf "$work"' EXIT
findings=$tree/findings
mkdir -p "$findings"
mkdir -p "$work/corpus"
[ -d "$top/fuzz/corpus/$name" ] && cp -r "$top/fuzz/corpus/$name/." "$work/corpus/"
per=$(( (runs + jobs - 1) / jobs ))
i=0
while [ $i -lt "$jobs" ]; do
  ( cd "$work" && "$tree/$name" -runs="$per" -seed=$((${TSL_FUZZ_SEED:-0} + i + 1)) -print_final_stats=1 -artifact_prefix="$findings/" "$@" "$work/corpus" \
      >"$work/$i.log" 2>&1; echo $? >"$work/$i.rc" ) &
  i=$((i + 1))
done
wait
status=0; total=0
for rc in "$work"/*.rc; do
  i=$(basename "$rc" .rc)
  n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$i.log" | tail -1)
  total=$((total + ${n:-0}))
  if [ "$(cat "$rc")" != 0 ]; then echo "job $i: FINDING"; tail -40 "$work/$i.log"; status=1; fi
done
echo "$name: $total executions in $jobs jobs, status $status"
exit $status
