#!/usr/bin/env bash
# Fails when the monitor core's folders import against their order:
#   foundation <- link <- records <- trends <- status <- device <- fleet <- conductor
# A folder may include its own headers and those of the folders to its left.
# foundation includes nothing but itself and the standard library (C++
# headers, and the few system C headers that file writing needs).
# The headless station (monitor/platform, monitor/station_main.cpp) includes
# no window header: it is built without the widget libraries.
# Usage: check-layers.sh [monitor folder]; prints every offending line.
set -eu
monitor=${1:-$(dirname "$0")/../monitor}
layers=(foundation link records trends status device fleet conductor)
systemHeaders='^([a-z_]+|(sys/[a-z_]+|fcntl|unistd)\.h)$'

rank() {
    local i
    for i in "${!layers[@]}"; do
        [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}

faults=0
report() {
    echo "$1: $2" >&2
    faults=$((faults + 1))
}

for layer in "${layers[@]}"; do
    [ -d "$monitor/$layer" ] || { report "$monitor/$layer" "missing core folder"; continue; }
    own=$(rank "$layer")
    while IFS= read -r file; do
        while IFS= read -r line; do
            if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]*)\" ]]; then
                target=${BASH_REMATCH[1]}
                folder=${target%%/*}
                [ "$folder" != "$target" ] || { report "$file" "include without its folder: $line"; continue; }
                used=$(rank "$folder")
                if [ "$used" -lt 0 ] || [ "$used" -gt "$own" ]; then
                    report "$file" "$layer may not include $folder: $line"
                fi
            elif [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<([^\>]*)\> ]]; then
                header=${BASH_REMATCH[1]}
                if [ "$layer" = foundation ] && ! [[ $header =~ $systemHeaders ]]; then
                    report "$file" "foundation includes only the standard library: $line"
                fi
            fi
        done <"$file"
    done < <(find "$monitor/$layer" -name '*.h' -o -name '*.cpp' | sort)
done

while IFS= read -r file; do
    while IFS= read -r line; do
        report "$file" "the headless station may not include windows: $line"
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"windows/' "$file" || true)
done < <(find "$monitor/platform" "$monitor/station_main.cpp" -name '*.h' -o -name '*.cpp' | sort)

if [ "$faults" -gt 0 ]; then
    echo "$faults include(s) against the layer order" >&2
    exit 1
fi
echo "layers hold: ${layers[*]}; the headless station includes no windows"
