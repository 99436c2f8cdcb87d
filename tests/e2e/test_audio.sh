#!/usr/bin/env bash
# The game's sound captured to a wave file on its own clock (lib.sh: capture): the quit item closes the device
# cleanly; without an audio device the game runs silently after one log line (through the load page's
# refusals); a race started from the menus is heard from the main menu's music through the track's loading to
# the pause and the profile menu after it. (The intro movie's sound track: test_splash; each generated
# sound audible and the music without gaps: the unit tests GeneratedSounds.*; which source plays what, at the
# settings' volume: SoundManagerTest.*)
source "$(dirname "$0")/lib.sh"
make_tree
start_x

LEVELS="$BUILD_DIR/tests/wavlevels"
# expect_loud FILE FROM TO WHAT: some quarter second between FROM and TO seconds is loud.
expect_loud() {
  "$LEVELS" "$1" 0.25 | awk -v a="$2" -v b="$3" '$1 >= a && $1 + 0.25 <= b && $2 > 0.005 {loud = 1} END {exit !loud}' ||
    fail "no sound in $4 ($2-$3 s)"
}

# 1. No audio device (a capture that cannot be written): one log line, and the game still runs its menus, where
# the load page refuses beside the journey's straight way: a profile listing too much stays on the page with a
# warning, a deletion asks first (highlighting one answer, the second time too); Exit quits. (A taken name, a key
# in use, what each settings page saves, a profile cut short and a deletion removing only its profile: the unit
# tests of the pages, ProfileTest.EveryCutOfAProfileLoads... and ProfileTest.CreateListAndDelete.)
# warned SHOT GEOMETRY SHARE: more than that share of the box's pixels are clearly red, as the menus' warnings are.
warned() {
  holds "m > $3" m="$(convert "$1" -crop "$2" +repage -fx '(r>0.75 && g<0.5 && b<0.5) ? 1 : 0' -format '%[fx:mean]' info:)"
}
# A profile with a fifth vehicle and two whole ones.
for name in Ace Broken Zed; do write_profile $name 12.000000 4321 3 1 1 1; done
echo "OWNED_VEHICLE 1" >> "$TREE/Profiles/Broken.txt"
capture /nonexistent/folder/capture.wav
start_game "${CAPTURE_ENV[@]}"
wait_window Zephyrace > /dev/null
sleep 2
key Escape 3.25  # the game intro
# Load profile: Back, Ace, Broken, Zed. The one listing too much stays on the page with a warning.
enter 1.75 Down
enter 1.05 Down Down
f=$(shot load-damaged)
warned "$f" 640x60+192+560 0.001 || fail "no warning for the profile with five vehicles"
key Up  # Ace
key Delete 0.75
f=$(shot delete-confirmation)
warned "$f" 320x40+352+355 0.002 || fail "no confirmation box before deleting"
enter 1.05 Down
[ ! -e "$TREE/Profiles/Ace.txt" ] || fail "Ace was not deleted"
# "Back" is highlighted after a deletion; the next confirmation highlights "No" alone, and "No" keeps Broken.
key Down
key Delete 0.75
f=$(shot second-confirmation)
[ "$(count "$f" 80x30+480+390 178 178 255)" -gt 20 ] || fail "the second confirmation does not highlight No"
[ "$(count "$f" 80x30+480+422 178 178 255)" -lt 5 ] || fail "the second confirmation highlights Yes too"
key Return 1.05
[ -e "$TREE/Profiles/Broken.txt" ] || fail "No deleted Broken"
enter 1.5 Up  # Back: the main menu, Load Profile highlighted
keys Up Up
xdotool key Return
expect_exit "the Exit item without an audio device"
[ "$(grep -c "Audio Error: Failed to open audio device." "$TREE/bin/log.txt")" = 1 ] ||
  fail "not exactly one log line for the missing audio device"

# 2. A race through the menus, with the times of keys and screens taken as positions in the capture. The
# high-passed levels ("high") keep the engine's hum low and even, so effects and music stand out over it.
write_settings screenwidth 640 screenheight 480
own_scripts
# A short fly-over, long enough for the 1.5 s its engine level is measured over.
sed -i 's/^AT [0-9.]* DO STOP$/AT 3.5 DO STOP/' "$TREE/Scripts/track1.txt"
capture "$WORK/race.wav"
rm -f "$TREE/bin/log.txt"
declare -A at
start_game "${CAPTURE_ENV[@]}"
wait_window Zephyrace > /dev/null
# press KEY [NAME]: sends KEY; NAME keeps when.
press() {
  xdotool key "$1"
  [ -z "${2:-}" ] || at[$2]=$(wav_now)
  sleep 0.5
}
# The main menu: a dark blue sky at the top, the dark blue logo plate in the corner; the intro is left with Esc.
main_menu() {
  local sky=($(pixel "$1" 320 20)) plate=($(pixel "$1" 630 470))
  [ "${sky[2]}" -gt 80 ] && [ "${sky[0]}" -lt 60 ] && [ "${plate[2]}" -gt 30 ] && [ "${plate[0]}" -lt 30 ]
}
intro_left() { main_menu "$1" || { xdotool key Escape; false; }; }
title_over() { [ "$(count "$2" 640x60+0+0 76 76 178 3)" -gt "$1" ]; }  # a page or the pause menu
# The HUD's instrument, shown from the countdown on.
hud() { [ "$(count "$1" 160x40+240+400 128 128 217 3)" -gt 1000 ]; }
profile_saved() { [ -f "$TREE/Profiles/Racer.txt" ]; }

wait_for main-menu 90 intro_left > /dev/null
at[menu]=$(wav_now)
sleep 1
press Return profile  # New Profile
wait_for new-profile 20 title_over 4000 > /dev/null
xdotool type --delay 100 Racer
press Return
wait_for profile-menu 20 profile_saved > /dev/null
sleep 1
press Return  # Go Racing
sleep 1.5
press Return track  # track 1
wait_for race 120 hud > /dev/null
at[hud]=$(wav_now)
# Three seconds of countdown, then a few of the race before the pause, which leaves the profile as it was.
sleep 7
cp "$TREE/Profiles/Racer.txt" "$WORK/racer.txt"
for i in 1 2 3 4; do
  press Escape pause
  (wait_for pause 4 title_over 2000 > /dev/null 2>&1) && break
  [ "$i" -lt 4 ] || fail "Esc never paused the race"
done
at[paused]=$(wav_now)
sleep 2
press Down move
sleep 1
press Return exit  # Exit race
sleep 2.5
press Up back
press Return  # Back To Main Menu
wait_for main-menu-again 20 main_menu > /dev/null
sleep 1
press Up
press Return  # Exit
expect_exit "the Exit item after the race"
cmp -s "$TREE/Profiles/Racer.txt" "$WORK/racer.txt" || fail "the race left from the pause menu changed the profile"
r="$WORK/race.wav"
cp "$r" "$SHOTS/race.wav"
# The music stops for the track's loading, which is silent: the first silence after the track's Enter comes
# before the HUD. Key times are when a key was sent; the game answers it a frame or more later.
quiet=$("$LEVELS" "$r" 0.05 | awk -v a="${at[track]}" '$1 >= a && $2 < 0.001 && q == "" {q = $1} END {print q}')
holds "q != \"\" && q < h" q="$quiet" h="${at[hud]}" || fail "no silence while the track loads"
# The countdown after it: three beeps, then the go, the first heard by the time the HUD was seen, the last
# before the pause. Each comes once its second of the game's clock has passed, on the first frame after it: so
# never sooner after the first beep than that, but later by as much as a frame of a busy machine takes.
read -r b1 b2 b3 go goLength < <("$LEVELS" "$r" 0.05 high | awk -v a="$quiet" '$1 > a {
    if ($2 > 0.02 && !on) {on = 1; start[++n] = $1}
    if ($2 <= 0.02 && on) {on = 0; length_[n] = $1 - start[n]}
  } END {print start[1], start[2], start[3], start[4], length_[4]}')
holds "b2 - b1 > 0.95 && b3 - b1 > 1.95 && g - b1 > 2.95 && gl > 0.2 && b1 > 0 && b1 < s + 0.5 && g < p" \
  b1="$b1" b2="$b2" b3="$b3" g="$go" gl="$goLength" s="${at[hud]}" p="${at[pause]}" ||
  fail "beeps at $b1 $b2 $b3, go at $go for $goLength s (HUD seen at ${at[hud]}, paused at ${at[pause]})"
# steady FILE FROM TO: the high-passed level when it is even (within 20 %) from FROM to TO, else 0.
steady() {
  "$LEVELS" "$1" 0.25 high | awk -v a="$2" -v b="$3" '$1 >= a && $1 + 0.25 <= b {
      if (n++ == 0 || $2 < lo) lo = $2; if ($2 > hi) hi = $2}
    END {printf "%.6f", (n > 0 && hi < 1.2 * lo) ? lo : 0}'
}
# The fly-over's last window ends a little before the first beep: the beep may begin inside the window before
# the one it is found in, too quietly to pass for the beep but loud enough to spoil the hum's evenness.
flyover=$(steady "$r" "$(awk -v b="$b1" 'BEGIN {print b - 1.6}')" "$(awk -v b="$b1" 'BEGIN {print b - 0.1}')")
race=$(steady "$r" "$(awk -v g="$go" 'BEGIN {print g + 1}')" "${at[pause]}")
paused=$(steady "$r" "$(awk -v p="${at[paused]}" 'BEGIN {print p + 0.4}')" "$(awk -v m="${at[move]}" 'BEGIN {print m - 0.1}')")
# The engine hums through the fly-over, lower than in the race, and evenly through the race; the pause
# menu stops nothing and starts no music, so the engine goes on there just as it was.
holds "f > 0.0005 && r > f * 1.2 && p > r * 0.9 && p < r * 1.1" f="$flyover" r="$race" p="$paused" ||
  fail "the engine is not heard evenly in the fly-over, race and pause ($flyover, $race, $paused)"
# The pause menu's move is heard over the engine; after the race is left the profile menu plays its music.
move=$("$LEVELS" "$r" 0.05 high | awk -v a="${at[move]}" -v b="${at[exit]}" '$1 >= a - 0.1 && $1 <= b - 0.2 && $2 > m {m = $2}
  END {print m}')
holds "m > 4 * p" m="$move" p="$paused" || fail "the pause menu's move is not heard ($move)"
expect_loud "$r" "$(awk -v e="${at[exit]}" 'BEGIN {print e + 0.5}')" "${at[back]}" \
  "the profile menu after the race"
expect_loud "$r" "${at[menu]}" "${at[profile]}" "the main menu"
log_has "Audio Error" && fail "the audio device reported an error"
! log_has "Failed to load wav file." || fail "a generated sound failed to load"
