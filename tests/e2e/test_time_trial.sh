#!/usr/bin/env bash
# The time trial on track 1, flown by the autopilot with a virtual pad beside the keys: R in the race restarts
# the run at once (no loading screen, no fly-over, the clock back at 0, the view as at the first start); the
# run is booked with its ghost, its split against the course pilot (a new profile's ghost) shown under the gap
# at a gate and its sector times on the results and beside the ghost; W on the results watches it in the viewer
# (it plays, its cameras, the orbit turned by mouse and stick) and Esc or the pad's B returns; on the card G
# chooses another ghost and W watches the best run. Started again without the autopilot, the best run's ghost
# flies off ahead of the player waiting at the start, the gap under the timer in red (behind), and G hides and
# shows ghost and gap. (The viewer's seek, speed and pause, the ghost a choice races, a result booked once, the
# restart from the results, the ghost file's form and its 20 poses a second: the unit tests Replay.SeekSpeedPause...,
# Ghost.TheChosen..., RaceFlow.GoldOnEveryTrack..., RaceStep.RestartPuts..., Ghost.SavedRunLoads...,
# Ghost.GapIsRaceTime...; a race left from the pause menu: test_audio.)
source "$(dirname "$0")/lib.sh"
make_tree
start_x

PLAYER=Trial
write_profile "$PLAYER" 0.000000 0 0 0 0 0
P="$TREE/Profiles/$PLAYER.txt"
G="$TREE/Profiles/$PLAYER.ghosts"
pad_script

# The gap's red under the HUD timer, and the split under it: green ahead, red behind. The ghost's pixels: the
# 3D view between the HUD's bands (from the top-left) where it differs from the same view with the ghost hidden.
gap_pixels() { count "$1" 130x30+440+58 255 64 51 12; }
view() { convert "$1" -crop 1024x480+0+120 +repage "$WORK/$2.png"; }
ghost_pixels() { view "$1" a; changed_pixels "$WORK/a.png" "$WORK/hidden.png" 6; }
split_shown() { [ $(($(count "$1" 130x20+440+90 255 64 51 12) + $(count "$1" 130x20+440+90 51 255 51 12))) -gt 30 ]; }
# The card's ghost line, under the cup lines.
ghost_line() { convert "$1" -crop 460x30+512+278 +repage "$WORK/$2.png"; }
# start_view SHOT NAME: a countdown's view without its number, which may have moved on.
start_view() { convert "$1" -fill black -draw "rectangle 372,254 692,379" "$WORK/$2.png"; }
# restarted SHOT: the countdown shows, and no shot before it may show the loading screen. The fly-over lasts
# over ten seconds of game time, so a countdown seen within eight came without it.
restarted() {
  ! loading_bar "$1" || fail "the loading screen came after a restart"
  countdown_shown "$1"
}

xdotool mousemove 512 384
autopilot
open_track1 "${PAD_ENV[@]}" "${AUTOPILOT_ENV[@]}"
key Return 0
first=$(wait_for first-countdown 120 countdown_shown)
timer_mask "$first" "$WORK/zero.png"
start_view "$first" first
# Mid-race, R: at once the countdown again, the clock at 0.
sleep 6
countdown_shown "$(shot before-restart)" && fail "the race did not start after its countdown"
timer_mask "$SHOTS/before-restart.png" "$WORK/running.png"
xdotool key r
again=$(wait_for restarted 8 restarted)
timer_mask "$again" "$WORK/restarted.png"
[ "$(changed_pixels "$WORK/zero.png" "$WORK/running.png" 0)" -gt 20 ] || fail "the clock did not run before R"
[ "$(changed_pixels "$WORK/zero.png" "$WORK/restarted.png" 0)" -lt 5 ] || fail "R did not set the clock back to 0"
# The view as at the first countdown: the start pose, no damage, the clock at 0, the overlays as they were.
start_view "$again" restarted-view
[ "$(changed_pixels "$WORK/first.png" "$WORK/restarted-view.png" 8)" -lt 200 ] ||
  fail "the run restarted in the race does not start as the first did"

# The restarted run: the split against the course pilot at the first gate, a quarter of the way; the goal.
wait_for split 40 split_shown > /dev/null
raced1 "$P"
sleep 1
shot results > /dev/null
[ -f "$G/track1.txt" ] || fail "no ghost saved for the new best time"
ls "$TREE/Profiles" | grep -q '\.tmp$' && fail "a temporary file was left in the profile folder"
# Its four sectors, each timed, add up to the run's time; the results list them with the theoretical best.
S="$G/track1.sectors"
awk -v t="$(record1 "$P")" '/^BEST/ {s = $2 + $3 + $4 + $5; ok = $2 > 0 && $3 > 0 && $4 > 0 && $5 > 0}
  END {exit !(ok && s > t - 0.01 && s < t + 0.01)}' "$S" || fail "the sector times $(cat "$S") do not make the run"
[ "$(count "$SHOTS/results.png" 330x170+60+545 178 178 255 12)" -gt 300 ] || fail "no sector table on the results"

# W on the results: the run just flown in the viewer. It plays; C cycles its cameras; paused, the mouse turns
# the orbit, as the pad's right stick does; Esc and the pad's B go back to the results.
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
enter 3  # on the results: the profile menu

# The card: your best by default, G another; W there: the best run in the viewer; Esc back to the same card.
enter 3  # Go Racing
ghost_line "$(shot card-best)" best
key g 1
ghost_line "$(shot card-pilot)" pilot
[ "$(changed_pixels "$WORK/best.png" "$WORK/pilot.png" 8)" -gt 100 ] || fail "G did not choose another ghost"
watch viewer-best
sleep 1
key Escape 2
ghost_line "$(shot card-after-viewer)" after-viewer
[ "$(changed_pixels "$WORK/pilot.png" "$WORK/after-viewer.png" 8)" -lt 20 ] || fail "Esc did not come back to the card"

# The game started again: the player waits at the start. The view holds still: raw shots (quick to take) for
# fifteen seconds once the countdown has gone, then the same view without the ghost.
stop_game
open_track1
key Return 0
wait_for second-countdown 120 countdown_shown > /dev/null
end=$((SECONDS + 15))
n=0
while [ "$SECONDS" -lt "$end" ]; do
  import -window root "$WORK/try.ppm"
  countdown_shown "$WORK/try.ppm" && continue
  n=$((n + 1))
  mv "$WORK/try.ppm" "$WORK/waiting-$n.ppm"
  sleep 0.5
done
r=$(shot waiting-gap)
xdotool key g
sleep 1
h=$(shot ghost-hidden)
view "$h" hidden
xdotool key g
sleep 1
s=$(shot ghost-shown-again)
# The ghost's pixels in each shot over the hidden view; the shot with the most is kept to be looked at.
read -r i most last < <(for i in $(seq "$n"); do echo "$i $(ghost_pixels "$WORK/waiting-$i.ppm")"; done |
  awk 'NR == 1 || $2 > most {i = $1; most = $2} END {print i, most + 0, $2}')
convert "$WORK/waiting-$i.ppm" "$SHOTS/ghost-ahead.png"
[ "$most" -gt 300 ] || fail "no ghost ahead of the waiting player (at most $most pixels)"
[ "$last" -lt $((most / 2)) ] || fail "the ghost does not fly off ($most pixels, still $last at the end)"
[ "$(gap_pixels "$r")" -gt 30 ] || fail "no red gap under the timer"
[ "$(gap_pixels "$h")" -lt 10 ] || fail "G does not hide the gap"
[ "$(gap_pixels "$s")" -gt 30 ] || fail "a second G does not show the ghost's gap again"
log_has "ignored" && fail "a ghost was refused"
stop_game
