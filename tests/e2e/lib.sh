# Helpers for end-to-end tests (run by ctest with GAME_DIR and BUILD_DIR set): a private copy of the game tree,
# an X server, the game, screenshots.
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

# fail MESSAGE: the test fails with the tail of the game's log and of what it wrote on stderr.
fail() {
  echo "FAIL: $*" >&2
  [ -f "$TREE/bin/log.txt" ] && { echo "--- log.txt" >&2; tail -n 40 "$TREE/bin/log.txt" >&2; }
  [ -s "$WORK/stderr.txt" ] && { echo "--- stderr" >&2; tail -n 40 "$WORK/stderr.txt" >&2; }
  exit 1
}

# make_tree [intro]: a fresh game tree, content linked read-only from the build, bin and player files private;
# without the splash and the intro movie unless told "intro".
make_tree() {
  TREE="$WORK/game"
  mkdir "$TREE"
  ln -s "$GAME_DIR"/* "$TREE/"
  rm -f "$TREE/bin" "$TREE/Profiles" "$TREE/gamesettings.txt"
  mkdir "$TREE/bin" "$TREE/Profiles"
  cp -a "$GAME_DIR/bin/." "$TREE/bin/"
  # BIN, when set, is the game binary to run in place of the tree's own (the sanitizer build's).
  [ -z "${BIN:-}" ] || cp "$BIN" "$TREE/bin/zephyrace"
  rm -f "$TREE/bin/log.txt"
  write_settings
  [ "${1:-}" = intro ] || skip_intro
}

# skip_intro: no splash bitmap, no splash's three seconds, no intro movie (a log line each).
skip_intro() {
  rm "$TREE/Textures" "$TREE/nimbrellogo.avi"
  mkdir "$TREE/Textures"
  ln -s "$GAME_DIR"/Textures/* "$TREE/Textures/"
  rm "$TREE/Textures/splash.bmp"
}

# write_settings [key value]...: the default settings with some values replaced.
write_settings() {
  printf '%s %s\n' fullscreen 0 screenwidth 1024 screenheight 768 shadows 1 lensflare 1 audio_volume 8 key_forward 97 \
    key_brake 122 key_left 1100 key_right 1102 key_up 1101 key_down 1103 mouse_sensitivity 3 > "$TREE/gamesettings.txt"
  while [ $# -ge 2 ]; do sed -i "s/^$1 .*/$1 $2/" "$TREE/gamesettings.txt"; shift 2; done
}

# start_x [SCREEN]: an X server of its own, on a display it picks free and names once it takes connections.
start_x() {
  # -noreset: a game started right after the previous one quit must not meet a server in mid-reset.
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768x24}" -nolisten tcp -noreset 3> "$WORK/display" > "$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 300); do
    [ -s "$WORK/display" ] && { export DISPLAY=":$(cat "$WORK/display")"; return 0; }
    sleep 0.1
  done
  fail "no X server could be started"
}

# start_game [ENV...]: the game from its bin folder in the background, with all the LD_PRELOAD assignments.
start_game() {
  local -a env=() preload=()
  local a
  for a in "$@"; do case $a in LD_PRELOAD=*) preload+=("${a#LD_PRELOAD=}") ;; *) env+=("$a") ;; esac; done
  [ ${#preload[@]} = 0 ] || env+=("LD_PRELOAD=$(IFS=:; echo "${preload[*]}")")
  (cd "$TREE/bin" && exec env "${env[@]}" ./zephyrace > "$WORK/stdout.txt" 2> "$WORK/stderr.txt") &
  GAME_PID=$!
}

# open_game [ENV...]: start_game, then the game window's id as WIN and its size as WIN_SIZE ("1024x768").
open_game() {
  start_game "$@"
  WIN=$(wait_window Zephyrace 60)
  WIN_SIZE=$(xdotool getwindowgeometry "$WIN" | awk '/Geometry/ {print $2}')
}

# pad_script: PAD_ENV, the environment for start_game in which a virtual pad plays the script $PAD
# (tests/preload/padscript.c). pad EVENT...: appends events. tap CONTROL [SECONDS]: a press of 0.15 s, a wait.
pad_script() {
  PAD="$WORK/pad.txt"
  echo "0 attach" > "$PAD"
  PAD_ENV=(PAD_SCRIPT="$PAD" LD_PRELOAD="$BUILD_DIR/tests/libpadscript.so")
}
pad() { printf '%s\n' "$@" >> "$PAD"; }
tap() { pad "0 $1 1" "0.15 $1 0"; sleep "${2:-0.6}"; }

# autopilot: AUTOPILOT_ENV, the environment for start_game in which the game flies every race on track 1 by the
# autopilot from the end of the countdown (the preload libautopilot.so); the way into the race stays the menus'.
autopilot() {
  mkdir -p "$WORK/routes"
  (cd "$TREE/bin" && "$BUILD_DIR/tests/headless_race" route 1) > "$WORK/routes/track1.txt" || fail "no autopilot route"
  AUTOPILOT_ENV=(AUTOPILOT_ROUTES="$WORK/routes" LD_PRELOAD="$BUILD_DIR/tests/libautopilot.so")
}

# wait_window TITLE [seconds], wait_splash [seconds]: the id of the window so named once mapped, of the splash.
wait_window() { find_window "window $1" "${2:-20}" --onlyvisible --name "^$1\$"; }
wait_splash() { find_window "the splash" "${1:-10}" --class '^SplashScreen$'; }
find_window() { # WHAT SECONDS SEARCH...
  local what=$1 seconds=$2 id
  shift 2
  for _ in $(seq $((seconds * 20))); do
    id=$(xdotool search "$@" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game exited while waiting for $what"
    sleep 0.05
  done
  fail "$what did not appear"
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
  holds "(r - $2) ^ 2 <= t ^ 2 && (g - $3) ^ 2 <= t ^ 2 && (b - $4) ^ 2 <= t ^ 2" \
    r="${c[0]}" g="${c[1]}" b="${c[2]}" t="${5:-12}"
}

# loading_bar SHOT: the loading screen's bar outline, (0.7, 0.7, 1.0), is seen (rows 374..394, x 387..637).
loading_bar() { near "$(pixel "$1" 512 374)" 178 178 255 30; }
log_has() { grep -qF -- "$1" "$TREE/bin/log.txt" 2>/dev/null; }
# hint_pixels SHOT: the game intro's "Press [ESC] to skip" (Arial 12, white, baseline 16 pixels above the bottom
# from x = 472). first_countdown SHOT...: the number of the first shot that shows the race countdown's number,
# (0.5, 0.5, 0.85), inside its dark box, all looked at by one program. countdown_shown SHOT: that shot shows it.
hint_pixels() { count "$1" 150x16+468+738 255 255 255 12; }
first_countdown() {
  convert "${@/%/[320x125+372+254]}" -fuzz 4% -fill black +opaque "rgb(127,127,217)" -fill white \
    -opaque "rgb(127,127,217)" -colorspace Gray -format "%[fx:int(mean*w*h+0.5)]\n" info: | awk '$1 > 200 && !n {n = NR} END {if (n) print n}'
}
countdown_shown() { [ -n "$(first_countdown "$1")" ]; }
intro_shown() { [ "$(hint_pixels "$1")" -gt 25 ]; }
# past_intro: once the game window shows the game intro, Esc to the main menu.
past_intro() {
  wait_window Zephyrace 60 > /dev/null
  wait_for intro 90 intro_shown > /dev/null
  key Escape 3
}
# open_track1 [ENV...]: the game started (in ENV) past its intro, the first profile loaded, track 1's card shown.
open_track1() {
  start_game "$@"
  past_intro
  enter 2 Down  # Load Profile
  enter 3 Down  # the profile
  enter 3       # Go Racing: track 1
}
# record1 PROFILE: the best time of track 1 in a profile file. raced1 PROFILE: waits for one booked.
record1() { awk '/^RECORD /{print $2; exit}' "$1"; }
raced1() {
  for _ in $(seq 240); do [ -f "$1" ] && [ "$(record1 "$1")" != 0.000000 ] && return 0; sleep 0.5; done
  fail "no run of track 1 was booked in $1 within two minutes"
}

# key KEY [seconds]: presses KEY and waits (half a second unless told). keys KEY...: each in turn so.
# enter SECONDS [KEY...]: the keys, then Return, then a wait of SECONDS.
key() { xdotool key "$1"; sleep "${2:-0.5}"; }
keys() { local k; for k in "$@"; do key "$k"; done; }
enter() { local s=$1; shift; keys "$@"; key Return "$s"; }
# stop_game: kills the game and reaps it. expect_exit WHAT: WHAT must end the game within 30 s, with code 0
# and without a sanitizer report.
stop_game() { kill "$GAME_PID" 2>/dev/null || true; wait "$GAME_PID" 2>/dev/null || true; GAME_PID=; }
expect_exit() {
  local rc=0
  for _ in $(seq 300); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$GAME_PID" 2>/dev/null && fail "$1 did not end the game"
  wait "$GAME_PID" || rc=$?
  GAME_PID=
  ! grep -E "ERROR: (Address|Leak)Sanitizer|runtime error:" "$WORK/stderr.txt" || fail "a sanitizer report"
  [ "$rc" = 0 ] || fail "$1 ended the game with code $rc"
}
now_ms() { date +%s%3N; }
# own_scripts: the tree gets a private copy of the track scripts, to be edited.
own_scripts() { rm "$TREE/Scripts"; cp -r "$GAME_DIR/Scripts" "$TREE/Scripts"; }

# count SHOT GEOMETRY R G B [FUZZ]: pixels of about that colour inside the crop (from the top-left). The others
# are blacked out first, so that white in the picture does not count as the colour.
count() {
  convert "$1" -crop "$2" +repage -fuzz "${6:-8}%" -fill black +opaque "rgb($3,$4,$5)" -fill white \
    -opaque "rgb($3,$4,$5)" -colorspace Gray -format "%[fx:int(mean*w*h+0.5)]" info:
}
# brightness SHOT [GEOMETRY]: the mean brightness (0..1) of the picture or of a crop of it.
brightness() { convert "$1" ${2:+-crop "$2" +repage} -colorspace Gray -format '%[fx:mean]' info:; }
# changed_pixels A B [FUZZ]: how many pixels differ by more than FUZZ percent (3 unless told).
changed_pixels() { { compare -metric AE -fuzz "${3:-3}%" "$1" "$2" null: 2>&1 || true; } | awk '{print int($1)}'; }
# timer_mask SHOT MASK: the HUD timer's text pixels (instrument colour, top middle) as a mask.
timer_mask() {
  convert "$1" -crop 160x40+432+30 +repage -fill white -fuzz 8% -opaque "rgb(178,178,255)" -fill black +opaque white "$2"
}
# set_pixels MASK: how many pixels of a black and white mask are set.
set_pixels() { convert "$1" -format "%[fx:int(mean*w*h+0.5)]" info:; }
# holds EXPR NAME=VALUE...: true when the awk expression holds for those values.
holds() { local e=$1; shift; awk "${@/#/-v}" "BEGIN {exit !($e)}" /dev/null; }

# text SHOT FACE HEIGHT WEIGHT X Y "R G B" TEXT: the text in that colour matches, pixel for pixel but for
# TEXT_SHARE (an eighth unless set), a reference drawn from the same face ("Beware" is the game's own file);
# X, Y is its baseline start from the lower-left corner. TEXT_SET and TEXT_DIFF hold the pixel counts.
text() {
  local file=-
  [ "$2" = Beware ] && file="$TREE/hudFont.ttf"
  "$BUILD_DIR/tests/text_reference" "$WORK/ref.pgm" 1024 768 "$file" "$2" "$3" "$4" "$5" "$6" "$8" 2> /dev/null ||
    fail "text_reference failed for \"$8\""
  local w h x y
  read -r w h x y <<<"$(convert "$WORK/ref.pgm" -format '%@' info: | tr 'x+' '  ')"
  local box="$((w + 8))x$((h + 8))+$((x - 4))+$((y - 4))"
  convert "$WORK/ref.pgm" -crop "$box" +repage -colorspace Gray "$WORK/ref-box.png"
  convert "$1" -crop "$box" +repage -fill white -fuzz 6% -opaque "rgb(${7// /,})" -fill black +opaque white \
    -colorspace Gray "$WORK/shot-box.png"
  TEXT_SET=$(set_pixels "$WORK/ref-box.png")
  TEXT_DIFF=$(changed_pixels "$WORK/ref-box.png" "$WORK/shot-box.png" 0)
  [ "$TEXT_SET" -gt 20 ] && [ "$TEXT_DIFF" -le $((TEXT_SET / ${TEXT_SHARE:-8})) ]
}
expect_text() { # SHOT WHAT FACE HEIGHT WEIGHT X Y "R G B" TEXT
  text "$1" "${@:3}" || fail "$(basename "$1"): $2 \"$9\" not shown ($TEXT_DIFF of $TEXT_SET pixels differ)"
}

# wait_for NAME SECONDS TEST...: screenshots until TEST (given the shot) succeeds; keeps that one as NAME.png
# and prints its path. The tries are raw pictures, quick to write on a busy machine.
wait_for() {
  local name=$1 seconds=$2
  shift 2
  local end=$((SECONDS + seconds)) try="$WORK/try.ppm"
  while [ "$SECONDS" -le "$end" ]; do
    import -window root "$try"
    if "$@" "$try"; then convert "$try" "$SHOTS/$name.png"; echo "$SHOTS/$name.png"; return 0; fi
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for $name"
    sleep 0.2
  done
  convert "$try" "$SHOTS/$name-last-try.png"
  fail "$name: not seen within $seconds s"
}

# capture FILE: CAPTURE_ENV, the environment in which the game's sound goes to FILE, mixed on the game's own
# clock (tests/preload/soundclock.c). wav_now: the time now as a position in the capture (seconds).
capture() {
  WAV=$1
  CAPTURE_ENV=(SOUND_CAPTURE="$1" LD_PRELOAD="$BUILD_DIR/tests/libsoundclock.so")
}
wav_now() { awk -v s="$(cat "$WAV.start")" -v n="$(date +%s.%N)" 'BEGIN {printf "%.3f", n - s}'; }

# write_profile NAME PERCENT CASH RACES BRONZE SILVER GOLD [RECORD]: a profile owning the first vehicle; track
# 1 has no record, the others RECORD (0.000000 unless told).
write_profile() {
  {
    printf 'NAME %s\nACTIVE_VEHICLE 0\nOWNED_VEHICLE 1\nOWNED_VEHICLE 0\nOWNED_VEHICLE 0\nOWNED_VEHICLE 0\n' "$1"
    printf 'PERCENT_COMPLETE %s\nCASH %s\nRACES_COMPLETED %s\nBRONZE_CUPS_WON %s\nSILVER_CUPS_WON %s\n' "$2" "$3" "$4" "$5" "$6"
    printf 'GOLD_CUPS_WON %s\nRECORD 0.000000\n' "$7"
    for _ in $(seq 23); do printf 'RECORD %s\n' "${8:-0.000000}"; done
  } > "$TREE/Profiles/$1.txt"
}
