#!/usr/bin/env bash
# The race with no window on the generated track 1: held thrust flies from the start into the goal zone and
# finishes; turned into the canyon wall with thrust held, the vehicle is stopped by the wall at every frame
# length, even frames seconds long, and never comes out on the other side.
source "$(dirname "$0")/lib.sh"
make_tree
RUN="$BUILD_DIR/tests/headless_race"

race() { # INPUT DT LIMIT [VEHICLE]: prints the two result lines
  (cd "$TREE/bin" && "$RUN" 1 "${4:-1}" "$WORK/$1" "$2" "$3") || fail "headless_race $1 $2 failed"
}
field() { awk -v k="$2" '{for (i = 1; i < NF; i++) if ($i == k) print $(i + 1)}' <<<"$1" | head -n1; }

printf '0 press forward\n' > "$WORK/straight.txt"
out=$(race straight.txt 0.016667 60)
echo "straight: $out"
[ "$(field "$out" finished)" = 1 ] || fail "held thrust did not reach the goal zone: $out"
awk -v t="$(field "$out" time)" 'BEGIN { exit !(t > 20 && t < 40) }' || fail "finish time $(field "$out" time) s is not plausible"
[ "$(field "$out" damage)" = 0 ] || fail "the straight run touched something: $out"

# A long frame rate does not change where the race ends (the step is halved below 0.8 units).
out=$(race straight.txt 0.25 60)
echo "straight at 4 fps: $out"
[ "$(field "$out" finished)" = 1 ] || fail "at 0.25 s frames the goal was missed: $out"

# The four vehicles differ where a player feels it: flat out, each reaches the goal in its own time, the
# Zephyr first and the Hornet last; their files load without a complaint.
declare -A took
for v in 1 2 3 4; do
  out=$(race straight.txt 0.016667 60 "$v")
  [ "$(field "$out" finished)" = 1 ] || fail "vehicle $v did not finish: $out"
  took[$v]=$(field "$out" time)
done
echo "straight-line times: Hornet ${took[1]}, Kestrel ${took[2]}, Bulwark ${took[3]}, Zephyr ${took[4]}"
awk -v h="${took[1]}" -v k="${took[2]}" -v b="${took[3]}" -v z="${took[4]}" \
  'BEGIN { exit !(z < k && k < b && b < h) }' || fail "the vehicles do not rank by speed"
log_has "had format error" && fail "a generated vehicle file is incomplete"
log_has "out of range" && fail "a generated vehicle file has values out of range"

# Bank left for a moment, then hold thrust: the vehicle turns into the left wall and stays in the canyon.
printf '0 press forward\n0 press left\n0.4 release left\n' > "$WORK/wall.txt"
for dt in 0.016667 0.1 0.5 3 9; do
  out=$(race wall.txt "$dt" 40)
  echo "into the wall at dt $dt: $out"
  read -r _ xmin xmax ymin ymax _ _ <<<"$(sed -n 2p <<<"$out")"
  [ "$(field "$out" finished)" = 0 ] || fail "the wall run reached the goal at dt $dt"
  [ "$(field "$out" damage)" -gt 0 ] || fail "the wall was never hit at dt $dt: $out"
  # Beyond the walls (|x| > 29 at the rim) there is nothing: a vehicle out there went through.
  awk -v a="$xmin" -v b="$xmax" -v c="$ymin" -v d="$ymax" \
    'BEGIN { exit !(a > -29 && b < 29 && c > 0 && d < 28) }' || fail "the vehicle left the canyon at dt $dt: $out"
done
log_has "is simulated as 10.000 s" && fail "a frame under the limit was clamped"
echo "headless race ok"
