#!/usr/bin/env bash
# The time trial's loop through the menus, flown by the autopilot on track 1 with a virtual pad beside the
# keys: R in the race restarts the run at once (no loading screen, no fly-over: the countdown within the
# fly-over's length, the clock back at 0, the view as at the first start); the run then finishes and is
# booked, its split against the course pilot shown under the gap at a gate and its sector times on the results
# and beside the ghost; W on the results watches it back in the viewer (it plays, its cameras, the orbit turned
# by mouse and stick) and Esc or the pad's B returns; the pad's Back on the results starts the track again the
# same way, and that run, left from the pause menu, costs nothing; on the card G chooses the course pilot's
# ghost, W there watches the best run, and the next race flies with the course pilot chosen. (The viewer's
# seek, speed and pause and the card's ghost choices by key and pad: the unit tests Replay.SeekSpeedPause...
# and TrackSelection.GOnTheCardChoosesTheGhost.)
source "$(dirname "$0")/lib.sh"
make_tree
skip_intro
start_x

PLAYER=Trial
write_profile "$PLAYER" 0.000000 0 0 0 0 0
P="$TREE/Profiles/$PLAYER.txt"
pad_script

racing() { ! countdown_shown "$1"; }
# The split under the gap: green ahead, red behind.
split_shown() { [ $(($(count "$1" 130x20+440+90 255 64 51 12) + $(count "$1" 130x20+440+90 51 255 51 12))) -gt 30 ]; }
# The card's ghost line, under the cup lines; the timer's digits as a mask.
ghost_line() { convert "$1" -crop 460x30+512+278 +repage "$WORK/$2.png"; }
timer() { timer_mask "$1" "$WORK/$2.png"; }
# start_view SHOT NAME: a countdown's view without its number, which may have moved on; as_first NAME: the
# same as the first countdown's (the start pose, no damage, the clock at 0, the overlays as they were).
start_view() { convert "$1" -fill black -draw "rectangle 372,254 692,379" "$WORK/$2.png"; }
as_first() { [ "$(changed_pixels "$WORK/first.png" "$WORK/$1.png" 8)" -lt 200 ]; }
# after_restart NAME: raw shots from a restart until its countdown shows; none may show the loading screen.
# The fly-over lasts over ten seconds of game time, so a countdown seen within eight came without it.
after_restart() {
  local end=$((SECONDS + 8)) try="$WORK/try.ppm"
  while [ "$SECONDS" -le "$end" ]; do
    import -window root "$try"
    loading_bar "$try" && { convert "$try" "$SHOTS/$1-loading.png"; fail "$1: the loading screen came"; }
    if countdown_shown "$try"; then convert "$try" "$SHOTS/$1.png"; echo "$SHOTS/$1.png"; return 0; fi
    sleep 0.1
  done
  convert "$try" "$SHOTS/$1-last-try.png"
  fail "$1: no countdown within eight seconds"
}

xdotool mousemove 512 384
autopilot 1
open_track1 "${PAD_ENV[@]}" "${AUTOPILOT_ENV[@]}"
shot card > /dev/null
key Return 0
first=$(wait_for first-countdown 120 countdown_shown)
timer "$first" zero
start_view "$first" first
# Mid-race, R: at once the countdown again, the clock at 0.
sleep 6
countdown_shown "$(shot before-restart)" && fail "the race did not start after its countdown"
timer "$SHOTS/before-restart.png" running
xdotool key r
again=$(after_restart restarted)
timer "$again" restarted
[ "$(changed_pixels "$WORK/zero.png" "$WORK/running.png" 0)" -gt 20 ] || fail "the clock did not run before R"
[ "$(changed_pixels "$WORK/zero.png" "$WORK/restarted.png" 0)" -lt 5 ] || fail "R did not set the clock back to 0"
start_view "$again" restarted-view
as_first restarted-view || fail "the run restarted in the race does not start as the first did"

# The restarted run: the split against the course pilot at the first gate, a quarter of the way.
wait_for split 40 split_shown > /dev/null
# The restarted run to the goal, booked.
raced1 "$P"
sleep 1
shot results > /dev/null
booked=$(cat "$P")
grep -q '^RACES_COMPLETED 1$' "$P" || fail "the finished run was not booked"
# Its four sectors, each timed, add up to the run's time; the results list them with the theoretical best.
S="$TREE/Profiles/$PLAYER.ghosts/track1.sectors"
awk -v t="$(record1 "$P")" '/^BEST/ {s = $2 + $3 + $4 + $5; ok = $2 > 0 && $3 > 0 && $4 > 0 && $5 > 0}
  END {exit !(ok && s > t - 0.01 && s < t + 0.01)}' "$S" || fail "the sector times $(cat "$S") do not make the run"
[ "$(count "$SHOTS/results.png" 330x170+60+545 178 178 255 12)" -gt 300 ] || fail "no sector table on the results"

# W on the results: the run just flown in the viewer. It plays; C cycles its cameras; paused, the mouse turns
# the orbit, as the pad's right stick does; Esc and the pad's B go back to the results, which book nothing again.
panel_keys() { convert "$1" -crop 760x36+60+722 +repage "$WORK/$2.png"; }
# seen NAME PREVIOUS WHY: a shot as NAME, which must differ from the shot PREVIOUS, or WHY fails.
seen() {
  shot "$1" > /dev/null
  [ "$(changed_pixels "$SHOTS/$2.png" "$SHOTS/$1.png" 8)" -gt 2000 ] || fail "$3"
}
# watch NAME: W opens the viewer, which logs one more line. at_results NAME WHY: the results' key line is back.
WATCHED=0
watching() { [ "$(grep -c 'Replay: watching' "$TREE/bin/log.txt")" -ge "$WATCHED" ]; }
watch() { WATCHED=$((WATCHED + 1)); key w 0; wait_for "$1" 60 watching > /dev/null; }
at_results() {
  panel_keys "$(shot "$1")" "$1"
  [ "$(changed_pixels "$WORK/keys.png" "$WORK/$1.png" 8)" -lt 50 ] || fail "$2"
}
panel_keys "$SHOTS/results.png" keys
watch viewer
sleep 1.5
shot viewer-race > /dev/null
sleep 1
seen viewer-race-later viewer-race "the replay does not play"
previous=viewer-race-later
for camera in chase trackside orbit; do
  key c 1
  seen "viewer-$camera" "$previous" "C did not switch to the $camera camera"
  previous=viewer-$camera
done
key space 0.5
shot viewer-paused > /dev/null
# The game takes its first motion as where the pointer is; the next ones turn.
for _ in 1 2 3; do xdotool mousemove_relative 60 0; sleep 0.2; done
seen viewer-orbit-turned viewer-paused "the mouse did not turn the orbit camera"
pad "0 rightx 1" "0.4 rightx 0"
sleep 1
seen viewer-orbit-stick viewer-orbit-turned "the right stick did not turn the orbit camera"
key Escape 1.5
at_results results-after-viewer "Esc did not come back to the results"
watch viewer-again
sleep 1
tap b 1.5
at_results results-after-pad "the pad's B did not come back to the results"
[ "$(cat "$P")" = "$booked" ] || fail "coming back from the viewer booked the run again"
# The pad's Back on the results: the track again, no loading; left from the pause menu, it costs nothing.
tap back 0
start_view "$(after_restart results-restart)" results-view
as_first results-view || fail "the run restarted from the results does not start as the first did"
wait_for race-again 30 racing > /dev/null
key Escape 1
shot pause > /dev/null
enter 3 Down  # Exit race
[ "$(cat "$P")" = "$booked" ] || fail "the run left from the pause menu changed the profile"

# The card: your best by default, G the course pilot; W on the card: the best run in the viewer; Esc back to
# the same card.
enter 3  # Go Racing
ghost_line "$(shot card-best)" best
key g 1
ghost_line "$(shot card-pilot)" pilot
[ "$(changed_pixels "$WORK/best.png" "$WORK/pilot.png" 8)" -gt 100 ] || fail "G did not choose another ghost"
watch viewer-best
sleep 1
shot viewer-best-run > /dev/null
key Escape 2
ghost_line "$(shot card-after-viewer)" after-viewer
[ "$(changed_pixels "$WORK/pilot.png" "$WORK/after-viewer.png" 8)" -lt 20 ] || fail "Esc did not come back to the card"
# The race with the course pilot: its gap under the timer.
key Return 0
wait_for pilot-countdown 120 countdown_shown > /dev/null
sleep 5
f=$(shot pilot-race)
gap=$(($(count "$f" 130x30+440+58 255 64 51 12) + $(count "$f" 130x30+440+58 51 255 51 12)))
echo "gap pixels racing the course pilot: $gap"
[ "$gap" -gt 30 ] || fail "no gap to the course pilot under the timer"
log_has "ignored" && fail "a ghost was refused"
stop_game
echo "time trial ok"
