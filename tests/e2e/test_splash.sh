#!/usr/bin/env bash
# The splash window comes before the game window, centred, by its class and title; it closes by itself after
# three seconds, at once on a key or a right click, and not on a left click beside the donation button. The
# button opens the support page shipped in the game tree and ends the program, even where no page opener
# exists. (A damaged bitmap refused: the unit test Splash.PictureLoadsAndDamagedOnesAreRefused.)
source "$(dirname "$0")/lib.sh"
make_tree
start_x 1024x768x24

mkdir -p "$WORK/fakebin"
printf '#!/bin/sh\necho "$1" > "%s/opened.txt"\n' "$WORK" > "$WORK/fakebin/xdg-open"
chmod +x "$WORK/fakebin/xdg-open"

splash_gone() { ! xdotool search --class '^SplashScreen$' > /dev/null 2>&1; }
# stop_all: ends the game and waits until the server has dropped its windows, so none is found twice.
stop_all() {
  stop_game
  for _ in $(seq 50); do
    splash_gone && ! xdotool search --name '^Zephyrace$' > /dev/null 2>&1 && return 0
    sleep 0.05
  done
}
# open_splash [ENV...]: the game started, its splash window's id in id once it shows.
open_splash() {
  start_game "$@"
  id=$(wait_splash)
  sleep 0.3
}

# 1. Class, title, place and picture, before the game window; then the timer closes it. The splash was mapped
# after the last look that missed it (or the start) and closed before the first look that found it gone.
before=$(now_ms)
start_game
for _ in $(seq 200); do
  t=$(now_ms)
  id=$(xdotool search --class '^SplashScreen$' 2>/dev/null | head -n1 || true)
  [ -n "$id" ] && break
  before=$t
  sleep 0.05
done
[ -n "$id" ] || fail "no splash window appeared"
seen=$(now_ms)
[ "$(xdotool search --name '^ZephyraceSplash$' | head -n1)" = "$id" ] || fail "the splash window is not titled ZephyraceSplash"
xdotool search --name '^Zephyrace$' > /dev/null 2>&1 && fail "the game window exists while the splash shows"
read -r x y w h < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
  /Width:/ {w = $NF} /Height:/ {h = $NF} END {print x, y, w, h}')
[ "$w $h" = "400 260" ] || fail "splash is ${w}x${h}, not the bitmap's 400x260"
[ "$x $y" = "312 254" ] || fail "splash is at $x,$y, not centred at 312,254"
sleep 0.3
f=$(shot splash)
# The donation button's orange face and the title's yellow, unscaled.
near "$(pixel "$f" $((x + 120)) $((y + 105)))" 230 110 30 20 || fail "no donation button at its place"
near "$(pixel "$f" $((x + 72)) $((y + 22)))" 255 230 120 30 || fail "no title on the splash"
while t=$(now_ms); ! splash_gone; do
  [ $((t - seen)) -lt 6000 ] || fail "the splash did not close by itself"
  sleep 0.05
done
shown=$(($(now_ms) - before))
[ "$shown" -ge 2900 ] || fail "the splash closed within ${shown} ms without input"
wait_window Zephyrace > /dev/null
stop_all

# 2. A key closes it at once.
open_splash
xdotool key space
sleep 0.7
splash_gone || fail "a key press did not close the splash"
wait_window Zephyrace 10 > /dev/null
stop_all

# 3. A right click closes it; left clicks just beside the button do nothing.
open_splash
xdotool mousemove --window "$id" 59 72 click 1
xdotool mousemove --window "$id" 189 113 click 1
sleep 0.5
splash_gone && fail "a left click beside the donation button closed the splash"
xdotool mousemove --window "$id" 200 200 click 3
sleep 0.7
splash_gone || fail "a right click did not close the splash"
stop_all

# 4. The button's corners open the page and end the program with 0.
for corner in "60 72" "188 113"; do
  rm -f "$WORK/opened.txt"
  open_splash PATH="$WORK/fakebin:$PATH"
  xdotool mousemove --window "$id" $corner click 1
  expect_exit "the donation button"
  stop_all
  for _ in $(seq 20); do [ -s "$WORK/opened.txt" ] && break; sleep 0.1; done
  [ "$(cat "$WORK/opened.txt")" = "$(realpath "$TREE/support.html")" ] || fail "the support page was not opened at $corner"
done
# The page says what the game is, how to help, and whose work is in it under which licence.
for text in "single-player 3D racing game" "How to support" "Froyo Tam" "SIL Open Font License 1.1" "libjpeg-turbo"; do
  grep -qF "$text" "$TREE/support.html" || fail "the support page lacks \"$text\""
done
! grep -qiE "example\.(com|org)|https?://" "$TREE/support.html" || fail "the support page names an address"

# 5. Without any page opener the button still ends the program cleanly, saying why.
open_splash PATH=/nonexistent
xdotool mousemove --window "$id" 100 90 click 1
expect_exit "without xdg-open the donation button"
log_has "xdg-open failed to start" || fail "no log line for the missing page opener"

