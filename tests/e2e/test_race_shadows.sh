#!/usr/bin/env bash
# The start of a race of track 1, once with shadows 0 and once with shadows 1, both from the same place.
# With shadows the first boulder casts its shadow on the floor beside it; the plain frame has none there.
# (One-sided against two-sided stencil is compared by test_shadow_volumes, where the choice is the viewer's.)
source "$(dirname "$0")/lib.sh"
make_tree
skip_intro
# Without its fog the track shows the same colours near and far in both frames (the shadowed frame fogs
# only its translucent pass), so whatever turns darker is shadow.
own_scripts
sed -i '/^BEGINFOG/,/^ENDFOG/d' "$TREE/Scripts/track1.txt"
start_x
xdotool mousemove 512 384

# race NAME: the race start of track 1 as $SHOTS/NAME.png, the game stopped again.
race() {
  local name=$1
  rm -f "$TREE/bin/log.txt"
  start_tool race_window
  wait_window Zephyrace > /dev/null
  # The race is on once the scene stops changing (the loading bar is gone and the camera is placed); the
  # HUD's running clock at the top and its instrument strip at the bottom are left out of the comparison.
  local previous= i f
  for i in $(seq 60); do
    sleep 0.5
    f=$(shot "$name")
    convert "$f" -crop 1024x520+0+90 +repage "$WORK/scene.png"
    if [ -n "$previous" ] && [ "$(changed_pixels "$WORK/scene.png" "$previous" 0)" = 0 ] &&
       ! loading_bar "$f"; then
      break
    fi
    cp "$WORK/scene.png" "$WORK/previous.png"
    previous="$WORK/previous.png"
  done
  kill -0 "$GAME_PID" 2>/dev/null || fail "the game died in race $name"
  cp "$TREE/bin/log.txt" "$WORK/$name-log.txt"
  stop_game
}

write_settings shadows 0
race plain
write_settings shadows 1
race shadowed
grep -q "Compilation of\|Failed to link\|Failed to open .*\.\(vert\|frag\)" "$WORK/shadowed-log.txt" &&
  fail "shader trouble: $(cat "$WORK/shadowed-log.txt")"

bright() { brightness "$SHOTS/$1.png" "$2"; }  # NAME CROP

# The camera starts at (0, 3, 0) looking down -z with a 60 degree view. The first boulder stands at
# x -7.4, z -40, 3 high; the sun (0.8, 0.7, 0.2) lays its shadow on the floor towards -x: from x -9 to -12.4
# around z -41, which the view puts within pixels 311..366 across and 419..424 down; the boulder itself
# hides the part nearest to it, so the crop takes the middle of what shows. Further right, the floor in
# front of the boulder is in the sun.
shade=10x4+347+419
sunny=30x4+420+432
for name in plain shadowed; do
  echo "$name: boulder shadow $(bright $name $shade), open floor $(bright $name $sunny)"
done
holds "s < 0.7 * o" s="$(bright shadowed $shade)" o="$(bright shadowed $sunny)" ||
  fail "no shadow beside the boulder"
holds "s > 0.85 * o" s="$(bright plain $shade)" o="$(bright plain $sunny)" ||
  fail "the plain frame is dark beside the boulder"
holds "b < 0.75 * a" a="$(bright plain $shade)" b="$(bright shadowed $shade)" ||
  fail "the shadowed frame is not darker where the shadow falls"
echo "race shadows ok"
