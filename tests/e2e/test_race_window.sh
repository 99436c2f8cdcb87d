#!/usr/bin/env bash
# From the loading screen into a race of track 1 in the game window: with the forward key held the scene
# moves, and it is drawn lit (sunny and shaded faces, sky) rather than flat or black, under a running HUD.
source "$(dirname "$0")/lib.sh"
make_tree
skip_intro
write_settings shadows 0
start_x
# Keys go to the window under the pointer; put it there before the game sees any motion.
xdotool mousemove 512 384
(cd "$TREE/bin" && exec "$BUILD_DIR/tests/race_window" > "$WORK/stdout.txt" 2> "$WORK/stderr.txt") &
GAME_PID=$!
wait_window Zephyrace > /dev/null

# stats FILE: mean and standard deviation of the brightness, 0..1.
stats() { convert "$1" -colorspace Gray -format "%[fx:mean] %[fx:standard_deviation]" info:; }
# changed A B: the share of pixels that differ by more than 8 %.
changed() { { compare -metric AE -fuzz 8% "$1" "$2" null: 2>&1 || true; } | awk '{print $1 / (1024 * 768)}'; }

# The race is on once the loading bar has gone and the picture holds something.
ready=0
for i in $(seq 100); do
  f=$(shot "wait-$i")
  read -r mean sd <<<"$(stats "$f")"
  if ! near "$(pixel "$f" 512 374)" 178 178 255 30 && awk -v s="$sd" 'BEGIN { exit !(s > 0.04) }'; then
    ready=1; break
  fi
  sleep 0.2
done
rm -f "$SHOTS"/wait-*.png
[ "$ready" = 1 ] || fail "the race scene never appeared"
sleep 0.5
shot start > /dev/null
xdotool keydown a
sleep 2
shot moving-1 > /dev/null
sleep 2
shot moving-2 > /dev/null
xdotool keyup a
kill -0 "$GAME_PID" 2>/dev/null || fail "the game died during the race"
# The mouse is relative: a pointer brought to the window's edge is pulled back to its centre.
xdotool mousemove 600 400
sleep 0.3
xdotool mousemove 3 400
sleep 0.5
pointer=$(xdotool getmouselocation | awk '{print $1, $2}')
echo "pointer after the edge: $pointer"
[ "$pointer" = "x:512 y:384" ] || fail "the pointer was not recentred from the edge ($pointer)"

for s in start moving-1 moving-2; do
  read -r mean sd <<<"$(stats "$SHOTS/$s.png")"
  echo "$s: mean $mean, deviation $sd"
  awk -v m="$mean" -v s="$sd" 'BEGIN { exit !(m > 0.15 && m < 0.9 && s > 0.06) }' ||
    fail "$s is not a lit scene (mean $mean, deviation $sd)"
done
# The sky (top middle, below the HUD's timer) is bluer than the sand floor (above the HUD's strip).
read -r sr sg sb <<<"$(pixel "$SHOTS/start.png" 512 120)"
read -r fr fg fb <<<"$(pixel "$SHOTS/start.png" 512 560)"
echo "sky $sr $sg $sb, floor $fr $fg $fb"
[ $((sb - sr)) -gt $((fb - fr)) ] || fail "sky and floor are not told apart"
# The sun stands to the right (east): the left wall, facing it, is brighter than the right one.
bright() { convert "$1" -crop 40x40+$2+$3 -colorspace Gray -format "%[fx:mean]" info:; }
left=$(bright "$SHOTS/start.png" 80 180)
right=$(bright "$SHOTS/start.png" 904 180)
echo "left wall $left, right wall $right"
awk -v l="$left" -v r="$right" 'BEGIN { exit !(l > 1.3 * r) }' || fail "the walls are not lit from one side"
d1=$(changed "$SHOTS/start.png" "$SHOTS/moving-1.png")
d2=$(changed "$SHOTS/moving-1.png" "$SHOTS/moving-2.png")
echo "changed while flying: $d1, $d2"
awk -v a="$d1" -v b="$d2" 'BEGIN { exit !(a > 0.05 && b > 0.05) }' || fail "the scene did not move with thrust held"
# The HUD: its clock runs (the digits of the timer change), written in the instrument colour; its script is clean.
timer_text() { # SHOT: the timer's text pixels as a mask
  convert "$SHOTS/$1.png" -crop 160x40+432+30 +repage -fill white -fuzz 8% -opaque "rgb(178,178,255)" \
    -fill black +opaque white "$WORK/timer-$1.png"
}
timer_text moving-1
timer_text moving-2
inked=$(convert "$WORK/timer-moving-2.png" -format "%[fx:int(mean*w*h+0.5)]" info:)
ticked=$({ compare -metric AE "$WORK/timer-moving-1.png" "$WORK/timer-moving-2.png" null: 2>&1 || true; })
echo "HUD timer: $inked pixels of text, $ticked changed"
[ "$inked" -gt 40 ] || fail "the HUD timer is not drawn"
[ "${ticked%% *}" -gt 20 ] || fail "the HUD timer does not run"
log_has "Illegal hud" && fail "the HUD script has lines the HUD does not know"
log_has "Compilation of" && fail "a shader did not compile"
log_has "Failed to link" && fail "a shader program did not link"
echo "race window ok"
