#!/usr/bin/env bash
# Builds the Release benchmark programs and prints one table of the figures
# that must not move when the code is only rearranged: receive assembly,
# window stall while polling, recording conversion, firmware upgrade
# turnaround. Every figure is the median of three runs. Run it on a quiet
# machine, from the top of a checkout:
#
#   tools/bench-redesign.sh [BUILD_DIR]     (default build-rel)
set -euo pipefail

cd "$(dirname "$0")/.."
build=${1:-build-rel}
runs=3
export CCACHE_BASEDIR=$PWD

if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCELLVANE_BENCHMARKS=ON >/dev/null
fi
cmake --build "$build" -j2 --target bench_receive window_stall convert_bench upgrade_turnaround \
    cellvane-sim >/dev/null
bin=$build/bench

median() { sort -g | awk '{ v[NR] = $1 } END { print NR ? v[int((NR + 1) / 2)] : "-" }'; }
row() { printf '%-46s %12s %12s\n' "$1" "$2" "$3"; }
failures=()

echo "cellvane benchmarks, $(git describe --tags --always --dirty), $(date -u +%F), median of $runs runs"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
row "figure" "value" "second"
row "----------------------------------------------" "------------" "------------"

# Receive assembly: CPU ms per 1 MiB stream and MB/s (Google Benchmark's own
# median over repetitions).
"$bin/bench_receive" --benchmark_repetitions=$runs --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null | tr -d '"' |
    awk -F, '$1 ~ /_median$/ { sub(/_median$/, "", $1);
        printf "%-46s %9.3f ms %7.1f MB/s\n", "receive " $1, $4, $6 / 1e6 }'

# Window stall while polling at 115200 baud: the longest gap in this thread's
# CPU time and in wall time (10 s of polling).
for mode in "" "--console --charts" "--full --console --charts"; do
    name=${mode:-plain}
    name=${name//--/}
    cpu=() wall=()
    for ((i = 0; i < runs; ++i)); do
        # shellcheck disable=SC2086
        out=$("$bin/window_stall" 10 --baud 115200 $mode 2>/dev/null) || failures+=("window_stall $mode")
        read -r w c < <(awk '/^polling:/ { print $4, $7 }' <<<"$out") || true
        wall+=("$w") cpu+=("$c")
    done
    row "stall $name: CPU, wall ms" \
        "$(printf '%s\n' "${cpu[@]}" | median)" "$(printf '%s\n' "${wall[@]}" | median)"
done

# Conversion of a day of recording (86,400 lines).
secs=() peak=()
for ((i = 0; i < runs; ++i)); do
    out=$("$bin/convert_bench" 2>/dev/null) || failures+=("convert_bench")
    secs+=("$(awk '/^converted/ { print $5 }' <<<"$out")")
    peak+=("$(awk '/^peak memory:/ { print $3 }' <<<"$out")")
done
row "convert 86400 lines: s, peak MB" \
    "$(printf '%s\n' "${secs[@]}" | median)" "$(printf '%s\n' "${peak[@]}" | median)"

# Firmware upgrade of 256 KiB at 115200 baud against the simulator.
tmed=() tp95=() tmax=() cmed=() total=() transfer=()
for ((i = 0; i < runs; ++i)); do
    out=$("$bin/upgrade_turnaround" 256 --baud 115200 2>/dev/null) || failures+=("upgrade_turnaround")
    grep -q ': succeeded' <<<"$out" || failures+=("upgrade_turnaround: $(head -1 <<<"$out")")
    read -r a b c < <(awk '/^turnaround ms:/ { print $4, $6, $8 }' <<<"$out") || true
    tmed+=("$a") tp95+=("$b") tmax+=("$c")
    cmed+=("$(awk '/^cycle ms:/ { print $4 }' <<<"$out")")
    read -r a b < <(awk '/^total ms:/ { sub(/\)/, "", $9); print $3, $9 }' <<<"$out") || true
    total+=("$a") transfer+=("$b")
done
row "upgrade answer->frame: median, p95 ms" \
    "$(printf '%s\n' "${tmed[@]}" | median)" "$(printf '%s\n' "${tp95[@]}" | median)"
row "upgrade answer->frame max, cycle median ms" \
    "$(printf '%s\n' "${tmax[@]}" | median)" "$(printf '%s\n' "${cmed[@]}" | median)"
row "upgrade 256 KiB: total, transfer ms" \
    "$(printf '%s\n' "${total[@]}" | median)" "$(printf '%s\n' "${transfer[@]}" | median)"

echo "stall: longest event-loop gap while polling; answer->frame: upgrade answer accepted to"
echo "the next frame handed to the port; cycle: frame to frame; transfer: first frame to last answer"
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"
if [ ${#failures[@]} -gt 0 ]; then
    printf 'failed run: %s\n' "${failures[@]}"
    exit 1
fi
