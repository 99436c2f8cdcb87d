#!/usr/bin/env bash
# A new player's way through the menus: main menu, a new profile, the profile menu, a refused duplicate
# name, the load page with a damaged profile and a deletion, the audio and control pages (the settings file
# rewritten whole), the video page, and quitting with exit code 0.
source "$(dirname "$0")/lib.sh"
make_tree
# A damaged profile (cut off in the middle) and a whole one to load.
printf 'NAME Broken\nACTIVE_VEHICLE 0\nOWNED_VEH' > "$TREE/Profiles/Broken.txt"
{
  printf 'NAME Zed\nACTIVE_VEHICLE 0\nOWNED_VEHICLE 1\nOWNED_VEHICLE 0\nOWNED_VEHICLE 0\nOWNED_VEHICLE 0\n'
  printf 'PERCENT_COMPLETE 12.000000\nCASH 4321\nRACES_COMPLETED 3\nBRONZE_CUPS_WON 1\nSILVER_CUPS_WON 1\n'
  printf 'GOLD_CUPS_WON 1\n'
  for i in $(seq 24); do printf 'RECORD 0.000000\n'; done
} > "$TREE/Profiles/Zed.txt"
start_x
start_game
win=$(wait_window Zephyrace)
xdotool windowfocus "$win" 2>/dev/null || true

key() { xdotool key "$@"; sleep 0.25; }
# Fraction of the pixels in a box (from the top-left) that are clearly red: the menus' warnings.
red_share() {
  convert "$1" -crop "$2" +repage -fx '(r>0.75 && g<0.5 && b<0.5) ? 1 : 0' -format '%[fx:mean]' info:
}
# Mean brightness of a box, 0 .. 1.
brightness() { convert "$1" -crop "$2" +repage -colorspace Gray -format '%[fx:mean]' info:; }
more() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

sleep 2
key Escape  # the game intro
sleep 3
f=$(shot main-menu)
# Sky above the lettering (blue over red) and the logo plate in the lower-right corner.
read -r r g b <<< "$(pixel "$f" 512 60)"
[ "$b" -gt "$r" ] || fail "no sky at the top of the main menu ($r $g $b)"
read -r r g b <<< "$(pixel "$f" 1010 700)"
[ "$b" -gt 40 ] && [ "$r" -lt 90 ] || fail "no logo in the lower-right corner ($r $g $b)"
menu_panel=$(brightness "$f" 300x200+250+300)

key Return  # New Profile
sleep 1.5
f=$(shot new-profile)
more "$menu_panel" "$(brightness "$f" 300x200+250+300)" || fail "the new-profile page has no dark panel"
xdotool type --delay 120 "Ace"
key Return
sleep 1.5
[ -f "$TREE/Profiles/Ace.txt" ] || fail "no profile file for Ace"
grep -qx "NAME Ace" "$TREE/Profiles/Ace.txt" || fail "Ace.txt does not name Ace"
[ "$(grep -c '^RECORD ' "$TREE/Profiles/Ace.txt")" = 24 ] || fail "Ace.txt does not hold 24 records"
f=$(shot profile-menu)
# The menu box on the right is darker than the plate around it, the highlighted item light.
more "$(brightness "$f" 40x40+20+700)" "$(brightness "$f" 40x40+960+300)" || fail "no menu box on the profile menu"

# Back to the main menu (Change Vehicle is skipped: one vehicle owned), and the same name again.
key Down
key Down
key Return
sleep 2
cp "$TREE/Profiles/Ace.txt" "$WORK/ace-before.txt"
key Return
sleep 1.5
xdotool type --delay 120 "Ace"
key Return
sleep 0.8
f=$(shot duplicate-name)
more "$(red_share "$f" 640x40+192+380)" 0.002 || fail "no warning on a duplicate profile name"
cmp -s "$TREE/Profiles/Ace.txt" "$WORK/ace-before.txt" || fail "a duplicate name changed Ace's profile"
key Escape
sleep 2

# Load profile: Back, Ace, Broken, Zed. The damaged one stays on the page with a warning.
key Down
key Return
sleep 1.5
key Down
key Down
key Return
sleep 0.8
f=$(shot load-damaged)
more "$(red_share "$f" 640x60+192+560)" 0.001 || fail "no warning for the damaged profile"
key Down
key Return
sleep 1.5
f=$(shot profile-menu-zed)
grep -q "CASH 4321" "$TREE/Profiles/Zed.txt" || fail "loading changed Zed"
key Return  # "Back To Main Menu" is still highlighted from the last visit
sleep 2
key Return  # Load Profile is still highlighted
sleep 1.5
key Down
key Delete
sleep 0.5
f=$(shot delete-confirmation)
more "$(red_share "$f" 320x40+352+355)" 0.002 || fail "no confirmation box before deleting"
key Down
key Return
sleep 0.8
[ ! -e "$TREE/Profiles/Ace.txt" ] || fail "Ace was not deleted"
[ -e "$TREE/Profiles/Zed.txt" ] || fail "deleting Ace removed Zed"
f=$(shot load-after-delete)
key Return  # "Back" is highlighted after a deletion
sleep 2

# Options, then the audio page: one step down from 8 and save.
key Down
key Return
sleep 1.5
key Down
key Return
sleep 1.5
key Down
key Left
f=$(shot audio-page)
key Up
key Return
sleep 2
[ "$(wc -l < "$TREE/gamesettings.txt")" = 13 ] || fail "gamesettings.txt does not have 13 lines"
grep -qx "audio_volume 7" "$TREE/gamesettings.txt" || fail "the volume was not saved"

# Controls: "z" is Brake's and is refused; "w" becomes Forward.
key Down
key Return
sleep 1.5
key Down
key Down
key z
sleep 0.5
f=$(shot control-refused)
more "$(red_share "$f" 640x40+192+460)" 0.002 || fail "binding Brake's key to Forward gave no warning"
key w
f=$(shot control-page)
key Up
key Up
key Return
sleep 2
[ "$(wc -l < "$TREE/gamesettings.txt")" = 13 ] || fail "gamesettings.txt does not have 13 lines after the controls"
grep -qx "key_forward 119" "$TREE/gamesettings.txt" || fail "Forward was not rebound to w"
grep -qx "key_brake 122" "$TREE/gamesettings.txt" || fail "Brake changed"

# The video page lists the display's modes; Escape leaves it without writing.
cp "$TREE/gamesettings.txt" "$WORK/settings-before.txt"
key Up
key Up
key Return
sleep 1.5
f=$(shot video-page)
key Escape
sleep 2
cmp -s "$TREE/gamesettings.txt" "$WORK/settings-before.txt" || fail "Escape on the video page wrote the settings"

# Back to page one and Exit.
key Up
key Return
sleep 1.2
key Down
key Return
for _ in $(seq 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$GAME_PID" 2>/dev/null && fail "Exit did not end the game"
set +e
wait "$GAME_PID"
rc=$?
set -e
GAME_PID=
[ "$rc" = 0 ] || fail "Exit ended the game with code $rc"
echo "menus ok"
