#!/usr/bin/env bash
# A new player's whole way through the game, run by the sanitizer build too (any report fails it):
# 1. splash, intro movie and game intro (its fly-by moving under captions, left with Esc); a new profile;
#    Forward rebound by key capture; track 1 from the menus: the fly-over ignores Esc, the countdown, the pause
#    menu, the autopilot (on the rebound key) flies on to a cup; the profile file, the profile menu and the
#    track card show the result; Exit ends the game with code 0. (The race's sound: test_audio; its picture:
#    test_race_shadows; its HUD clock: test_time_trial; what each settings page saves: their unit tests.)
# 2. A second start: a rich profile buys a vehicle; one a medal short of completion finishes a race and the
#    ending plays; Exit ends the game with code 0.
source "$(dirname "$0")/lib.sh"
make_tree intro
own_scripts  # track 1's goal moves for the second race
autopilot
start_x

# ---------------------------------------------------------------------------------------------- helpers
# go NAME SECONDS TEST [KEY...]: presses the keys and Enter, then waits for the screen as wait_for does.
# main_menu NAME [KEY...]: so to the main menu, and a second for its scene to settle.
go() {
  enter 0 "${@:4}"
  wait_for "$1" "$2" "$3"
}
main_menu() { go "$1" 40 main_menu_shown "${@:2}" > /dev/null; sleep 1; }

# Colours of the game's texts.
DARK="76 76 178"; PALE="178 178 255"; VALUE="127 127 217"; CAPTURE="178 255 178"
GOLD="218 203 69"; SILVER="191 191 191"; BRONZE="204 132 83"
# Profile texts as the game writes them (of the sums raced here, below a million).
cash_text() { awk -v c="$1" 'BEGIN { if (c >= 1000) printf "%d,%03d$", c / 1000, c % 1000; else printf "%d$", c }'; }
race_time_text() {
  awk -v s="$1" 'BEGIN { p = s * 1000; st = p * 1.2e-7; if (st > 0.5) st = 0.5; ms = int(p + st);
                         printf "%02d:%02d:%02d.%03d", int(ms / 3600000), int(ms % 3600000 / 60000), int(ms % 60000 / 1000), ms % 1000 }'
}
field() { awk -v k="$2" '$1 == k {print $2; exit}' "$1"; }

intro_playing() { intro_shown "$1" && [ "$(count "$1" 1024x700+0+0 178 178 255 4)" -gt 300 ]; }
# The main menu: sky above, the logo in the lower-right corner, and no page's dark panel over the sand.
main_menu_shown() {
  local r g b
  read -r r g b <<<"$(pixel "$1" 512 60)"
  [ "$b" -gt "$r" ] || return 1
  read -r r g b <<<"$(pixel "$1" 1010 700)"
  [ "$b" -gt 40 ] && [ "$r" -lt 90 ] && [ "$(hint_pixels "$1")" -lt 10 ] &&
    holds "i > 0.7 * o" i="$(brightness "$1" 600x80+212+540)" o="$(brightness "$1" 150x80+20+540)"
}
page_shown() { text "$2" Beware 64 400 "$1" 570 "$DARK" "$3"; }  # TITLE_X SHOT TITLE
new_profile_shown() { text "$1" Beware 64 400 237 564 "$DARK" "NEW PROFILE"; }
load_page_shown() { page_shown 212 "$1" "LOAD PROFILE"; }
controls_page_shown() { page_shown 297 "$1" CONTROLS; }
PLAYER=
profile_menu_shown() { text "$1" "Courier New" 50 700 $(((1024 - 26 * ${#PLAYER}) / 2)) 733 "$DARK" "$PLAYER"; }
# A track's title keeps the blank after its keyword.
TITLE1=$(awk '/^TITLE /{sub(/^TITLE/, ""); print; exit}' "$TREE/Scripts/track1.txt")
track_select_shown() { text "$1" "Courier New" 35 700 $(((1024 - 18 * ${#TITLE1}) / 2)) 648 "$VALUE" "$TITLE1"; }
purchase_shown() { text "$1" Arial 35 700 158 145 "127 127 127" "Press [ENTER] to Purchase Vehicle, [ESC] to Return"; }
# The pause menu's title and highlighted entry.
pause_shown() { text "$1" Arial 64 700 402 560 "$DARK" Paused && text "$1" Arial 40 700 392 494 "$PALE" "Return to game"; }
results_shown() { text "$1" Arial 57 700 327 672 "$DARK" "Race Completed!"; }
# The fly-over: the lit 3D scene (unlike the dark loading and menu screens) without the HUD's timer box or
# the countdown.
flyover_shown() {
  [ "$(convert "$1" -colorspace Gray -format '%[fx:int(mean * 100)]' info:)" -gt 30 ] && ! countdown_shown "$1" &&
    [ "$(count "$1" 200x70+412+8 178 178 255 4)" -lt 30 ]
}

# run_game: starts the game with its sound captured (its whole sound path runs without a sound card) and the
# pointer at the window's centre (keys go to the window under it), flown by the autopilot in a race.
run_game() {
  capture "$WORK/sound.wav"
  xdotool mousemove 512 384
  start_game "${CAPTURE_ENV[@]}" "${AUTOPILOT_ENV[@]}"
}
# quit_game: Exit (Up from the top entry of the first main menu page) must end the game cleanly.
quit_game() {
  enter 0 Up
  expect_exit Exit
}

# race_to_goal NAME: from track selection, Enter starts the race; the fly-over ignores Esc; the race, flown by
# the autopilot. countdown_seen NAME, once the race is over: the countdown was shown.
race_to_goal() {
  key Return 0
  # The countdown shows for three seconds. Raw shots are taken without a pause in the background, the last 60
  # kept, until the race is seen, and looked at after it: a busy machine's slow screenshots cannot miss it.
  mkdir "$WORK/$1"
  (n=0; while [ ! -e "$WORK/raced" ]; do import -window root "$WORK/$1/$((n++ % 60)).ppm"; sleep 0.2; done) &
  local shooter=$!
  wait_for "$1-flyover" 120 flyover_shown > /dev/null
  for _ in 1 2; do xdotool key Escape; sleep 0.2; done
  shot "$1-flyover-escape" > /dev/null
  racing() { ! countdown_shown "$1" && ! flyover_shown "$1"; }
  wait_for "$1-started" 60 racing > /dev/null
  touch "$WORK/raced"
  wait "$shooter"
  rm "$WORK/raced"
}
countdown_seen() {
  local -a raw=("$WORK/$1"/*.ppm)
  local i f
  pause_shown "$SHOTS/$1-flyover-escape.png" && fail "Esc opened the pause menu during the fly-over"
  i=$(first_countdown "${raw[@]}")
  [ -n "$i" ] || fail "no countdown in ${#raw[@]} shots up to the race"
  f=$SHOTS/$1-countdown.png
  convert "${raw[$((i - 1))]}" "$f"
  rm -r "$WORK/$1"
  for i in 3 2 1; do text "$f" Beware 100 700 477 434 "$VALUE" "$i.." && return; done
  fail "no countdown number in its box"
}

# ---------------------------------------------------------------------------------------------- first start
run_game
# The splash window comes first, then the game window with the intro movie (a band of (200, 40, 160) along
# its bottom) and the game intro: its skip hint and title over a moving scene.
wait_splash > /dev/null
shot splash > /dev/null
wait_window Zephyrace 60 > /dev/null
movie_shown() { near "$(pixel "$1" 512 750)" 200 40 160 30; }
wait_for movie 30 movie_shown > /dev/null
wait_for intro 90 intro_playing > /dev/null
# Its fly-by moves under the captions, drawn in (0.8, 0.8, 1) from three seconds on.
caption_shown() { intro_playing "$1" && [ "$(count "$1" 1024x700+0+0 204 204 255 4)" -gt 150 ]; }
wait_for intro-caption 40 caption_shown > /dev/null
[ "$(changed_pixels "$SHOTS/intro.png[1024x700+0+0]" "$SHOTS/intro-caption.png[1024x700+0+0]")" -gt 20000 ] ||
  fail "the game intro's camera does not move"
key Escape 0
wait_for main-menu 60 main_menu_shown > /dev/null
sleep 1

PLAYER=Nova
f=$(go new-profile 40 new_profile_shown)
xdotool type --delay 150 "$PLAYER"
sleep 0.5
f=$(shot new-profile-typed)
expect_text "$f" "the typed name" "Courier New" 50 700 282 429 "$PALE" "$PLAYER"
go profile-menu-new 40 profile_menu_shown > /dev/null
P="$TREE/Profiles/$PLAYER.txt"

# Back to the main menu (Change Vehicle is skipped: one vehicle owned), Options, Controls: Enter on Forward
# waits for a key, which becomes Forward's: Home.
main_menu main-menu-back Down Down
enter 1.5 Down Down  # Options: page two, Video highlighted
go controls 40 controls_page_shown Down Down > /dev/null
enter 0.5 Down Down
key Home
f=$(shot controls-capturing)
expect_text "$f" "Forward's new key while capturing" Arial 24 700 642 472 "$CAPTURE" Home
key Return  # bound (the unit test SettingsPage.KeysBind...); the autopilot flies on it
main_menu main-menu-saved Up Up

enter 1.5 Down  # Back: page one, Options highlighted
go load-page 40 load_page_shown Up > /dev/null
go profile-menu 40 profile_menu_shown Down > /dev/null

# Go Racing (Back To Main Menu was left highlighted; Hall Of Champions is skipped): track 1, no cup yet.
f=$(go track-select 40 track_select_shown Down)
expect_text "$f" "the empty best time" "Courier New" 28 700 512 578 "$DARK" "Personal Best:--:--:--.---"
text "$f" "Courier New" 28 700 665 438 "$GOLD" "You've won GOLD" && fail "a cup is shown before any race"

race_to_goal race
sleep 3

# Esc pauses, Esc resumes. An Esc that a busy machine's screenshots let through before the countdown ended is
# ignored by the game, so it is sent again until the menu shows.
for try in 1 2 3 4; do
  xdotool key Escape
  (wait_for pause 10 pause_shown > /dev/null 2>&1) && break
  [ "$try" -lt 4 ] || fail "Esc never paused the race"
done
xdotool key Escape
not_paused() { ! pause_shown "$1"; }
wait_for resumed 40 not_paused > /dev/null

f=$(wait_for results 120 results_shown)
countdown_seen race
sleep 1.5
f=$(shot results-later)
best=$(record1 "$P")
cash=$(field "$P" CASH)
T1="$TREE/Scripts/track1.txt"
# The cup the profile counts (which time wins which: the unit test Rewards.MoneyHasThousandsCommas...).
medal=NONE
for m in GOLD SILVER BRONZE; do [ "$(field "$P" "${m}_CUPS_WON")" = 0 ] || medal=$m; done
[ "$medal" != NONE ] || fail "the autopilot reached the goal in $best s, too slow for a cup"
colour=${!medal}
prize=$(field "$T1" "CASH$medal")
[ "$cash" -gt 0 ] && [ "$cash" -le "$prize" ] || fail "the saved cash $cash is not the prize $prize minus repairs"
[ "$(field "$P" RACES_COMPLETED)" = 1 ] || fail "the race is not counted in the profile"
expect_text "$f" "the race time" "Courier New" 44 700 76 597 "$PALE" "Your time: $(race_time_text "$best")"
expect_text "$f" "the prize" "Courier New" 44 700 430 289 "$DARK" "Cash won   : $(cash_text "$prize" | sed 's/^\([0-9]*\)\$$/0,\1$/')"
expect_text "$f" "the total" "Courier New" 44 700 430 201 "$VALUE" "Total      : $(cash_text "$cash")"
expect_text "$f" "the cup" "Courier New" 44 700 430 113 "$colour" "You've won $medal"
[ "$(changed_pixels "$SHOTS/results.png" "$f")" -gt 500 ] || fail "the trophy does not turn"

f=$(go profile-menu-after-race 40 profile_menu_shown)
percent=$(awk -v p="$(field "$P" PERCENT_COMPLETE)" 'BEGIN {printf "%d%%", int(p + 0.5)}')
expect_text "$f" "the completion" Arial 28 700 368 603 "$VALUE" "$percent"
expect_text "$f" "the cash" Arial 28 700 368 575 "$VALUE" "$(cash_text "$cash")"
declare -A cup_row=([GOLD]=547 [SILVER]=519 [BRONZE]=491)
expect_text "$f" "the cup won" Arial 28 700 368 "${cup_row[$medal]}" "$colour" 1

f=$(go track-select-cup 40 track_select_shown)
sleep 0.5
f=$(shot track-select-cup)
expect_text "$f" "the best time" "Courier New" 28 700 512 578 "$DARK" "Personal Best:$(race_time_text "$best")"
expect_text "$f" "the cup" "Courier New" 28 700 665 438 "$colour" "You've won $medal"
key Escape 0
wait_for profile-menu-back 40 profile_menu_shown > /dev/null

# Back To Main Menu, where Load Profile is still highlighted.
main_menu main-menu-after-race Down Down
key Up
quit_game

# ---------------------------------------------------------------------------------------------- second start
# Two prepared profiles: one rich enough to buy, one a medal short of completing the game; track 1's goal
# now lies just ahead of its start.
write_profile Rich 12.000000 900000 3 1 1 1
write_profile Champion 99.990000 5000 23 0 0 23 1.000000
goal=$(awk '/^POSITION /{if (!x) {x = $2; z = $4}} /^HEADING /{h = $2} END{
  r = h * 3.14159265 / 180; cx = x - 15 * sin(r); cz = z - 15 * cos(r);
  printf "GOALZONE %f %f %f %f %f %f\n", cx - 6, cx + 6, -5, 40, cz - 6, cz + 6}' "$T1")
sed -i "s/^GOALZONE .*/$goal/" "$T1"
grep -q "^$goal" "$T1" || fail "could not move the goal of track 1"

skip_intro
run_game
wait_for intro-again 90 intro_playing > /dev/null
key Escape 0
wait_for main-menu-again 60 main_menu_shown > /dev/null
sleep 1

# Load page rows: Back, Champion, Nova, Rich. Rich buys the second vehicle.
go load-page-again 40 load_page_shown Down > /dev/null
PLAYER=Rich
go profile-menu-rich 40 profile_menu_shown Down Down Down > /dev/null
price=$(awk '/^PRICE/ {print $2}' "$TREE/Scripts/vehicle2.txt")
go purchase 40 purchase_shown Down > /dev/null  # Buy Vehicles
key Right 1.5
key Return 1
f=$(shot purchase-confirmation)
expect_text "$f" "the confirmation" Arial 32 700 \
  $(awk -v n="${#price}" 'BEGIN {print int(512 - 0.5 * 32 * (23 + n) * 0.44)}') 432 "$DARK" "Purchase vehicle for \$$price?"
enter 1 Down
# Saved at once (what a purchase changes: the unit test PurchaseArithmetic.OwnedAffordableOrTooDear).
grep -qx "CASH $((900000 - price))" "$TREE/Profiles/Rich.txt" || fail "the purchase was not saved"
key Escape 0
wait_for profile-menu-rich-back 40 profile_menu_shown > /dev/null
main_menu main-menu-rich Down  # Back To Main Menu

go load-page-champion 40 load_page_shown > /dev/null  # Load Profile is still highlighted
PLAYER=Champion
go profile-menu-champion 40 profile_menu_shown Down > /dev/null
key Up
key Up  # Back To Main Menu was left highlighted; Change Vehicle is skipped
go track-select-champion 40 track_select_shown > /dev/null
race_to_goal final
wait_for final-results 60 results_shown > /dev/null
C="$TREE/Profiles/Champion.txt"
[ "$(field "$C" CASH)" -gt 5000 ] || fail "Champion's prize was not saved"
go outro 90 intro_playing > /dev/null
sleep 1.5
a=$(shot outro-a)
sleep 1.5
b=$(shot outro-b)
[ "$(changed_pixels "$a" "$b")" -gt 20000 ] || fail "the ending does not move"
key Escape 0
# From the first frame after the loading screen the profile menu has its background picture.
f=$(wait_for profile-menu-after-ending 60 profile_menu_shown)
read -r r g b <<<"$(pixel "$f" 5 5)"
[ "$r" -lt 120 ] || fail "the profile menu after the ending has no background picture ($r $g $b)"
key Up  # Hall Of Champions is open now
key Up  # Back To Main Menu
main_menu main-menu-last
key Up  # Load Profile was highlighted
quit_game
