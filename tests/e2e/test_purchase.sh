#!/usr/bin/env bash
# A prepared profile with cash buys the second vehicle: the confirmation box, then the cash drops by its
# price and the profile file owns it; the track selection shows the profile's cup on track 1.
source "$(dirname "$0")/lib.sh"
make_tree
{
  printf 'NAME Rich\nACTIVE_VEHICLE 0\nOWNED_VEHICLE 1\nOWNED_VEHICLE 0\nOWNED_VEHICLE 0\nOWNED_VEHICLE 0\n'
  printf 'PERCENT_COMPLETE 12.000000\nCASH 900000\nRACES_COMPLETED 3\nBRONZE_CUPS_WON 1\nSILVER_CUPS_WON 1\n'
  printf 'GOLD_CUPS_WON 1\nRECORD 10.000000\n'
  for i in $(seq 23); do printf 'RECORD 0.000000\n'; done
} > "$TREE/Profiles/Rich.txt"
price=$(awk '/^PRICE/ {print $2}' "$TREE/Scripts/vehicle2.txt")
start_x
start_game
win=$(wait_window Zephyrace)
xdotool windowfocus "$win" 2>/dev/null || true
key() { xdotool key "$1"; sleep "${2:-1}"; }
sleep 2
key Escape 3
key Down
key Return 3  # Load Profile
key Down
key Return 3  # Rich
shot profile-menu > /dev/null
key Return 3  # Go Racing
f=$(shot track-select)
# The gold cup text of track 1 (best 10 s) sits right of the picture in the gold colour.
gold=$(convert "$f" -crop 300x60+640+300 +repage -fx '(r>0.7 && g>0.6 && b<0.45) ? 1 : 0' -format '%[fx:mean]' info:)
awk -v a="$gold" 'BEGIN { exit !(a > 0.002) }' || fail "no gold cup shown on track 1"
key Escape 2
key Down
key Return 3  # Buy Vehicles (Change Vehicle is skipped)
key Right 2
key Return 1
shot purchase-confirmation > /dev/null
key Down 0.5
key Return 1
shot purchased > /dev/null
grep -qx "CASH $((900000 - price))" "$TREE/Profiles/Rich.txt" || fail "the cash did not drop by $price"
[ "$(grep -c '^OWNED_VEHICLE 1$' "$TREE/Profiles/Rich.txt")" = 2 ] || fail "the profile does not own two vehicles"
sed -n 3,4p "$TREE/Profiles/Rich.txt" | grep -qx "OWNED_VEHICLE 1" || fail "vehicle 2 is not owned"
grep -qx "ACTIVE_VEHICLE 1" "$TREE/Profiles/Rich.txt" || fail "the bought vehicle is not the current one"
echo "purchase ok"
