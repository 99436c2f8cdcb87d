#!/usr/bin/env bash
# The loading screen writes "LOADING" in the private "Beware" face, 40 pixels high, in (0.7, 0.7, 1.0): the
# screenshot matches a reference drawn from the same face pixel for pixel. Without the font file the game logs
# one line and still writes the text in a sans face.
source "$(dirname "$0")/lib.sh"
make_tree
skip_intro
start_x

# Window 1024x768: the text starts at (1024/2 - 112, 768/2 + 40) from the lower-left corner, so its glyphs lie
# within rows 290..365 from the top, clear of the progress bar (rows 373..394).
CROP=1024x76+0+290

# text_mask SHOT OUT: the pixels of the text colour in the text rows, as a black and white image.
text_mask() {
  convert "$1" -crop "$CROP" +repage -fill white -fuzz 6% -opaque "rgb(178,178,255)" \
    -fill black +opaque white -colorspace Gray "$2"
}

reference() { # OUT FONTFILE FACE
  "$BUILD_DIR/tests/text_reference" "$WORK/ref.pgm" 1024 768 "$2" "$3" 40 400 400 424 LOADING 2>> "$WORK/ref.log" ||
    fail "text_reference failed"
  convert "$WORK/ref.pgm" -crop "$CROP" +repage -colorspace Gray "$1"
}

start_game LD_PRELOAD="$BUILD_DIR/tests/libslowswap.so" E2E_SWAP_DELAY_MS=400
wait_window Zephyrace > /dev/null
loading_shot loading
stop_game
text_mask "$SHOTS/loading.png" "$WORK/shot-mask.png"
cp "$WORK/shot-mask.png" "$SHOTS/loading-text-mask.png"

reference "$WORK/beware.png" "$TREE/hudFont.ttf" Beware
reference "$WORK/sans.png" - Arial
ref_pixels=$(set_pixels "$WORK/beware.png")
[ "$ref_pixels" -gt 800 ] || fail "the reference text has only $ref_pixels pixels"
d_beware=$(changed_pixels "$WORK/shot-mask.png" "$WORK/beware.png" 0)
d_sans=$(changed_pixels "$WORK/shot-mask.png" "$WORK/sans.png" 0)
echo "text pixels $ref_pixels; differing from Beware $d_beware, from Arial $d_sans"
[ "$d_beware" -le $((ref_pixels / 50)) ] || fail "LOADING differs from the Beware reference in $d_beware pixels"
[ "$d_sans" -gt $((ref_pixels / 4)) ] || fail "the comparison cannot tell Beware from Arial"

# No font file: one log line, and the text still appears in the fallback face.
rm -f "$TREE/hudFont.ttf" "$TREE/bin/log.txt"
start_game LD_PRELOAD="$BUILD_DIR/tests/libslowswap.so" E2E_SWAP_DELAY_MS=400
wait_window Zephyrace > /dev/null
loading_shot loading-nofont
stop_game
[ "$(grep -c 'hudFont.ttf' "$TREE/bin/log.txt")" = 1 ] || fail "the missing font file is not logged exactly once"
text_mask "$SHOTS/loading-nofont.png" "$WORK/nofont-mask.png"
fallback_pixels=$(set_pixels "$WORK/nofont-mask.png")
[ "$fallback_pixels" -gt 300 ] || fail "without the font file LOADING is not drawn ($fallback_pixels pixels)"
echo "loading text ok"
