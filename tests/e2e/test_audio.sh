#!/usr/bin/env bash
# Sound through OpenAL Soft's wave-file output: every generated sound is heard when played and silence holds
# where nothing plays; in the game the intro movie is silent, the main menu's music and moves are heard, and
# the quit item closes the device cleanly; volume 0 mutes everything; without an audio device the game runs
# silently after one log line.
source "$(dirname "$0")/lib.sh"
make_tree
skip_splash
start_x

LEVELS="$BUILD_DIR/tests/wavlevels"
# alsoft_conf FILE: a configuration that mixes into FILE as 16-bit stereo at 22050 Hz.
alsoft_conf() {
  printf '[general]\ndrivers=wave\nfrequency=22050\nchannels=stereo\nsample-type=int16\n[wave]\nfile=%s\n' "$1" \
    > "$WORK/alsoft.conf"
}
# rms FILE FROM TO: the loudest quarter-second RMS between FROM and TO seconds.
rms() { "$LEVELS" "$1" 0.25 | awk -v a="$2" -v b="$3" '$1 >= a && $1 + 0.25 <= b && $2 > m {m = $2} END {printf "%.6f", m + 0}'; }
# quietest FILE FROM TO: the quietest quarter-second RMS between FROM and TO seconds.
quietest() { "$LEVELS" "$1" 0.25 | awk -v a="$2" -v b="$3" 'BEGIN {m = 1} $1 >= a && $1 + 0.25 <= b && $2 < m {m = $2} END {printf "%.6f", m}'; }
loud() { awk -v x="$1" 'BEGIN {exit !(x > 0.005)}'; }
silent() { awk -v x="$1" 'BEGIN {exit !(x < 0.001)}'; }
expect_loud() { loud "$(rms "$1" "$2" "$3")" || fail "no sound in $4 ($2-$3 s of $(basename "$1")): $(rms "$1" "$2" "$3")"; }
expect_silent() { silent "$(rms "$1" "$2" "$3")" || fail "sound in $4 ($2-$3 s of $(basename "$1")): $(rms "$1" "$2" "$3")"; }

# 1. Every kind of sound, on the timeline of the soundcheck tool.
alsoft_conf "$WORK/check.wav"
(cd "$TREE/bin" && ALSOFT_CONF="$WORK/alsoft.conf" "$BUILD_DIR/tests/soundcheck" > /dev/null 2>&1) || fail "soundcheck failed"
c="$WORK/check.wav"
expect_silent "$c" 0.1 0.9 "the start"
expect_loud "$c" 1.0 1.5 "the go signal"
expect_silent "$c" 2.25 2.9 "the pause after it"
# The one-second engine loop keeps going past its own length at an even level.
expect_loud "$c" 3.0 5.5 "the engine"
engineLow=$(quietest "$c" 3.25 5.25)
loud "$engineLow" || fail "the engine loop drops out: $engineLow"
expect_silent "$c" 5.75 6.4 "the stopped engine"
expect_loud "$c" 6.5 8.5 "the music"
musicLow=$(quietest "$c" 6.75 8.25)
loud "$musicLow" || fail "the music has a gap: $musicLow"
expect_silent "$c" 8.75 9.4 "the music faded to 0"
expect_silent "$c" 9.6 9.9 "the stopped music"
for i in 0 1 2 3; do expect_loud "$c" "$(awk -v i=$i 'BEGIN {print 10 + i * 0.5}')" "$(awk -v i=$i 'BEGIN {print 10.25 + i * 0.5}')" "impact $i"; done
cp "$c" "$SHOTS/soundcheck.wav"

# play_game NAME SECONDS: starts the game, leaves the intro for the main menu with Escape after SECONDS (past
# the movie), moves in the menu and quits with its Exit item (Up from the first item); the capture is
# $WORK/NAME.wav.
play_game() {
  alsoft_conf "$WORK/$1.wav"
  rm -f "$TREE/bin/log.txt"
  start_game ALSOFT_CONF="$WORK/alsoft.conf"
  wait_window Zephyrace > /dev/null
  sleep "$2"
  xdotool key Escape
  sleep 3
  shot "$1-menu" > /dev/null
  xdotool key Down
  sleep 1
  xdotool key Up
  sleep 0.5
  xdotool key Up
  sleep 0.5
  xdotool key Return
  local rc=0
  wait "$GAME_PID" || rc=$?
  GAME_PID=
  [ "$rc" = 0 ] || fail "the game's Exit item ended it with $rc"
}

# 2. The game: a silent intro movie, then the menu music after Escape until the end.
play_game game 6
g="$WORK/game.wav"
length=$("$LEVELS" "$g" 0.25 | tail -n1 | awk '{print $1 + 0.25}')
expect_silent "$g" 0 3.5 "the intro movie"
expect_loud "$g" "$(awk -v l="$length" 'BEGIN {print l - 4}')" "$length" "the main menu"
log_has "Audio Error" && fail "the audio device reported an error"
log_has "Failed to load wav file." && fail "a generated sound failed to load"
cp "$g" "$SHOTS/game.wav"

# 3. Volume 0: the same run is silent throughout, the menu sounds included. The movie is left out from here on.
rm "$TREE/nimbrellogo.avi"
write_settings audio_volume 0
play_game muted 2
expect_silent "$WORK/muted.wav" 0 100 "the game at volume 0"

# 4. No audio device: one log line, and the game still reaches the menu and quits normally.
write_settings
alsoft_conf /nonexistent/folder/capture.wav
rm -f "$TREE/bin/log.txt"
start_game ALSOFT_CONF="$WORK/alsoft.conf"
wait_window Zephyrace > /dev/null
sleep 2
xdotool key Escape
sleep 3
xdotool key Up
sleep 0.5
xdotool key Return
rc=0; wait "$GAME_PID" || rc=$?; GAME_PID=
[ "$rc" = 0 ] || fail "without an audio device the Exit item ended the game with $rc"
[ "$(grep -c "Audio Error: Failed to open audio device." "$TREE/bin/log.txt")" = 1 ] ||
  fail "not exactly one log line for the missing audio device"
echo "audio ok"
