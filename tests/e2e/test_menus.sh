#!/usr/bin/env bash
# The menus' refusals and repairs, beside the journey's straight way through them: a duplicate profile name is
# refused, a damaged profile stays on the load page with a warning, a deletion asks first and removes only
# its profile, a key already bound to Brake is refused for Forward, and the video page lists the display's
# modes and leaves the settings alone on Escape.
source "$(dirname "$0")/lib.sh"
make_tree
skip_intro
# A damaged profile (cut off in the middle) and two whole ones.
printf 'NAME Broken\nACTIVE_VEHICLE 0\nOWNED_VEH' > "$TREE/Profiles/Broken.txt"
for name in Ace Zed; do
  {
    printf 'NAME %s\nACTIVE_VEHICLE 0\nOWNED_VEHICLE 1\nOWNED_VEHICLE 0\nOWNED_VEHICLE 0\nOWNED_VEHICLE 0\n' "$name"
    printf 'PERCENT_COMPLETE 12.000000\nCASH 4321\nRACES_COMPLETED 3\nBRONZE_CUPS_WON 1\nSILVER_CUPS_WON 1\n'
    printf 'GOLD_CUPS_WON 1\n'
    for i in $(seq 24); do printf 'RECORD 0.000000\n'; done
  } > "$TREE/Profiles/$name.txt"
done
cp "$TREE/Profiles/Ace.txt" "$WORK/ace-before.txt"
cp "$TREE/Profiles/Zed.txt" "$WORK/zed-before.txt"
cp "$TREE/gamesettings.txt" "$WORK/settings-before.txt"
start_x
start_game
win=$(wait_window Zephyrace)
xdotool windowfocus "$win" 2>/dev/null || true

key() { xdotool key "$@"; sleep 0.25; }
# Fraction of the pixels in a box (from the top-left) that are clearly red: the menus' warnings.
red_share() {
  convert "$1" -crop "$2" +repage -fx '(r>0.75 && g<0.5 && b<0.5) ? 1 : 0' -format '%[fx:mean]' info:
}
more() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

sleep 2
key Escape  # the game intro
sleep 3

# New Profile with a name that is taken: a warning, and the profile stays as it was.
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
shot profile-menu-zed > /dev/null
cmp -s "$TREE/Profiles/Zed.txt" "$WORK/zed-before.txt" || fail "loading changed Zed"
key Down
key Down  # Back To Main Menu (Change Vehicle is skipped: one vehicle owned)
key Return
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
shot load-after-delete > /dev/null
key Return  # "Back" is highlighted after a deletion
sleep 2

# Options, Controls: "z" is Brake's and is refused for Forward; Escape leaves without writing.
key Down
key Return
sleep 1.5
key Down
key Down
key Return
sleep 1.5
key Down
key Down
key z
sleep 0.5
f=$(shot control-refused)
more "$(red_share "$f" 640x40+192+460)" 0.002 || fail "binding Brake's key to Forward gave no warning"
key Escape
sleep 2
cmp -s "$TREE/gamesettings.txt" "$WORK/settings-before.txt" || fail "Escape on the controls page wrote the settings"

# The video page lists the display's modes; Escape leaves it without writing.
key Up
key Up
key Return
sleep 1.5
shot video-page > /dev/null
key Escape
sleep 2
cmp -s "$TREE/gamesettings.txt" "$WORK/settings-before.txt" || fail "Escape on the video page wrote the settings"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended in the menus"
echo "menus ok"
