#!/usr/bin/env bash
# Track 1 from the race start as the game draws it (lit rather than flat or black, under the sky), shadows 1
# against 0, and private variants of its script: a lamp on the sunlit floor, two shadow-casting lamps in place
# of the sun, and a low sun ahead, hidden by a canyon wall or in clear view through the glass roof. (One-sided
# against two-sided stencil: test_shadow_volumes; the race in motion: test_gamepad.)
source "$(dirname "$0")/lib.sh"
make_tree
own_scripts
cp "$TREE/Scripts/track1.txt" "$WORK/track1.txt"
start_x
xdotool mousemove 512 384

# track SED-ARGS...: track 1's script is the generated one edited so.
track() { sed "$@" "$WORK/track1.txt" > "$TREE/Scripts/track1.txt"; }
# race NAME [STILL]: the race start of track 1 as $SHOTS/NAME.png once the crop STILL of the screen (the
# scene without the HUD's running clock and instruments unless told) stops changing; the game stopped again.
race() {
  local name=$1 still=${2:-1024x520+0+90}
  rm -f "$TREE/bin/log.txt"
  open_game RACE_STILL=1 LD_PRELOAD="$BUILD_DIR/tests/libautopilot.so"
  local i f
  for i in $(seq 60); do
    sleep 0.5
    f=$(shot "$name")
    convert "$f" -crop "$still" +repage "$WORK/scene-$i.png"
    [ "$i" -gt 1 ] && [ "$(changed_pixels "$WORK/scene-$i.png" "$WORK/scene-$((i - 1)).png" 0)" = 0 ] &&
      ! loading_bar "$f" && break
  done
  kill -0 "$GAME_PID" 2>/dev/null || fail "the game died in race $name"
  ! grep -q "Compilation of\|Failed to link\|Failed to open .*\.\(vert\|frag\)" "$TREE/bin/log.txt" || fail "shader trouble in $name"
  stop_game
}
bright() { brightness "$SHOTS/$1.png" "$2"; }  # NAME CROP

# 1. The generated track, shadows 0 and 1. The camera starts at (0, 3, 0) looking down -z. The first boulder
# (x -7.4, z -40, 3 high) lays its sun shadow on the floor towards -x, within pixels 347..357 across and
# 419..423 down; the floor in front of it is in the sun. The canyon bends out of sight from there, so the fog
# is looked for from (16.3, 12, -120) heading 11 degrees, down the longest sight line through the bends (some
# 250 units, past the far plane): the middle of that picture is fog.
track -e ''
write_settings shadows 0
race plain
write_settings shadows 1
race shadowed
down_bend=(-e 's/^POSITION 0.000000 2.000000 0.000000/POSITION 16.32 11 -120/' -e 's/^HEADING .*/HEADING 11/')
track "${down_bend[@]}"
race far_shadowed
write_settings shadows 0
race far_plain
write_settings shadows 1
# The plain frame is a lit scene: sunny and shaded faces, the sky (top middle, below the HUD's timer) bluer
# than the sand floor (above the HUD's strip), and the sun to the right (east), so the left wall, facing it,
# brighter than the right one.
read -r mean sd <<<"$(convert "$SHOTS/plain.png" -colorspace Gray -format "%[fx:mean] %[fx:standard_deviation]" info:)"
read -r sr _ sb <<<"$(pixel "$SHOTS/plain.png" 512 120)"
read -r fr _ fb <<<"$(pixel "$SHOTS/plain.png" 512 560)"
left=$(bright plain 40x40+80+180)
right=$(bright plain 40x40+904+180)
holds "m > 0.15 && m < 0.9 && s > 0.06" m="$mean" s="$sd" || fail "the race start is not a lit scene ($mean, $sd)"
[ $((sb - sr)) -gt $((fb - fr)) ] || fail "sky and floor are not told apart ($sr $sb, $fr $fb)"
holds "l > 1.3 * r" l="$left" r="$right" || fail "the walls are not lit from one side ($left, $right)"
shade=10x4+347+419
sunny=30x4+420+432
far=60x8+482+386
read -r fr fg fb < <(sed -n 's/^COLOR //p' "$WORK/track1.txt" | sed -n '$p')  # the fog block's, the last COLOR
for name in plain shadowed; do
  read -r r g b < <(convert "$SHOTS/far_$name.png" -crop $far +repage -scale 1x1! -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]\n' info:)
  holds "(r - 255 * fr) ^ 2 + (g - 255 * fg) ^ 2 + (b - 255 * fb) ^ 2 < 24 ^ 2" r=$r g=$g b=$b fr=$fr fg=$fg fb=$fb ||
    fail "$name: far down the canyon is ($r, $g, $b), not the fog ($fr $fg $fb)"
done
holds "s < 0.7 * o" s="$(bright shadowed $shade)" o="$(bright shadowed $sunny)" || fail "no shadow beside the boulder"
holds "s > 0.85 * o" s="$(bright plain $shade)" o="$(bright plain $sunny)" || fail "the plain frame is dark beside the boulder"

# 2. A white lamp 5 units in front of the right wall, which faces away from the sun yet lies outside every
# shadow; the view puts the wall at (14, 8, -25) at pixel (884, 251).
track -e '/^AMBIENTLIGHT/a BEGINLIGHT\nPOSITION 9 8 -25\nCOLOR 1 1 1\nRANGE 20\nSHADOWSENABLED 0\nENDLIGHT'
race lamp
wall=60x60+854+221
holds "l > s + 0.05" l="$(bright lamp $wall)" s="$(bright shadowed $wall)" ||
  fail "the lamp does not light the wall ($(bright shadowed $wall) -> $(bright lamp $wall))"
# A black shadow-casting lamp after the sun: its added pass must bring nothing, not the sun's ambient again.
track -e '/^SUN/a BEGINLIGHT\nPOSITION 0 20 -40\nCOLOR 0 0 0\nRANGE 100\nENDLIGHT'
race black
scene=1024x520+0+90
off=$(changed_pixels "$SHOTS/shadowed.png[$scene]" "$SHOTS/black.png[$scene]" 4)
[ "$off" -le 50 ] || fail "a black lamp's pass changes $off pixels"

# 3. No sun and no fog: two white shadow-casting lamps high over the canyon behind the first boulder, each
# alone, both, and neither. Light adds up, so both together must look like each alone added over the unlit
# scene (a lamp whose stencil or depth the other spoils breaks that), and both frames show each lamp's
# shadow: the right lamp's at the boulder's left foot, the left lamp's at its right foot.
lamps() {
  local blocks= p
  for p in "$@"; do blocks+="\nBEGINLIGHT\nPOSITION $p\nCOLOR 0.45 0.45 0.45\nRANGE 200\nENDLIGHT"; done
  track -e '/^SUN/d' -e '/^BEGINFOG/,/^ENDFOG/d' -e '/^BEGINLIGHT/,/^ENDLIGHT/d' \
        -e "s/^AMBIENTLIGHT.*/AMBIENTLIGHT 0.3 0.3 0.3$blocks/"
}
lamps "-14 30 -60" "6 30 -60"; race both
lamps "-14 30 -60"; race left
lamps "6 30 -60"; race right
lamps; race none
convert "$SHOTS/left.png[$scene]" "$SHOTS/right.png[$scene]" "$SHOTS/none.png[$scene]" -fx 'u[0] + u[1] - u[2]' \
  "$WORK/sum.png"
off=$(changed_pixels "$WORK/sum.png" "$SHOTS/both.png[$scene]" 4)
[ "$off" -le 50 ] || fail "two shadow-casting lamps do not add up ($off pixels off)"
open=30x3+420+436
for patch in 20x3+345+423 15x3+395+429; do
  holds "s < o - 0.08" s="$(bright both $patch)" o="$(bright both $open)" ||
    fail "no lamp shadow at $patch ($(bright both $patch), open $(bright both $open))"
done

# 4. Every generated sun puts the flare's occlusion probe (twice the SUN vector out from the eye) beyond the
# far plane, 200 units away. Then a sun as long, low and a little left of straight ahead: from the race start
# the left wall, where the canyon bends right 120 units on, hides it; from just under the glass roof only the
# see-through roof is in front of it. The flare's shines centre on the sun at (454, 326); they cycle, so only
# the left part of the picture is waited on.
awk '/^SUN/ && $2 * $2 + $3 * $3 + $4 * $4 < 100 * 100 {print FILENAME; bad = 1} END {exit bad}' \
  "$GAME_DIR"/Scripts/*.txt || fail "suns too short for the flare's probe"
sun=(-e 's/^SUN.*/SUN -87 87 -992/')
track "${sun[@]}"; race hidden 250x400+0+90
track "${sun[@]}" -e 's/^POSITION 0.000000 2.000000 0.000000/POSITION 0 25 0/'; race glass 250x400+0+90
glow=40x40+434+306
holds "c > h + 0.2" c="$(bright glass $glow)" h="$(bright hidden $glow)" ||
  fail "no flare through the glass roof, or one through the rock ($(bright glass $glow), $(bright hidden $glow))"
