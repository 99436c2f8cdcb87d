#!/usr/bin/env bash
# The intro movie plays once in the game window before the game's frames, at its own pace, and its sound track
# is heard through the game's OpenAL device with it; a damaged movie is logged and skipped and the
# game goes on. (Where the full-screen form places the movie is a unit test of IntroMovieRect.)
source "$(dirname "$0")/lib.sh"
make_tree
start_x 1024x768x24
skip_splash

# Every frame of the movie carries a band of (200, 40, 160) along its bottom.
band_at() { near "$(pixel "$1" "$2" "$3")" 200 40 160 30; }

# 1. In the game window: frames that differ, for about the movie's four seconds, then never again; the sound
# goes to a wave file, closed when the main menu's Exit item ends the game.
capture "$WORK/movie.wav"
# A screenshot is taken some time between the readings of the clock before and after it, however slow a busy
# machine makes it: the movie began after the last shot without it (or the start) and ended before the first
# shot after it, and it lasted at least from the first shot with it to the last.
before=$(now_ms)
start_game "${CAPTURE_ENV[@]}"
wait_window Zephyrace 15 > /dev/null
first=; last=; after=; shots=()
for i in $(seq 60); do
  t=$(now_ms)
  f=$(shot "game-$i")
  if band_at "$f" 512 750; then
    [ -z "$first" ] && first=$(now_ms)
    last=$t; shots+=("$f")
  elif [ -n "$first" ]; then
    after=$(now_ms)
    break
  else
    before=$t
  fi
  sleep 0.2
done
[ "${#shots[@]}" -ge 3 ] && [ -n "$after" ] || fail "the movie was seen in ${#shots[@]} screenshots"
cp "${shots[1]}" "$SHOTS/movie.png"
[ "$(changed_pixels "${shots[0]}" "${shots[-1]}" 0)" -gt 1000 ] || fail "the movie's frames do not change"
echo "the movie showed for $((last - first)) to $((after - before)) ms"
[ $((last - first)) -le 5000 ] && [ $((after - before)) -ge 3000 ] || fail "the movie did not show for about 4 s"
sleep 1
f=$(shot after)
band_at "$f" 512 750 && fail "the movie is still showing after it ended"
kill -0 "$GAME_PID" || fail "the game ended after the movie"
log_has "Failed playback of movie" && fail "the good movie was reported as failed"
keys Escape Down Up Up
xdotool key Return
expect_exit "the Exit item"
cp "$WAV" "$SHOTS/movie.wav"
# The capture starts as the device opens, just before the movie. The sound track's pad starts with the first
# picture and its chime (high-pitched, so it stands out in the high-passed levels) with the name, 1.2 s later.
holds "x > 0.005" x="$(loudest "$WAV" 0.25 0.5 3.5)" || fail "the movie's sound track is not heard"
first() { "$BUILD_DIR/tests/wavlevels" "$WAV" 0.05 $1 | awk -v l="$2" '$2 > l && t == "" {t = $1} END {print t}'; }
pad=$(first "" 0.0005)
chime=$(first high 0.012)
echo "sound track from $pad s, chime at $chime s"
holds "c - p > 1.05 && c - p < 1.35" p="$pad" c="$chime" || fail "the chime came $pad to $chime s into the sound"

# 2. Damaged and cut-off movies. (A missing one is every skip_intro test's start.)
rm "$TREE/nimbrellogo.avi"
for case in garbage header-only cut; do
  rm -f "$TREE/bin/log.txt"
  case $case in
    garbage) head -c 200000 /dev/urandom > "$TREE/nimbrellogo.avi" ;;
    header-only) head -c 600 "$GAME_DIR/nimbrellogo.avi" > "$TREE/nimbrellogo.avi" ;;
    cut) head -c 150000 "$GAME_DIR/nimbrellogo.avi" > "$TREE/nimbrellogo.avi" ;;
  esac
  start_game
  wait_window Zephyrace 15 > /dev/null
  sleep 2
  kill -0 "$GAME_PID" || fail "the game ended with a $case movie"
  if [ "$case" = cut ]; then
    log_has "Failed playback of movie" && fail "a cut-off movie that has frames was reported as failed"
  else
    log_has "Failed playback of movie" || fail "no log line for a $case movie"
  fi
  stop_game
done
echo "intro movie ok"
