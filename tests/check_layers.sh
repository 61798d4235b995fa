#!/bin/sh
# The layers of the game point one way: the seam (the calls a platform
# answers) <- the model <- the rules <- the edge <- the backends. Each row
# below names a layer's folder and what its files may include; none of them
# may include a platform's header. Prints every include that breaks this,
# and fails if there is one.
#
#   tests/check_layers.sh [SOURCE_DIR]
cd "${1:-.}" || exit 2

status=0
while IFS=: read -r layer allowed; do
    [ -n "$layer" ] || continue
    [ -d "$layer" ] || { echo "missing layer folder $layer"; status=1; continue; }
    for f in "$layer"/*; do
        if grep -nIE '#include *[<"](windows\.h|SDL|cairo|emscripten)' "$f"; then
            echo "$f: includes a platform header"
            status=1
        fi
        for inc in $(sed -n 's/^#include *"\([^"]*\)".*/\1/p' "$f"); do
            ok=0
            for a in $allowed; do
                case "$inc" in "$a" | "$a"/*) ok=1 ;; esac
            done
            [ $ok = 1 ] || { echo "$f includes $inc, outside what $layer may use"; status=1; }
        done
    done
done <<'TABLE'
game/seam:
game/model: game/seam game/model
game/rules: game/seam game/model game/rules
game/edge:  game/seam game/model game/rules game/edge resources/embedded.h
TABLE
exit $status
