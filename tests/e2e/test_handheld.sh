#!/usr/bin/env bash
# A handheld's 1280x800 screen with full screen chosen (Xvfb offers GLUT no game mode, so that is the frame of
# a window, as in every other test): the menus, the race's HUD, the pause menu and the results fit the screen.
# The HUD timer sits centred at the top, the damage gauge at the lower right corner, and the results' last
# line ("You've won GOLD / in this event") above the bottom edge. The screenshots are kept to look at.
source "$(dirname "$0")/lib.sh"
make_tree
start_x 1280x800x24
autopilot
# The HUD timer's digits (instrument colour) at the top; its text's left and right ends, as "left right".
timer_ends() {
  convert "$1" -crop 400x40+440+30 +repage -fill white -fuzz 8% -opaque "rgb(178,178,255)" -fill black +opaque white \
    -trim -format '%[fx:page.x+440] %[fx:page.x+440+w]' info: 2>/dev/null
}
race_shown() { [ "$(count "$1" 400x40+440+30 178 178 255)" -gt 200 ]; }
clock_runs() {
  convert "$1" -crop 400x40+440+30 +repage "$WORK/clock-now.png"
  [ "$(changed_pixels "$WORK/clock-start.png" "$WORK/clock-now.png" 8)" -gt 20 ]
}
results_shown() { [ "$(count "$1" 1280x120+0+680 217 217 51 15)" -gt 300 ]; }

write_settings screenwidth 1280 screenheight 800 fullscreen 1
xdotool mousemove 640 400
open_game "${AUTOPILOT_ENV[@]}"
[ "$WIN_SIZE" = 1280x800 ] || fail "a $WIN_SIZE window"
sleep 4
key Escape 3
shot "main-menu" > /dev/null
enter 2  # New Profile
xdotool type --delay 100 Deck
enter 3  # the profile menu
shot "profile-menu" > /dev/null
enter 3  # Go Racing
shot "track-select" > /dev/null
key Return 0
f=$(wait_for "race" 120 race_shown)
read -r left right <<<"$(timer_ends "$f")"
holds "l + r > 1240 && l + r < 1320" l="$left" r="$right" || fail "the HUD timer is not centred ($left to $right)"
[ "$(count "$f" 320x36+960+764 178 178 255 12)" -gt 20 ] || fail "the damage gauge is not at the lower right"
# The plate shows from the countdown on, which ignores every key: Esc waits for the clock to run.
convert "$f" -crop 400x40+440+30 +repage "$WORK/clock-start.png"
wait_for "race-running" 60 clock_runs > /dev/null
key Escape 1
shot "pause" > /dev/null
key Escape 0
wait_for "results" 120 results_shown > /dev/null
stop_game
