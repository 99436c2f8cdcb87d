#!/usr/bin/env bash
# The game opens its 1024x768 window and shows the loading screen with its bar; a full-screen mode the display
# cannot show starts in a window that fits instead; a bad settings file stops it with one clear line.
source "$(dirname "$0")/lib.sh"
make_tree
# The movie plays before the first load and, with every frame held, for longer than the shots below take.
skip_intro
start_x
start_game LD_PRELOAD="$BUILD_DIR/tests/libslowswap.so" E2E_SWAP_DELAY_MS=400
win=$(wait_window Zephyrace)
read -r w h < <(xdotool getwindowgeometry "$win" | awk '/Geometry/ {split($2, a, "x"); print a[1], a[2]}')
[ "$w" = 1024 ] && [ "$h" = 768 ] || fail "window is ${w}x${h}, not 1024x768"

# The loading bar's filled part, (0.3, 0.3, 0.5), starts at its left.
bar_filling() { near "$(pixel "$1" 390 384)" 76 76 127 20; }
loading_shot loading bar_filling
stop_game

# A saved full-screen mode larger than the screen: logged, and a window as large as fits.
write_settings fullscreen 1 screenwidth 1600 screenheight 1200
start_game
win=$(wait_window Zephyrace)
read -r w h < <(xdotool getwindowgeometry "$win" | awk '/Geometry/ {split($2, a, "x"); print a[1], a[2]}')
[ "$w" = 1024 ] && [ "$h" = 768 ] || fail "the unavailable mode gave a ${w}x${h} window, not 1024x768"
log_has "The selected mode is not available" || fail "log.txt does not say the mode is not available"
sleep 3
shot unavailable-mode-window > /dev/null
stop_game
grep -qx "fullscreen 1" "$TREE/gamesettings.txt" || fail "the player's full-screen choice was changed"

# Without a complete settings file the game ends before opening a window, saying why.
write_settings
sed -i '/^shadows /d' "$TREE/gamesettings.txt"
rm -f "$TREE/bin/log.txt"
set +e
(cd "$TREE/bin" && ./zephyrace > "$WORK/out.txt" 2> "$WORK/err.txt")
rc=$?
set -e
[ "$rc" = 255 ] || fail "exit code $rc with an incomplete settings file, expected 255 (-1)"
grep -q "gamesettings.txt" "$WORK/err.txt" || fail "stderr does not name the settings file"
log_has "12 of the 13 settings read" || fail "log.txt does not say what is wrong"
echo "startup ok"
