#!/usr/bin/env bash
# The Debian package: cpack builds it, lintian finds no error in it, its menu entry and metainfo pass their
# validators, and extracted with dpkg-deb into a scratch root it starts (its content found from its own place)
# and plays its intro, with the player's files in the scratch HOME.
source "$(dirname "$0")/lib.sh"
(cd "$BUILD_DIR" && cpack -G DEB -B "$WORK/cpack" > "$WORK/cpack.log" 2>&1) ||
  fail "cpack: $(tail -n 5 "$WORK/cpack.log")"
DEB=$(ls "$WORK"/cpack/zephyrace_*.deb)
lintian --fail-on error "$DEB" > "$WORK/lintian.txt" 2>&1 ||
  fail "lintian reports an error: $(grep -v 'running with root privileges' "$WORK/lintian.txt")"
ROOT="$WORK/root"
dpkg-deb -x "$DEB" "$ROOT"
desktop-file-validate "$ROOT"/usr/share/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$ROOT"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"

mkdir -p "$WORK/home/.local/state/zephyrace" "$WORK/tree"
TREE="$WORK/tree"  # fail shows the log the game writes
ln -s "$WORK/home/.local/state/zephyrace" "$TREE/bin"
start_x
(cd / && exec env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_STATE_HOME HOME="$WORK/home" \
  "$ROOT/usr/games/zephyrace" > "$WORK/stdout.txt" 2> "$WORK/stderr.txt") &
GAME_PID=$!
wait_window Zephyrace 60 > /dev/null
wait_for intro 90 intro_shown > /dev/null
[ -f "$WORK/home/.config/zephyrace/gamesettings.txt" ] || fail "no settings in the scratch HOME"
