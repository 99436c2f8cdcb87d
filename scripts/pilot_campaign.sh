#!/usr/bin/env bash
# The restless pilots' full campaign: 200 seeded pilots on every track (the content check flies the first 25),
# in two processes, from the release build's content tree. Prints how many left each track; fails if any did.
# Build first: cmake --build build --target content contentcheck
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
pilots=${1:-200}
half=$((pilots / 2))
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cd game/bin || exit 1
"$root/build/tests/contentcheck" pilots 0 "$half" > "$out/a" 2>&1 &
first=$!
"$root/build/tests/contentcheck" pilots "$half" $((pilots - half)) > "$out/b" 2>&1
second=$?
wait "$first"
status=$(( $? | second ))
grep -h "^content:" "$out/a" "$out/b"
for track in $(seq 1 24); do
  left=$(grep -h "^track $track:" "$out/a" "$out/b" | awk '{s += $3} END {print s + 0}')
  echo "track $track: $left of $pilots left"
done
echo "pilot campaign: $(grep -hc "^content:" "$out/a" "$out/b" | awk '{s += $1} END {print s + 0}') of $((24 * pilots)) left"
exit $status
