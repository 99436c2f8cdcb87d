#!/usr/bin/env bash
# A race of track 1 from a prepared profile at 99.99 % completion: the fly-over ignores Esc and hands over to
# the countdown; the pause menu opens and closes; the goal (moved just ahead of the start) ends the race in
# the results panel with its trophy; the saved profile holds the prize; Enter plays the ending.
source "$(dirname "$0")/lib.sh"
make_tree

# A private copy of the scripts whose track 1 goal lies 15 units ahead of the start.
rm "$TREE/Scripts"
cp -r "$GAME_DIR/Scripts" "$TREE/Scripts"
read -r px py pz heading < <(awk '/^POSITION /{x=$2; y=$3; z=$4} /^HEADING /{h=$2} END{print x, y, z, h}' \
  "$TREE/Scripts/track1.txt")
goal=$(awk -v x="$px" -v z="$pz" -v h="$heading" 'BEGIN{
  r = h * 3.14159265 / 180; cx = x - 15 * sin(r); cz = z - 15 * cos(r);
  printf "GOALZONE %f %f %f %f\n", cx - 6, cx + 6, cz - 6, cz + 6}')
sed -i "s/^GOALZONE .*/$goal/" "$TREE/Scripts/track1.txt"
grep -q "^$goal" "$TREE/Scripts/track1.txt" || fail "could not move the goal of track 1"

# A profile one medal short of completion: every other track won with gold.
{
  echo "NAME Champion"; echo "ACTIVE_VEHICLE 0"
  echo "OWNED_VEHICLE 1"; echo "OWNED_VEHICLE 0"; echo "OWNED_VEHICLE 0"; echo "OWNED_VEHICLE 0"
  echo "PERCENT_COMPLETE 99.990000"; echo "CASH 5000"; echo "RACES_COMPLETED 23"
  echo "BRONZE_CUPS_WON 0"; echo "SILVER_CUPS_WON 0"; echo "GOLD_CUPS_WON 23"
  echo "RECORD 0.000000"
  for i in $(seq 23); do echo "RECORD 1.000000"; done
} > "$TREE/Profiles/Champion.txt"

start_x
# The profile screens do not lead to a race yet: race_window loads the profile and starts track 1 from its
# fly-over; everything after that is the game's own frame loop.
(cd "$TREE/bin" && exec "$BUILD_DIR/tests/race_window" ../Profiles/Champion.txt > "$WORK/stdout.txt" 2> "$WORK/stderr.txt") &
GAME_PID=$!
wait_window Zephyrace > /dev/null

# count SHOT GEOMETRY R G B [FUZZ]: pixels of about that colour inside the crop.
count() {
  convert "$1" -crop "$2" +repage -fill white -fuzz "${6:-8}%" -opaque "rgb($3,$4,$5)" -fill black +opaque white \
    -colorspace Gray -format "%[fx:int(mean*w*h+0.5)]" info:
}
hint_pixels() { count "$1" 150x16+468+738 255 255 255 12; }
# wait_for NAME SECONDS TEST...: screenshots until TEST (given the shot) succeeds; keeps it as NAME.png.
wait_for() {
  local name=$1 seconds=$2 i f
  shift 2
  for i in $(seq $((seconds * 4))); do
    f=$(shot "$name-try")
    if "$@" "$f"; then mv "$f" "$SHOTS/$name.png"; return 0; fi
    sleep 0.25
  done
  fail "$name: not seen within $seconds s"
}
intro_playing() { [ "$(hint_pixels "$1")" -gt 25 ]; }
# The countdown number, in (0.5, 0.5, 0.85), inside its dark box.
countdown_shown() { [ "$(count "$1" 320x125+372+254 127 127 217 4)" -gt 200 ]; }
# "Paused" in (0.3, 0.3, 0.7) and the highlighted entry in (0.7, 0.7, 1) inside the centred panel.
pause_shown() {
  [ "$(count "$1" 400x70+402+144 76 76 178 4)" -gt 300 ] && [ "$(count "$1" 440x50+392+230 178 178 255 4)" -gt 200 ]
}
# "Race Completed!" in (0.3, 0.3, 0.7) at the top of the panel, the gold time line in its colour.
results_shown() {
  [ "$(count "$1" 500x60+300+40 76 76 178 4)" -gt 200 ] && [ "$(count "$1" 520x40+420+268 218 203 69 4)" -gt 100 ]
}

# The fly-over: the 3D scene without any overlay, once the intro movie (magenta strip at the bottom) and the
# loading screen (its bar outline) are gone. Esc there is ignored, then the countdown takes over.
flyover_shown() {
  ! near "$(pixel "$1" 20 760)" 200 40 160 60 && ! near "$(pixel "$1" 512 374)" 178 178 255 30 &&
    ! countdown_shown "$1" && [ "$(count "$1" 1024x300+0+468 76 76 178 30)" -lt 200000 ]
}
wait_for flyover 60 flyover_shown
for i in 1 2 3; do xdotool key Escape; sleep 0.3; done
f=$(shot flyover-after-escape)
pause_shown "$f" && fail "Esc opened the pause menu during the fly-over"
wait_for countdown 90 countdown_shown
f=$(shot countdown-later)

# The race: Esc pauses, Esc resumes.
# The countdown ignores keys, so Esc is repeated until the race has begun and the menu shows.
paused=
for i in $(seq 20); do
  xdotool key Escape; sleep 1.5
  f=$(shot pause-try)
  if pause_shown "$f"; then mv "$f" "$SHOTS/pause.png"; paused=1; break; fi
done
[ -n "$paused" ] || fail "Esc never opened the pause menu"
xdotool key Escape
sleep 1
pause_shown "$(shot resumed)" && fail "Esc did not close the pause menu"

# Thrust into the goal just ahead: the results panel with its trophy.
xdotool keydown a
wait_for results 30 results_shown
xdotool keyup a
sleep 1
# The prize minus the repairs went into the saved profile.
cash=$(awk '/^CASH /{print $2}' "$TREE/Profiles/Champion.txt")
[ "$cash" -gt 5000 ] || fail "the saved profile holds cash $cash, not the prize"
grep -q '^PERCENT_COMPLETE 1[0-9][0-9]\.\|^PERCENT_COMPLETE 99\.99' "$TREE/Profiles/Champion.txt" ||
  fail "the completion percentage was lost"
shot results-later > /dev/null

# Enter at completion plays the ending: the skip hint over the moving scene.
xdotool key Return
wait_for outro 60 intro_playing
sleep 2
a=$(shot outro-a); sleep 1.5; b=$(shot outro-b)
changed=$({ compare -metric AE -fuzz 3% "$a" "$b" null: 2>&1 || true; } | awk '{print int($1)}')
[ "$changed" -gt 20000 ] || fail "the ending does not move ($changed pixels changed)"
# Its title in (0.7, 0.7, 1).
[ "$(count "$b" 1024x300+0+0 178 178 255 4)" -gt 300 ] || fail "the ending shows no title"
xdotool key Escape
sleep 4
intro_playing "$(shot after-outro)" && fail "Esc did not end the ending"
kill -0 "$GAME_PID" || fail "the game ended"
echo "race flow ok"
