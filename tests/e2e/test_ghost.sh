#!/usr/bin/env bash
# The ghost of the best run: a race on track 1 flown by the autopilot leaves the run beside the profile; in the
# next race, in the game started again without the autopilot, the ghost flies off ahead of the player waiting
# at the start, the HUD shows the gap under the timer in red (behind), and G hides and shows ghost and gap.
source "$(dirname "$0")/lib.sh"
make_tree
start_x

PLAYER=Ghosty
write_profile "$PLAYER" 0.000000 0 0 0 0 0
P="$TREE/Profiles/$PLAYER.txt"
G="$TREE/Profiles/$PLAYER.ghosts"

# start_race NAME: Enter on the track card; returns once the fly-over has given way to the countdown.
start_race() {
  key Return 0
  wait_for "$1-countdown" 120 countdown_shown > /dev/null
}
# The gap's red under the HUD timer; the ghost's pixels: the 3D view between the HUD's bands (from the
# top-left) where it differs from the same view with the ghost hidden.
gap_pixels() { count "$1" 130x30+440+58 255 64 51 12; }
view() { convert "$1" -crop 1024x480+0+120 +repage "$WORK/$2.png"; }
ghost_pixels() { view "$1" a; changed_pixels "$WORK/a.png" "$WORK/hidden.png" 6; }

xdotool mousemove 512 384
autopilot
open_track1 "${AUTOPILOT_ENV[@]}"
start_race first
raced1 "$P"
shot first-results > /dev/null
# (The file's form and the 20 poses a second it records: the unit tests Ghost.SavedRunLoads... and
# Ghost.GapIsRaceTime...)
[ -f "$G/track1.txt" ] || fail "no ghost saved for the new best time"
ls "$TREE/Profiles" | grep -q '\.tmp$' && fail "a temporary file was left in the profile folder"

stop_game
open_track1
start_race second
# The view holds still while the player waits: raw shots (quick to take) for fifteen seconds once the countdown
# has gone, then the same view without the ghost.
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
log_has "Ghost" && fail "the saved ghost was refused"
stop_game
