#!/usr/bin/env bash
# The game intro plays its fly-by with captions over the moving scene and the skip hint. (Esc skipping it into
# the main menu, without the hint: test_journey.)
source "$(dirname "$0")/lib.sh"
make_tree
start_x
start_game
wait_window Zephyrace > /dev/null

hint_shown() { [ "$(hint_pixels "$1")" -gt 25 ]; }
wait_for intro-start 90 hint_shown > /dev/null

# The camera moves: shots a second apart differ over most of the picture; captions come and go. The shots
# are taken first and looked at afterwards.
# The intro lasts 34 s; on a loaded machine screenshots are slow, so only the first 26 s are photographed.
started=$SECONDS
shots=0
for i in $(seq 1 8); do
  sleep 1
  [ $((SECONDS - started)) -lt 26 ] || break
  shot "intro-$i" > /dev/null
  shots=$i
done
[ "$shots" -ge 4 ] || fail "only $shots intro shots could be taken in time"
kill -0 "$GAME_PID" || fail "the game ended during the intro"
prev="$SHOTS/intro-start.png"
captions=0
for i in $(seq 1 "$shots"); do
  f="$SHOTS/intro-$i.png"
  changed=$({ compare -metric AE -fuzz 3% -crop 1024x700+0+0 "$prev" "$f" null: 2>&1 || true; } | awk '{print int($1)}')
  [ "$changed" -gt 20000 ] || fail "the picture hardly changed between intro shots $((i - 1)) and $i ($changed pixels)"
  # Captions are drawn in (0.8, 0.8, 1) and the title in (0.7, 0.7, 1).
  c=$(count "$f" 1024x700+0+0 204 204 255 4)
  t=$(count "$f" 1024x700+0+0 178 178 255 4)
  echo "shot $i: $changed pixels changed, caption pixels $c, title pixels $t"
  [ "$c" -gt 150 ] && captions=$((captions + 1))
  [ "$t" -gt 300 ] || fail "the title is missing in intro shot $i"
  hint_shown "$f" || fail "the skip hint is missing in intro shot $i"
  prev=$f
done
[ "$captions" -ge 2 ] || fail "captions showed in only $captions of $shots shots"
echo "game intro ok"
