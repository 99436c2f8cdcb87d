#!/usr/bin/env bash
# The intro movie plays once in the game window before the game's frames, at its own pace, and its sound track
# is heard through the game's OpenAL device with it. (Where the full-screen form places the movie is a unit
# test of IntroMovieRect; damaged movies are fuzz_movie's; a missing one is every skip_intro test's start.)
source "$(dirname "$0")/lib.sh"
make_tree
start_x 1024x768x24
skip_splash

# In the game window, frames (each with a band of (200, 40, 160) along its bottom) that differ, for about the
# movie's four seconds, then never again. Raw shots for 14 s, looked at afterwards in one pass, so that a busy
# machine's slow screenshots widen what is known instead of missing the movie: it began after the last shot
# without it (or the start), ended before the first shot after it, and lasted at least from the first shot with
# it to the last.
capture "$WORK/movie.wav"
before=$(now_ms)
open_game "${CAPTURE_ENV[@]}"
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
stop_game
# The capture starts as the device opens, just before the movie. The sound track's pad is heard from the first
# picture and its chime (high-pitched, so it stands out in the high-passed levels) with the name, 1.2 s later.
first() { "$BUILD_DIR/tests/wavlevels" "$WAV" 0.05 $1 | awk -v l="$2" '$2 > l && t == "" {t = $1} END {print t}'; }
pad=$(first "" 0.0005)
chime=$(first high 0.012)
holds "c - p > 1.05 && c - p < 1.35" p="$pad" c="$chime" || fail "the chime came $pad to $chime s into the sound"

