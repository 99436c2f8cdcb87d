#!/usr/bin/env bash
# A save cut short by kill -9 leaves the old or the new file, byte for byte, which the game's loaders accept;
# a temporary file left behind is never listed as a profile and never stops the game from starting.
source "$(dirname "$0")/lib.sh"
make_tree
TOOL="$BUILD_DIR/tests/savestress"
stress() { (cd "$TREE/bin" && "$TOOL" "$@"); }

# kill_loop KIND FILE: saves A and B in turn and kills the saver at varied moments, checking the file each time.
kill_loop() {
  local kind=$1 file=$2 i version pid
  declare -A seen=([A]=0 [B]=0)
  stress save "$kind" B || fail "saving $kind B failed"
  cp "$file" "$WORK/$kind.B"
  stress save "$kind" A || fail "saving $kind A failed"
  cp "$file" "$WORK/$kind.A"
  cmp -s "$WORK/$kind.A" "$WORK/$kind.B" && fail "the two $kind versions are the same file"
  for i in $(seq 30); do
    (cd "$TREE/bin" && exec "$TOOL" loop "$kind" > "$WORK/ready") &
    pid=$!
    until [ -s "$WORK/ready" ]; do kill -0 "$pid" 2>/dev/null || fail "the $kind saver died"; sleep 0.002; done
    sleep "$(printf "0.%03d" $((RANDOM % 40)))"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    rm -f "$WORK/ready"
    if cmp -s "$file" "$WORK/$kind.A"; then version=A
    elif cmp -s "$file" "$WORK/$kind.B"; then version=B
    else cp "$file" "$SHOTS/$kind-damaged.txt"; fail "kill $i left a $kind file that is neither version"
    fi
    [ "$(stress check "$kind")" = "$version" ] || fail "kill $i: the game's loader does not read $kind $version back"
    seen[$version]=$((${seen[$version]} + 1))
  done
  [ "${seen[A]}" -gt 0 ] && [ "${seen[B]}" -gt 0 ] ||
    fail "the kills never landed between saves of both versions (${seen[A]} left A, ${seen[B]} B)"
}

kill_loop settings "$TREE/gamesettings.txt"
kill_loop profile "$TREE/Profiles/Pilot1.txt"

# Temporary files cut off mid-write, whether or not the kills left any.
head -c 40 "$WORK/profile.B" > "$TREE/Profiles/Pilot1.txt.tmp"
head -c 40 "$WORK/settings.B" > "$TREE/gamesettings.txt.tmp"
stress check profile > /dev/null || fail "a stale temporary file spoils the profile or its list"
stress check settings > /dev/null || fail "a stale temporary file spoils the settings"
rm -f "$TREE/bin/log.txt"

# The game starts on what the kills left; its log holds only the lines of the skipped splash and movie.
capture "$WORK/sound.wav"
start_x
open_game "${CAPTURE_ENV[@]}"
sleep 1
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after opening its window"
printf '%s\n' "Splash bitmap ../Textures/splash.bmp cannot be opened" "Movie ../nimbrellogo.avi cannot be opened" \
  "Failed playback of movie" > "$WORK/expected.txt"
grep -vxF -f "$WORK/expected.txt" "$TREE/bin/log.txt" > "$WORK/problems.txt" || true
[ ! -s "$WORK/problems.txt" ] || { cat "$WORK/problems.txt" >&2; fail "the game logged problems at start"; }
