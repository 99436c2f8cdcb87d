#!/bin/bash
# Fails on an include in src/ that points up a layer or sideways into another unit of its own layer, naming
# the file and line; the layers are those of src/layers.txt.
src=${1:-$(cd "$(dirname "$0")/../../src" && pwd)}
awk '
FNR == NR {
    if ($0 ~ /^[a-z]/) {
        ++rank
        name[rank] = $1
        for (i = 2; i <= NF; ++i) {
            n = split($i, paths, "+")
            for (k = 1; k <= n; ++k) {
                layerOf[paths[k]] = rank
                unitOf[paths[k]] = rank "." i
            }
        }
    }
    next
}
# The most closely named unit of a path relative to src/ ("race/vehicle.h"): its stem, else its folder.
function unit(path,   stem) {
    stem = path
    sub(/\.[a-z]+$/, "", stem)
    if (stem in unitOf) return stem
    sub(/\/.*/, "", stem)
    return stem in unitOf ? stem : ""
}
FNR == 1 {
    file = FILENAME
    sub(/^.*\/src\//, "", file)
    own = unit(file)
    if (own == "") {
        printf "src/%s: in no layer of src/layers.txt\n", file
        failed = 1
    }
}
own != "" && /^[ \t]*#[ \t]*include[ \t]*"/ {
    split($0, quoted, "\"")
    target = quoted[2]
    if (target !~ /\//) next
    to = unit(target)
    if (to == "" || unitOf[to] == unitOf[own]) next
    if (layerOf[to] <= layerOf[own]) {
        printf "src/%s:%d: includes %s, of layer %s, from layer %s\n", file, FNR, target, name[layerOf[to]],
            name[layerOf[own]]
        failed = 1
    }
}
END { exit failed }
' "$src/layers.txt" "$src"/*/*.h "$src"/*/*.cpp
