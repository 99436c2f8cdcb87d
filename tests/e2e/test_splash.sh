#!/usr/bin/env bash
# The splash window comes before the game window, centred, by its class and title; it closes by itself after
# three seconds, at once on a key or a right click, and not on a left click beside the donation button; then
# the intro movie plays. The button opens the support page shipped in the game tree and ends the program, even
# where no page opener exists. (A damaged bitmap refused: the unit test Splash.PictureLoadsAndDamagedOnes...)
source "$(dirname "$0")/lib.sh"
make_tree intro
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

# 2. A key closes it at once. Then the intro movie plays once in the game window before the game's frames, at
# its own pace, and its sound track is heard through the game's OpenAL device with it. (Where the full-screen
# form places the movie is a unit test of IntroMovieRect; damaged movies are fuzz_movie's; a missing one is most
# tests' start.) In the game window, frames (each with a band of (200, 40, 160) along its bottom) that differ,
# for about the movie's four seconds, then never again. Raw shots for 14 s, looked at afterwards in one pass, so
# that a busy machine's slow screenshots widen what is known instead of missing the movie: it began after the
# key and the last shot without it, ended before the first shot after it, and lasted at least from the first
# shot with it to the last.
capture "$WORK/movie.wav"
open_splash "${CAPTURE_ENV[@]}"
before=$(now_ms)
xdotool key space
sleep 0.7
splash_gone || fail "a key press did not close the splash"
wait_window Zephyrace 10 > /dev/null
n=0; end=$((SECONDS + 14)); tb=(); ta=()
while [ "$SECONDS" -lt "$end" ]; do
  n=$((n + 1)); tb[$n]=$(now_ms); import -window root "$WORK/game-$n.ppm"; ta[$n]=$(now_ms); sleep 0.1
done
first=; last=; after=; shots=(); i=0
while read -r colour; do
  i=$((i + 1))
  if near "$colour" 200 40 160 30; then
    [ -z "$first" ] && first=${ta[$i]}
    last=${tb[$i]}; shots+=("$WORK/game-$i.ppm")
  elif [ -n "$first" ]; then
    after=${ta[$i]}
    break
  else
    before=${tb[$i]}
  fi
done < <(convert $(seq -f "$WORK/game-%g.ppm[1x1+512+750]" "$n") \
  -format "%[fx:int(255*p{0,0}.r)] %[fx:int(255*p{0,0}.g)] %[fx:int(255*p{0,0}.b)]\n" info:)
[ "${#shots[@]}" -ge 2 ] && [ -n "$after" ] || fail "the movie was seen in ${#shots[@]} of $n shots, its end in none"
convert "${shots[1]}" "$SHOTS/movie.png"
[ "$(changed_pixels "${shots[0]}" "${shots[-1]}" 0)" -gt 1000 ] || fail "the movie's frames do not change"
[ $((last - first)) -le 5000 ] && [ $((after - before)) -ge 3000 ] ||
  fail "the movie showed for $((last - first)) to $((after - before)) ms, not about 4 s"
sleep 1
f=$(shot after)
near "$(pixel "$f" 512 750)" 200 40 160 30 && fail "the movie is still showing after it ended"
kill -0 "$GAME_PID" || fail "the game ended after the movie"
log_has "Failed playback of movie" && fail "the good movie was reported as failed"
stop_all
# The capture starts as the device opens, just before the movie. The sound track's pad is heard from the first
# picture and its chime (high-pitched, so it stands out in the high-passed levels) with the name, 1.2 s later.
first() { "$BUILD_DIR/tests/wavlevels" "$WAV" 0.05 $1 | awk -v l="$2" '$2 > l && t == "" {t = $1} END {print t}'; }
pad=$(first "" 0.0005)
chime=$(first high 0.012)
holds "c - p > 1.05 && c - p < 1.35" p="$pad" c="$chime" || fail "the chime came $pad to $chime s into the sound"

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

