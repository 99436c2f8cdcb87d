#!/usr/bin/env bash
# The race with no window on the generated track 1: the four vehicles rank by speed; turned into the canyon
# wall with thrust held, the vehicle is stopped by the wall at every frame length, even frames seconds long, and
# never comes out on the other side. (Held thrust alone never finishing in time is a content-check probe on
# every track.)
source "$(dirname "$0")/lib.sh"
make_tree
RUN="$BUILD_DIR/tests/headless_race"

race() { # INPUT DT LIMIT [VEHICLE]: prints the two result lines
  (cd "$TREE/bin" && "$RUN" 1 "${4:-1}" "$WORK/$1" "$2" "$3") || fail "headless_race $1 $2 failed"
}
field() { awk -v k="$2" '{for (i = 1; i < NF; i++) if ($i == k) print $(i + 1)}' <<<"$1" | head -n1; }

printf '0 press forward\n' > "$WORK/straight.txt"
# The four vehicles differ where a player feels it: flat out down the straight start, each gets its own way
# in two seconds, the Zephyr furthest and the Hornet least. (That their files load without a complaint:
# test_content.)
declare -A went
for v in 1 2 3 4; do
  went[$v]=$(race straight.txt 0.016667 2 "$v" | sed -n 2p | awk '{print -$6}')
done
holds "z > k && k > b && b > h" h="${went[1]}" k="${went[2]}" b="${went[3]}" z="${went[4]}" ||
  fail "the vehicles do not rank by speed: Hornet ${went[1]}, Kestrel ${went[2]}, Bulwark ${went[3]}, Zephyr ${went[4]}"

# Bank left for a moment, then hold thrust: the vehicle turns into the left wall and stays in the canyon.
printf '0 press forward\n0 press left\n0.4 release left\n' > "$WORK/wall.txt"
for dt in 0.016667 0.1 0.5 3 9; do
  out=$(race wall.txt "$dt" 40)
  read -r _ xmin xmax ymin ymax _ _ <<<"$(sed -n 2p <<<"$out")"
  [ "$(field "$out" finished)" = 0 ] || fail "the wall run reached the goal at dt $dt"
  [ "$(field "$out" damage)" -gt 0 ] || fail "the wall was never hit at dt $dt: $out"
  # Beyond the walls (|x| > 29 from the canyon's middle, which swings up to 30 either way) and above the roof
  # (28) there is nothing: a vehicle out there went through.
  holds "a > -59 && b < 59 && c > 0 && d < 28" a="$xmin" b="$xmax" c="$ymin" d="$ymax" ||
    fail "the vehicle left the canyon at dt $dt: $out"
done
! log_has "is simulated as 10.000 s" || fail "a frame under the limit was clamped"
