#!/usr/bin/env bash
# The pad alone (tests/preload/padscript.c): B leaves the intro, the stick and the d-pad move through the main
# menu, A confirms (only the profile's name is typed), a pad pulled out and plugged in again is followed, and in
# a race on track 1 the right trigger thrusts, the stick banks and pitches, Start pauses and B resumes. Last, a
# pointer brought to the window's edge is pulled back to its centre. (The HUD's clock: test_time_trial.)
source "$(dirname "$0")/lib.sh"
make_tree
write_settings shadows 0
start_x
pad_script
# Keys go to the window under the pointer; the pointer stays still, so the mouse steers nothing.
xdotool mousemove 512 384
open_game "${PAD_ENV[@]}"

# Screens: the main menu's logo (lower right) over the bright scene or under a page's dark panel; the track
# card (sand) on the dark track selection; the race's HUD timer.
logo() { local -a c=($(pixel "$1" 1010 700)); [ "${c[2]}" -gt $((${c[0]} + 30)) ]; }
menu_shown() { logo "$1" && holds "b > 0.4" b="$(brightness "$1" 300x200+362+200)"; }
panel_shown() { logo "$1" && holds "b < 0.3" b="$(brightness "$1" 300x200+362+200)"; }
card_shown() { holds "a < 0.25 && c > 0.4" a="$(brightness "$1")" c="$(brightness "$1" 150x80+60+180)"; }
race_shown() { timer_mask "$1" "$WORK/timer.png"; [ "$(set_pixels "$WORK/timer.png")" -gt 40 ]; }
# The attitude indicator: the sky's share of its left and right halves.
sky_share() { count "$1" "$2" 128 128 255 12 | awk '{print $1 / 2400}'; }
attitude() { echo "$(sky_share "$1" 40x60+470+666) $(sky_share "$1" 40x60+514+666)"; }

# B leaves the game intro (in the main menu it does nothing).
left_by_b() { menu_shown "$1" || { tap b 1; false; }; }
wait_for menu 90 left_by_b > /dev/null
sleep 1
# The stick down to Load Profile and the d-pad up, back to New Profile.
tap lefty
tap dpup
tap a
wait_for new-profile 30 panel_shown > /dev/null
sleep 0.5
xdotool type --delay 120 Pad
sleep 0.5
tap a 1
[ -f "$TREE/Profiles/Pad.txt" ] || fail "A did not create the profile"
# Pulled out and plugged in again: the new pad takes over.
pad "0 detach" "0.5 attach"
sleep 1.5
tap a  # Go Racing
wait_for track-select 30 card_shown > /dev/null
tap a 0
f=$(wait_for race 120 race_shown)
sleep 1
shot start > /dev/null
pad "0 righttrigger 1"
sleep 2
shot thrust > /dev/null
pad "0 righttrigger 0"
moved=$(changed_pixels "$SHOTS/start.png" "$SHOTS/thrust.png" 8)
[ "$moved" -gt 40000 ] || fail "the right trigger did not fly the vehicle ($moved pixels changed)"
# The stick forward lifts the nose, held right it banks: the attitude indicator shows more sky, then tilts.
pad "0 lefty -1" "0.2 lefty 0"
sleep 1
shot pitch > /dev/null
pad "0 leftx 1" "0.6 leftx 0"
sleep 1
shot bank > /dev/null
read -r l0 r0 <<<"$(attitude "$SHOTS/thrust.png")"
read -r l1 r1 <<<"$(attitude "$SHOTS/pitch.png")"
read -r l2 r2 <<<"$(attitude "$SHOTS/bank.png")"
holds "a > b + 0.1 && c > d + 0.1" a="$l1" b="$l0" c="$r1" d="$r0" ||
  fail "the stick did not lift the nose (sky $l0 $r0, then $l1 $r1)"
holds "a > b + 0.2" a="$l2" b="$r2" || fail "the stick did not bank the vehicle (sky $l2 $r2)"
# Start pauses: the pause menu's dark panel; B resumes.
panel() { brightness "$1" 200x100+412+400; }
tap start 1
shot pause > /dev/null
tap b 1
shot resumed > /dev/null
holds "p < 0.6 * r" p="$(panel "$SHOTS/pause.png")" r="$(panel "$SHOTS/resumed.png")" ||
  fail "Start and B did not pause and resume"
xdotool mousemove 600 400
sleep 0.3
xdotool mousemove 3 400
sleep 0.5
pointer=$(xdotool getmouselocation | awk '{print $1, $2}')
[ "$pointer" = "x:512 y:384" ] || fail "the pointer was not recentred from the edge ($pointer)"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game died"
