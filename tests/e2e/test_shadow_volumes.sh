#!/usr/bin/env bash
# Stencil shadows of a generated scene: the plain picture against the shadowed ones. Where the scene's
# geometry puts a shadow the shadowed picture is darker and the plain one is not; everywhere else they
# agree; one-sided and two-sided stencil give the same picture, and so do the two techniques.
source "$(dirname "$0")/lib.sh"
TREE="$WORK"
VIEW="$BUILD_DIR/tests/shadowview"
start_x 640x480x24
cp "$GAME_DIR"/bin/*.vert "$GAME_DIR"/bin/*.frag "$WORK/"  # the viewer runs where the game's shaders lie

# render NAME TECHNIQUE SIDES VIEW: the picture as $SHOTS/$light-NAME.png, its probes in $WORK/$light-NAME.txt
render() {
  local name="$light-$1"
  (cd "$WORK" && "$VIEW" "$WORK/$name.ppm" "$2" "$3" "$4" "$light" > "$WORK/$name.txt") ||
    fail "shadowview $2 $3 $4 $light failed"
  convert "$WORK/$name.ppm" "$SHOTS/$name.png"
}
rgb_sum() { local -a c=($1); echo $((c[0] + c[1] + c[2])); }
differing() { compare -metric AE -fuzz 2% "$SHOTS/$light-$1.png" "$SHOTS/$light-$2.png" null: 2>&1 || true; }

for light in sun lamp; do
  for v in "plain plain two" "zfail-two zfail two" "zfail-one zfail one" "zpp-two zpp two" "zpp-one zpp one"; do
    render $v outside
  done
  # From inside a shadow volume the near plane lies in shadow: depth-fail counting and the near-plane caps
  # of depth-pass counting must agree there too.
  for v in "inside-zfail zfail two" "inside-zpp zpp two" "inside-zpp-one zpp one"; do render $v inside; done

  ground=
  while read -r kind x y; do
    plain=$(rgb_sum "$(pixel "$SHOTS/$light-plain.png" "$x" "$y")")
    shadowed=$(rgb_sum "$(pixel "$SHOTS/$light-zfail-two.png" "$x" "$y")")
    case $kind in
      shadow) [ "$shadowed" -lt $((plain - 60)) ] || fail "no shadow at $x,$y ($plain -> $shadowed)" ;;
      lit) [ "$shadowed" -ge $((plain - 6)) ] && [ "$shadowed" -le $((plain + 6)) ] ||
             fail "light changed at $x,$y ($plain -> $shadowed)" ;;
    esac
    # The plain picture shows the ground alike everywhere, shadow or not.
    [ -z "$ground" ] && ground=$plain
    [ "$plain" -ge $((ground - 6)) ] && [ "$plain" -le $((ground + 6)) ] || fail "the plain picture is dark at $x,$y"
  done < "$WORK/$light-zfail-two.txt"

  total=$((400 * 300))
  shaded=$(differing plain zfail-two)
  [ "$shaded" -gt $((total / 100)) ] || fail "$light: the shadows cover only $shaded pixels"
  # PICTURE REFERENCE SHARE: at most that share of the pixels differ.
  for pair in "zfail-one zfail-two 1000" "zpp-two zfail-two 1000" "zpp-one zfail-two 1000" \
              "inside-zpp inside-zfail 200" "inside-zpp-one inside-zfail 200"; do
    read -r a b share <<<"$pair"
    n=$(differing "$a" "$b")
    [ "$n" -le $((total / share)) ] || fail "$light: $a and $b differ in $n pixels"
  done
done
! grep -q "Failed\|failed" "$WORK/log.txt" 2>/dev/null || fail "shader problems: $(cat "$WORK/log.txt")"
