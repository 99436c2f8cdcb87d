#!/usr/bin/env bash
# The game opens its 1024x768 window and shows the loading screen: its bar fills from the left and "LOADING" is
# written in the private "Beware" face, 40 pixels high, in (0.7, 0.7, 1.0), matching a reference drawn from the
# same face pixel for pixel. (Without the font file: the unit test Screen2D.FontFaceCellHeights...) A
# full-screen mode the display cannot show starts in a window that fits instead: on a handheld's 1280x800
# screen (Xvfb offers GLUT no game mode, so full screen is always such a window) the menus, the race's HUD, the
# pause menu and the results fit it, the HUD timer centred at the top, the damage gauge at the lower right
# corner, the results' last line above the bottom edge (screenshots kept to look at). A bad settings file and
# a display without OpenGL 2.0 each stop the game with one clear line.
source "$(dirname "$0")/lib.sh"
# Without the movie, which plays before the first load and, with every frame held, for longer than the shots take.
make_tree
start_x 1280x800x24
autopilot

# Window 1024x768: the text's baseline starts at (1024/2 - 112, 768/2 + 40) from the lower-left corner, so its
# glyphs lie within rows 290..365 from the top, clear of the progress bar (rows 373..394).
# The loading bar's outline, and its filled part, (0.3, 0.3, 0.5), from its left.
bar_filling() { loading_bar "$1" && near "$(pixel "$1" 390 384)" 76 76 127 20; }
# Every frame is held on screen, so that the loading screen shows long enough to be photographed.
open_game LD_PRELOAD="$BUILD_DIR/tests/libslowswap.so"
[ "$WIN_SIZE" = 1024x768 ] || fail "window is $WIN_SIZE, not 1024x768"
wait_for loading 60 bar_filling > /dev/null
stop_game
TEXT_SHARE=50 expect_text "$SHOTS/loading.png" "the loading text" Beware 40 400 400 424 "178 178 255" LOADING

# A saved full-screen mode larger than the screen: logged, and a window as large as fits, where a race on
# track 1 is flown by the autopilot.
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
# The results' last line ("You've won GOLD / in this event").
results_shown() { [ "$(count "$1" 1280x120+0+680 217 217 51 15)" -gt 300 ]; }
write_settings fullscreen 1 screenwidth 1600 screenheight 1200
xdotool mousemove 640 400
open_game "${AUTOPILOT_ENV[@]}"
[ "$WIN_SIZE" = 1280x800 ] || fail "the unavailable mode gave a $WIN_SIZE window, not 1280x800"
log_has "The selected mode is not available" || fail "log.txt does not say the mode is not available"
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
grep -qx "fullscreen 1" "$TREE/gamesettings.txt" || fail "the player's full-screen choice was changed"
write_settings

# stops CODE LINE [ENV...]: the game ends at once with CODE, saying LINE once on stderr and in log.txt.
stops() {
  local code=$1 line=$2 rc=0
  shift 2
  rm -f "$TREE/bin/log.txt"
  (cd "$TREE/bin" && exec env "$@" timeout 60 ./zephyrace > "$WORK/out.txt" 2> "$WORK/err.txt") || rc=$?
  [ "$rc" = "$code" ] || fail "exit code $rc, expected $code, for \"$line\""
  [ "$(grep -cF "$line" "$WORK/err.txt")" = 1 ] || fail "stderr does not say once \"$line\": $(cat "$WORK/err.txt")"
  [ "$(grep -cF "$line" "$TREE/bin/log.txt")" = 1 ] || fail "log.txt does not say once \"$line\""
}
# A display whose OpenGL lacks the 2.0 shaders and buffer objects the renderers call: exit code 1.
stops 1 "Zephyrace cannot start: it needs OpenGL 2.0 shaders and buffer objects, and this display offers OpenGL 1.4" \
  MESA_GL_VERSION_OVERRIDE=1.4
# Without a complete settings file the game ends before opening a window (-1), naming the file on stderr.
sed -i '/^shadows /d' "$TREE/gamesettings.txt"
stops 255 "12 of the 13 settings read"
grep -q "gamesettings.txt" "$WORK/err.txt" || fail "stderr does not name the settings file"
