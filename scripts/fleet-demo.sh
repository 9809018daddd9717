#!/usr/bin/env bash
# A fleet on this machine: one local Mosquitto on a free port, N simulated
# switches and N headless stations run from the one program directory, each
# with its own station directory and scenario, all publishing to the broker; the
# first one shows the fleet board. A subscriber prints one line per station per
# second. Ctrl-C ends it all.
# Usage: scripts/fleet-demo.sh [stations=4]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

stations=${1:-4}
work=$(mktemp -d /tmp/treld-fleet-XXXXXX)
pids=()
cleanup() {
    ((${#pids[@]})) && kill "${pids[@]}" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 0' INT TERM

# A TCP port nothing listens on, below 32768 (the relay port is a signed 16-bit number).
free_port() {
    python3 -c '
import random, socket
while True:
    port = random.randint(20000, 32000)
    with socket.socket() as s:
        try:
            s.bind(("", port))
        except OSError:
            continue
    print(port)
    break'
}

broker_port=$(free_port)
# As root the broker would change to its own user; it writes nothing here anyway.
printf 'listener %s 127.0.0.1\nallow_anonymous true\npersistence false\nuser %s\n' \
    "$broker_port" "$(id -un)" >"$work/broker.conf"
mosquitto -c "$work/broker.conf" 2>"$work/broker.log" &
pids+=($!)

# Each station its own fault: source 1 black-out, overload, source 2 voltage.
scenario() {
    local at=$((5 + $1 % 7))
    case $(($1 % 3)) in
        0) printf '%ss source1 blackout\n%ss source1 restore\n30s repeat\n' "$at" "$((at + 8))" ;;
        1) printf '%ss overload on\n%ss overload off\n30s repeat\n' "$at" "$((at + 6))" ;;
        2) printf '%ss source2 voltage-bad\n%ss source2 restore\n30s repeat\n' "$at" "$((at + 10))" ;;
    esac
}

for n in $(seq "$stations"); do
    dir="$work/station-$n"
    mkdir -p "$dir/SERLOGS"
    printf 'COMPORT:1\r\nTIMEOUT:1000\r\nSNAME:station-%s\r\nREMOTEPORT:%s\r\n' \
        "$n" "$(free_port)" >"$dir/sts.cfg"
    metrics=$(free_port)
    printf 'HOST:127.0.0.1\nPORT:%s\nMETRICS:%s\n' "$broker_port" "$metrics" >"$dir/mqtt.cfg"
    ((n == 1)) && echo 'BOARD:sts/+' >>"$dir/mqtt.cfg"
    scenario "$n" >"$dir/fault.scn"
    (cd "$dir" && exec "$PROGRAM_DIR/sts-sim" --link "$dir/sts-line" --scenario fault.scn >/dev/null) &
    pids+=($!)
    for _ in $(seq 50); do [[ -e "$dir/sts-line" ]] && break; sleep 0.1; done
    TRELD_COM1="$dir/sts-line" "$PROGRAM_DIR/treld" --headless --dir "$dir" 2>"$dir/treld.log" &
    pids+=($!)
    echo "station-$n: $dir, metrics at http://127.0.0.1:$metrics/metrics"
done
echo "The fleet board: http://127.0.0.1:$(sed -n 's/^METRICS://p' "$work/station-1/mqtt.cfg")/fleet"
echo "Broker on 127.0.0.1:$broker_port; every topic: mosquitto_sub -p $broker_port -v -t 'sts/#'"

# One line per station per second: a few of its values, and each event as it comes.
value() {
    local rest=${1#*\"$2\":}
    echo "${rest%%[,\}]*}"
}
mosquitto_sub -p "$broker_port" -v -t 'sts/+/measurements' -t 'sts/+/event' |
    while read -r topic payload; do
        station=${topic#sts/}
        station=${station%/*}
        if [[ $topic == */event ]]; then
            printf '%s %-11s EVENT %s\n' "$(date +%T)" "$station" "$(value "$payload" text)"
        else
            printf '%s %-11s S1 %s V %s Hz  S2 %s V %s Hz  load %s %%  %s C\n' "$(date +%T)" \
                "$station" "$(value "$payload" source1_l1_voltage)" \
                "$(value "$payload" source1_frequency)" "$(value "$payload" source2_l1_voltage)" \
                "$(value "$payload" source2_frequency)" "$(value "$payload" output_l1_load)" \
                "$(value "$payload" temperature)"
        fi
    done
