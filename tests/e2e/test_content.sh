#!/usr/bin/env bash
# Every generated file loads through the game's own loaders without a logged complaint; the autopilot's
# times sit between each track's gold and bronze times and the economy lets a silver player progress.
source "$(dirname "$0")/lib.sh"
make_tree intro
(cd "$TREE/bin" && "$BUILD_DIR/tests/contentcheck") || fail "the content check found problems"
