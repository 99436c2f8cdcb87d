#!/usr/bin/env bash
# The Debian package: cpack builds it, lintian finds no error in it, and its menu entry and metainfo pass their
# validators. Extracted with dpkg-deb into a scratch root and started from another folder with a scratch HOME,
# the game finds its content from its own place, makes the player's folders (an absolute XDG_STATE_HOME is
# used, a relative XDG_DATA_HOME is ignored) and a new profile races track 1 by the autopilot. Every file it
# wrote is in the player's XDG folders, none under the root. A folder that cannot be made stops it with code 1
# and one line.
source "$(dirname "$0")/lib.sh"
(cd "$BUILD_DIR" && cpack -G DEB -B "$WORK/cpack" > "$WORK/cpack.log" 2>&1) ||
  fail "cpack: $(tail -n 5 "$WORK/cpack.log")"
DEB=$(ls "$WORK"/cpack/zephyrace_*.deb)
lintian --fail-on error "$DEB" > "$WORK/lintian.txt" 2>&1 ||
  fail "lintian reports an error: $(grep -v 'running with root privileges' "$WORK/lintian.txt")"
PREFIX="$WORK/root"
dpkg-deb -x "$DEB" "$PREFIX"
desktop-file-validate "$PREFIX"/usr/share/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$PREFIX"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
GAME="$PREFIX/usr/games/zephyrace"
HOME_DIR="$WORK/home"
DATA="$HOME_DIR/.local/share/zephyrace" STATE="$WORK/state/zephyrace"
mkdir -p "$HOME_DIR" "$WORK/cwd"
# The autopilot's routes come from a tree; log_has and fail read the installed game's log through it.
make_tree
autopilot
rm -f "$TREE/bin/log.txt"
ln -s "$STATE/log.txt" "$TREE/bin/log.txt"
find "$PREFIX" -printf '%p %s %T@\n' | sort > "$WORK/prefix-before.txt"
touch "$WORK/stamp"

rc=0
(cd "$WORK/cwd" && exec env HOME="$HOME_DIR" XDG_STATE_HOME=/dev/null/state timeout 60 "$GAME" 2> "$WORK/err.txt") ||
  rc=$?
[ "$rc" = 1 ] || fail "an impossible state folder ended the game with code $rc, not 1"
[ "$(cat "$WORK/err.txt")" = "Zephyrace cannot start: the folder /dev/null/state cannot be made (Not a directory)" ] ||
  fail "stderr does not say which folder cannot be made: $(cat "$WORK/err.txt")"

start_x
xdotool mousemove 512 384
(cd "$WORK/cwd" && exec env -u XDG_CONFIG_HOME HOME="$HOME_DIR" XDG_DATA_HOME=relative XDG_STATE_HOME="$WORK/state" \
  XDG_CACHE_HOME="$WORK/cache" "${AUTOPILOT_ENV[@]}" "$GAME" > "$WORK/stdout.txt" 2> "$WORK/stderr.txt") &
GAME_PID=$!
past_intro
enter 2  # New Profile
xdotool type --delay 120 Racer
enter 3  # the profile menu
enter 3  # Go Racing: track 1
key Return 0
P="$DATA/Profiles/Racer.txt"
raced1 "$P"
stop_game

[ -f "$DATA/Profiles/Racer.ghosts/track1.txt" ] || fail "the ghost was not saved beside the profile"
[ -s "$STATE/log.txt" ] || fail "the log is not in $STATE"
[ -f "$HOME_DIR/.config/zephyrace/gamesettings.txt" ] || fail "no settings in the scratch HOME"
# Every file written since the stamp in a folder of $WORK (the test's own are beside them) is in an XDG folder.
find "$WORK" -mindepth 2 -newer "$WORK/stamp" ! -type d | sort > "$WORK/written.txt"
grep -v -e "^$HOME_DIR/.config/" -e "^$HOME_DIR/.local/share/" -e "^$WORK/state/" -e "^$WORK/cache/" \
  "$WORK/written.txt" && fail "files written outside the XDG folders"
find "$PREFIX" -printf '%p %s %T@\n' | sort | cmp -s - "$WORK/prefix-before.txt" || fail "the prefix was changed"
