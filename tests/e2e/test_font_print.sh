#!/usr/bin/env bash
# CBitmapFont in a real GL window: baseline position, colours read on every Print, clipping at the window,
# bytes outside 32..127, and a visibly bold weight 700 (the checks live in tests/tools/font_probe.cpp).
source "$(dirname "$0")/lib.sh"
make_tree
start_x 640x480x24
out=$("$BUILD_DIR/tests/font_probe" "$TREE/hudFont.ttf" 2>&1) || { echo "$out"; fail "font_probe failed"; }
echo "$out"
