# Helpers for end-to-end tests: a private copy of the game tree, an X server, the game, screenshots.
# Source it from a test script; the test runs with GAME_DIR, BUILD_DIR and SOURCE_DIR set by ctest.
set -euo pipefail

: "${GAME_DIR:?GAME_DIR must name the generated game tree}"
E2E_NAME=$(basename "$0" .sh)
WORK=$(mktemp -d "/tmp/zephyrace-e2e-$E2E_NAME-XXXXXX")
GAME_PID=
XVFB_PID=
# Screenshots stay after the run for a person to look at.
SHOTS="${BUILD_DIR:-/tmp}/e2e-screens/$E2E_NAME"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"

e2e_cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  wait 2>/dev/null || true
  if [ "${KEEP_E2E:-0}" = 1 ]; then echo "kept $WORK"; else rm -rf "$WORK"; fi
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; [ -f "$TREE/bin/log.txt" ] && { echo "--- log.txt" >&2; tail -n 40 "$TREE/bin/log.txt" >&2; }; exit 1; }

# A fresh game tree: content linked read-only from the build, bin and player files private.
make_tree() {
  TREE="$WORK/game"
  mkdir -p "$TREE/bin" "$TREE/Profiles"
  for entry in "$GAME_DIR"/*; do
    name=$(basename "$entry")
    case "$name" in bin|Profiles|gamesettings.txt) ;; *) ln -s "$entry" "$TREE/$name" ;; esac
  done
  cp -a "$GAME_DIR/bin/." "$TREE/bin/"
  # BIN, when set, is the game binary to run in place of the tree's own (the sanitizer build's).
  [ -z "${BIN:-}" ] || cp "$BIN" "$TREE/bin/zephyrace"
  rm -f "$TREE/bin/log.txt"
  write_settings
}

# skip_splash: the tree loses its splash bitmap, so the game starts without the splash's three seconds
# (logging one line). skip_intro also drops the intro movie (one more line, four more seconds saved).
skip_splash() {
  rm "$TREE/Textures"
  mkdir "$TREE/Textures"
  local f
  for f in "$GAME_DIR"/Textures/*; do [ "$(basename "$f")" = splash.bmp ] || ln -s "$f" "$TREE/Textures/"; done
}
skip_intro() {
  skip_splash
  rm -f "$TREE/nimbrellogo.avi"
}

# write_settings [key value]...: the default settings with some values replaced.
write_settings() {
  local -A v=([fullscreen]=0 [screenwidth]=1024 [screenheight]=768 [shadows]=1 [lensflare]=1 [audio_volume]=8
              [key_forward]=97 [key_brake]=122 [key_left]=1100 [key_right]=1102 [key_up]=1101 [key_down]=1103
              [mouse_sensitivity]=3)
  while [ $# -ge 2 ]; do v[$1]=$2; shift 2; done
  : > "$TREE/gamesettings.txt"
  for k in fullscreen screenwidth screenheight shadows lensflare audio_volume key_forward key_brake key_left \
           key_right key_up key_down mouse_sensitivity; do
    echo "$k ${v[$k]}" >> "$TREE/gamesettings.txt"
  done
}

start_x() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    # -noreset: a game started right after the previous one quit must not meet a server in mid-reset.
    Xvfb ":$n" -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset > "$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      # Tests start in parallel: the display counts only when the lock names our server.
      xdpyinfo > /dev/null 2>&1 && [ "$(tr -d ' ' < "/tmp/.X$n-lock" 2>/dev/null)" = "$XVFB_PID" ] && return 0
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  fail "no X server could be started"
}

# start_game [env assignments...]: runs the game from its bin folder in the background.
start_game() {
  (cd "$TREE/bin" && exec env "$@" ./zephyrace > "$WORK/stdout.txt" 2> "$WORK/stderr.txt") &
  GAME_PID=$!
}

# wait_window TITLE [seconds]: waits until a window with that exact name is mapped; prints its id.
wait_window() {
  local i id
  for i in $(seq $((${2:-20} * 10))); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game exited while waiting for window $1"
    sleep 0.1
  done
  fail "window $1 did not appear"
}

# shot NAME: a screenshot of the whole screen into $SHOTS/NAME.png; prints the path.
shot() {
  import -window root "$SHOTS/$1.png"
  echo "$SHOTS/$1.png"
}

# pixel FILE X Y: the colour at (x, y) from the top-left, as "r g b" in 0..255.
pixel() {
  convert "$1" -format "%[fx:int(255*u.p{$2,$3}.r)] %[fx:int(255*u.p{$2,$3}.g)] %[fx:int(255*u.p{$2,$3}.b)]" info:
}

# near "r g b" R G B [tolerance]: true when the colour is within tolerance of (R, G, B).
near() {
  local -a c=($1)
  local t=${5:-12}
  [ $((${c[0]} - $2)) -le "$t" ] && [ $(($2 - ${c[0]})) -le "$t" ] &&
  [ $((${c[1]} - $3)) -le "$t" ] && [ $(($3 - ${c[1]})) -le "$t" ] &&
  [ $((${c[2]} - $4)) -le "$t" ] && [ $(($4 - ${c[2]})) -le "$t" ]
}

log_has() { grep -qF -- "$1" "$TREE/bin/log.txt" 2>/dev/null; }
