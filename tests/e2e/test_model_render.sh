#!/usr/bin/env bash
# A generated model with JPEG and BMP textures, written and read back through the game's loaders, drawn by
# RenderModel through the point-light shaders in a real window: each light colours its patch of the wall,
# the cut-out panel shows green where its picture is opaque and the lit wall where it is colour-keyed, and
# the far corners stay dark.
source "$(dirname "$0")/lib.sh"
TREE="$WORK/tree"
mkdir -p "$TREE/bin"
cp "$SOURCE_DIR"/shaders/* "$TREE/bin/"
start_x 640x480x24
(cd "$TREE/bin" && exec "$BUILD_DIR/tests/modelviewer" > "$WORK/viewer.txt" 2> "$WORK/viewer.err") &
GAME_PID=$!
for _ in $(seq 100); do
  grep -q "frame drawn" "$WORK/viewer.txt" 2>/dev/null && break
  kill -0 "$GAME_PID" 2>/dev/null || { cat "$WORK/viewer.err" >&2; fail "the viewer exited"; }
  sleep 0.1
done
grep -q "frame drawn" "$WORK/viewer.txt" || fail "no frame was drawn"
sleep 0.5
f=$(shot model)

# expect WHAT X Y R G B: the pixel (from the top left) is within 6 of the hand-worked colour.
expect() {
  local c
  c=$(pixel "$f" "$2" "$3")
  near "$c" "$4" "$5" "$6" 6 || fail "$1 at ($2, $3) is ($c), expected ($4 $5 $6)"
}

# Seen from (0, 0, 10) the wall (z = 0) maps x = 320 + 41.6 wx, y = 240 - 41.6 wy, the panel (z = 0.5)
# 43.8 pixels a unit. A light of range r at distance d and cosine c adds 255 c / (1 + d / r) of its colour.
# Wall (-4, 0): red light 1.5 straight ahead: 170; white light d 5.39, c 0.37: 40; blue d 8.14, c 0.18: 13.
expect "the red light's patch" 154 240 210 40 53
expect "the blue light's patch" 486 240 53 40 210
# Panel (-0.46, 2.92): the white light at d 1.57, c 0.955 on green; the red and blue light have no green.
expect "the panel's opaque half" 300 112 0 175 0
# Through the keyed half, the wall at (0.48, 3.08): white 164, red 24, blue 29.
expect "the wall through the panel's keyed half" 340 112 188 164 193
# Wall corner (-7.21, -5.29): red 19, white 12, blue 6.
expect "a far corner" 20 460 31 12 18
grep -q "Failed\|failed" "$TREE/bin/log.txt" 2>/dev/null && fail "the log reports a failure"
echo "model render ok"
