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
start_tool race_window
wait_window Zephyrace > /dev/null

# stats FILE: mean and standard deviation of the brightness, 0..1.
stats() { convert "$1" -colorspace Gray -format "%[fx:mean] %[fx:standard_deviation]" info:; }
# changed A B: the share of pixels that differ by more than 8 %.
changed() { changed_pixels "$1" "$2" 8 | awk '{print $1 / (1024 * 768)}'; }

# The race is on once the loading bar has gone and the picture holds something.
race_shown() { ! loading_bar "$1" && holds "s > 0.04" s="$(stats "$1" | cut -d' ' -f2)"; }
wait_for race-scene 60 race_shown > /dev/null
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
  holds "m > 0.15 && m < 0.9 && s > 0.06" m="$mean" s="$sd" ||
    fail "$s is not a lit scene (mean $mean, deviation $sd)"
done
# The sky (top middle, below the HUD's timer) is bluer than the sand floor (above the HUD's strip).
read -r sr sg sb <<<"$(pixel "$SHOTS/start.png" 512 120)"
read -r fr fg fb <<<"$(pixel "$SHOTS/start.png" 512 560)"
echo "sky $sr $sg $sb, floor $fr $fg $fb"
[ $((sb - sr)) -gt $((fb - fr)) ] || fail "sky and floor are not told apart"
# The sun stands to the right (east): the left wall, facing it, is brighter than the right one.
left=$(brightness "$SHOTS/start.png" 40x40+80+180)
right=$(brightness "$SHOTS/start.png" 40x40+904+180)
echo "left wall $left, right wall $right"
holds "l > 1.3 * r" l="$left" r="$right" || fail "the walls are not lit from one side"
d1=$(changed "$SHOTS/start.png" "$SHOTS/moving-1.png")
d2=$(changed "$SHOTS/moving-1.png" "$SHOTS/moving-2.png")
echo "changed while flying: $d1, $d2"
holds "a > 0.05 && b > 0.05" a="$d1" b="$d2" || fail "the scene did not move with thrust held"
# The HUD: its clock runs (the digits of the timer change), written in the instrument colour; its script is clean.
timer_mask "$SHOTS/moving-1.png" "$WORK/timer-1.png"
timer_mask "$SHOTS/moving-2.png" "$WORK/timer-2.png"
inked=$(set_pixels "$WORK/timer-2.png")
ticked=$(changed_pixels "$WORK/timer-1.png" "$WORK/timer-2.png" 0)
echo "HUD timer: $inked pixels of text, $ticked changed"
[ "$inked" -gt 40 ] || fail "the HUD timer is not drawn"
[ "$ticked" -gt 20 ] || fail "the HUD timer does not run"
log_has "Illegal hud" && fail "the HUD script has lines the HUD does not know"
log_has "Compilation of" && fail "a shader did not compile"
log_has "Failed to link" && fail "a shader program did not link"
echo "race window ok"
