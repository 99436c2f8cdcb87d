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
for name in Ace Zed; do write_profile $name 12.000000 4321 3 1 1 1; done
cp "$TREE/Profiles/Ace.txt" "$WORK/ace-before.txt"
cp "$TREE/Profiles/Zed.txt" "$WORK/zed-before.txt"
cp "$TREE/gamesettings.txt" "$WORK/settings-before.txt"
start_x
start_game
win=$(wait_window Zephyrace)
xdotool windowfocus "$win" 2>/dev/null || true

key() { xdotool key "$1"; sleep "${2:-0.25}"; }
# warned SHOT GEOMETRY SHARE: more than that share of the box's pixels (from the top-left) are clearly red,
# as the menus' warnings are.
warned() {
  holds "m > $3" m="$(convert "$1" -crop "$2" +repage -fx '(r>0.75 && g<0.5 && b<0.5) ? 1 : 0' -format '%[fx:mean]' info:)"
}

sleep 2
key Escape 3.25  # the game intro

# New Profile with a name that is taken: a warning, and the profile stays as it was.
key Return 1.75
xdotool type --delay 120 "Ace"
key Return 1.05
f=$(shot duplicate-name)
warned "$f" 640x40+192+380 0.002 || fail "no warning on a duplicate profile name"
cmp -s "$TREE/Profiles/Ace.txt" "$WORK/ace-before.txt" || fail "a duplicate name changed Ace's profile"
key Escape 2.25

# Load profile: Back, Ace, Broken, Zed. The damaged one stays on the page with a warning.
enter 1.75 Down
enter 1.05 Down Down
f=$(shot load-damaged)
warned "$f" 640x60+192+560 0.001 || fail "no warning for the damaged profile"
enter 1.75 Down
shot profile-menu-zed > /dev/null
cmp -s "$TREE/Profiles/Zed.txt" "$WORK/zed-before.txt" || fail "loading changed Zed"
key Down
key Down  # Back To Main Menu (Change Vehicle is skipped: one vehicle owned)
key Return 2.25
key Return 1.75  # Load Profile is still highlighted
key Down
key Delete 0.75
f=$(shot delete-confirmation)
warned "$f" 320x40+352+355 0.002 || fail "no confirmation box before deleting"
enter 1.05 Down
[ ! -e "$TREE/Profiles/Ace.txt" ] || fail "Ace was not deleted"
[ -e "$TREE/Profiles/Zed.txt" ] || fail "deleting Ace removed Zed"
shot load-after-delete > /dev/null
key Return 2.25  # "Back" is highlighted after a deletion

# Options, Controls: "z" is Brake's and is refused for Forward; Escape leaves without writing.
enter 1.75 Down
enter 1.75 Down Down
keys Down Down
key z 0.75
f=$(shot control-refused)
warned "$f" 640x40+192+460 0.002 || fail "binding Brake's key to Forward gave no warning"
key Escape 2.25
cmp -s "$TREE/gamesettings.txt" "$WORK/settings-before.txt" || fail "Escape on the controls page wrote the settings"

# The video page lists the display's modes; Escape leaves it without writing.
enter 1.75 Up Up
shot video-page > /dev/null
key Escape 2.25
cmp -s "$TREE/gamesettings.txt" "$WORK/settings-before.txt" || fail "Escape on the video page wrote the settings"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended in the menus"
echo "menus ok"
