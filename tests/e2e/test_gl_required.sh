#!/usr/bin/env bash
# A display whose OpenGL lacks the 2.0 shaders and buffer objects the renderers call ends the game before its
# first frame: one line in the log and on stderr says why, and the exit code is 1.
source "$(dirname "$0")/lib.sh"
make_tree
skip_intro
start_x
set +e
(cd "$TREE/bin" && MESA_GL_VERSION_OVERRIDE=1.4 timeout 60 ./zephyrace > "$WORK/out.txt" 2> "$WORK/err.txt")
rc=$?
set -e
[ "$rc" = 1 ] || fail "exit code $rc on an OpenGL 1.4 display, expected 1"
line="Zephyrace cannot start: it needs OpenGL 2.0 shaders and buffer objects, and this display offers OpenGL 1.4"
[ "$(grep -cF "$line" "$WORK/err.txt")" = 1 ] || fail "stderr does not say once why: $(cat "$WORK/err.txt")"
[ "$(grep -cF "$line" "$TREE/bin/log.txt")" = 1 ] || fail "log.txt does not say once why"
echo "gl required ok"
