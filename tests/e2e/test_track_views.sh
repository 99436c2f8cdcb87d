#!/usr/bin/env bash
# The start view of every track, drawn as the race draws it, and its card: never black, never one flat colour;
# and with "Shadows and lighting" off (no lamps) at least half as bright as with it on.
source "$(dirname "$0")/lib.sh"
make_tree
start_x
(cd "$TREE/bin" && "$BUILD_DIR/tests/trackview" "$WORK/track" 1 24 &&
  "$BUILD_DIR/tests/trackview" "$WORK/unlit" 1 24 off) || fail "trackview failed"
# lit PICTURE MEAN SPREAD: the picture's brightness (0..255) reaches MEAN on average and SPREAD in deviation.
lit() {
  read -r mean spread < <(convert "$1" -colorspace gray \
    -format "%[fx:int(255*mean)] %[fx:int(255*standard_deviation)]\n" info:)
  [ "$mean" -ge "$2" ] && [ "$spread" -ge "$3" ] || fail "$(basename "$1") is dark or flat (mean $mean, spread $spread)"
}
mean() { convert "$1" -colorspace gray -format "%[fx:255*mean]" info:; }
for i in $(seq 1 24); do
  convert "$WORK/track$i.ppm" "$SHOTS/track$i.png"
  convert "$WORK/unlit$i.ppm" "$SHOTS/unlit$i.png"
  lit "$SHOTS/track$i.png" 40 12
  lit "$TREE/Textures/track$i.jpg" 30 10
  on=$(mean "$SHOTS/track$i.png") off=$(mean "$SHOTS/unlit$i.png")
  holds "off >= on / 2" on="$on" off="$off" || fail "track $i with lighting off is too dark: mean $off against $on lit"
  convert "$SHOTS/track$i.png" -resize '16x12!' "$WORK/start$i.ppm"
  convert "$TREE/Textures/track$i.jpg" -resize '16x12!' "$WORK/card$i.ppm"
done
[ ! -s "$TREE/bin/log.txt" ] || fail "drawing the tracks logged problems"
# No two tracks look alike from their start or on their card: shrunk to 16 x 12, every pair differs by a root
# mean square of at least 7 % (tracks that shared one look differed by 4 to 6 %).
for kind in card start; do
  for i in $(seq 1 24); do
    for j in $(seq $((i + 1)) 24); do
      d=$({ compare -metric RMSE "$WORK/$kind$i.ppm" "$WORK/$kind$j.ppm" null: 2>&1 || true; } | sed 's/.*(\(.*\))/\1/')
      holds "d >= 0.07" d="$d" || fail "the ${kind}s of tracks $i and $j look alike ($d)"
    done
  done
done
# Every card and every start view at a glance, six by four, to be looked at.
montage "$TREE/Textures/track"{1..24}.jpg -tile 6x4 -geometry 256x192+2+2 "$SHOTS/cards.png"
montage "$SHOTS/track"{1..24}.png -tile 6x4 -geometry 256x192+2+2 "$SHOTS/starts.png"
