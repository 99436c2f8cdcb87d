#!/usr/bin/env bash
# The menus' refusals, beside the journey's straight way through them: a profile listing too much stays on the
# load page with a warning, a deletion asks first (highlighting one answer, the second time too). (A taken
# name, a key in use, what each settings page saves, a profile cut short loading what it holds and a deletion
# removing only its profile: the unit tests of the pages, ProfileTest.EveryCutOfAProfileLoads... and
# ProfileTest.CreateListAndDelete.)
source "$(dirname "$0")/lib.sh"
make_tree
skip_intro
# A profile with a fifth vehicle and two whole ones.
for name in Ace Broken Zed; do write_profile $name 12.000000 4321 3 1 1 1; done
echo "OWNED_VEHICLE 1" >> "$TREE/Profiles/Broken.txt"
start_x
open_game
xdotool windowfocus "$WIN" 2>/dev/null || true

# warned SHOT GEOMETRY SHARE: more than that share of the box's pixels (from the top-left) are clearly red,
# as the menus' warnings are.
warned() {
  holds "m > $3" m="$(convert "$1" -crop "$2" +repage -fx '(r>0.75 && g<0.5 && b<0.5) ? 1 : 0' -format '%[fx:mean]' info:)"
}

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
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended in the menus"
