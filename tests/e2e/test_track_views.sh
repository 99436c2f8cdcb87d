#!/usr/bin/env bash
# The start view of every track, drawn as the race draws it: never black, never one flat colour.
source "$(dirname "$0")/lib.sh"
make_tree
start_x
(cd "$TREE/bin" && "$BUILD_DIR/tests/trackview" "$WORK/track" 1 24) || fail "trackview failed"
for i in $(seq 1 24); do
  convert "$WORK/track$i.ppm" "$SHOTS/track$i.png"
  read -r mean spread < <(convert "$SHOTS/track$i.png" -colorspace gray -format "%[fx:int(255*mean)] %[fx:int(255*standard_deviation)]\n" info:)
  [ "$mean" -ge 40 ] || fail "track $i's start view is too dark (mean $mean)"
  [ "$spread" -ge 12 ] || fail "track $i's start view is flat (spread $spread)"
done
[ ! -s "$TREE/bin/log.txt" ] || fail "drawing the tracks logged problems"
echo "track views ok"
