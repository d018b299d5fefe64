#!/usr/bin/env bash
# lateness.sh [ALARMS]: how late Halvika starts an alarm's command after its due second, beside the floor (a
# minimal program that sleeps to the second and spawns the same stamp program), idle and with one busy
# process per core (nice 0). Both run at the same time, taking turns: Halvika's ALARMS one-time alarms are
# one second apart, and the floor's shots fall half a second after each of them, so the two meet the same
# machine, minute by minute, and never compete. Every command writes the wall-clock time at its start.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-30}
build=${HALVIKA_BENCH_BUILD:-build/bench}
if [ -z "${HALVIKA_BENCH_BUILD:-}" ]; then
    cmake --preset bench >/dev/null
    cmake --build --preset bench --target halvika bench_stamp lateness_floor >/dev/null
fi
halvika=$build/halvika
stamp=$(realpath "$build/bench/halvika_stamp")
floor=$build/bench/lateness_floor
work=$(mktemp -d)
load=()
stopLoad() {
    [ ${#load[@]} -eq 0 ] || kill "${load[@]}" 2>/dev/null || true
    load=()
}
trap 'stopLoad; rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

# Milliseconds from each due second to its command's start, in order: STAMPS FIRST.
latenesses() { awk -v first="$2" '{ print ($2 - (first + $1)) * 1000 }' "$1" | sort -n; }
summarise() {
    latenesses "$@" | awk '{ v[NR] = $1 } END { p = int(NR * 0.95 + 0.999);
        printf "median %6.2f ms   p95 %6.2f ms   max %6.2f ms   (%d alarms)", v[int((NR + 1) / 2)], v[p], v[NR], NR }'
}
p95() { latenesses "$@" | awk '{ v[NR] = $1 } END { print v[int(NR * 0.95 + 0.999)] }'; }

# One run of both, each writing its stamps and its first due moment as STATE files.
runBoth() {
    local first=$(($(date +%s) + 4)) home=$work/home
    rm -f "$work/stamps" "$work/floor-stamps"
    bench/make-home.sh "$home" 0
    {
        printf '<algr><name>Lateness</name><stat>-1</stat><chsi>0</chsi>'
        for ((i = 0; i < count; i++)); do
            printf '<alrm><name>A%d</name><datk>0</datk><oncd>%s</oncd><acti><acid>4</acid><plug></plug>' \
                "$i" "$(date -d "@$((first + i))" '+%Y/%m/%d %H:%M:%S')"
            printf '<sett><s>%s|%s %d</s></sett></acti></alrm>' "$stamp" "$work/stamps" "$i"
        done
        printf '</algr>\n'
    } >"$home/usg_0.agx"
    "$halvika" --home "$home" >/dev/null 2>&1 &
    local pid=$!
    "$floor" "$first" "$count" "$stamp" "$work/floor-stamps" 500
    while [ "$(cat "$work/stamps" 2>/dev/null | wc -l)" -lt "$count" ]; do
        sleep 0.5
        [ $(($(date +%s) - first)) -lt $((count + 30)) ] || break
    done
    kill $pid && wait $pid 2>/dev/null || true
    cp "$work/stamps" "$work/halvika.$1"
    echo "$first" >"$work/halvika.$1.first"
    cp "$work/floor-stamps" "$work/floor.$1"
    echo "$first.5" >"$work/floor.$1.first"
}

runBoth idle
for _ in $(seq "$(nproc)"); do
    nice -n 0 bash -c 'while :; do :; done' &
    load+=($!)
done
runBoth loaded
stopLoad

for state in idle loaded; do
    echo "$state ($(nproc) cores$([ $state = loaded ] && echo ", one busy process on each"))"
    printf '  floor     %s\n' "$(summarise "$work/floor.$state" "$(cat "$work/floor.$state.first")")"
    printf '  Halvika   %s   p95 %.2fx the floor\n' \
        "$(summarise "$work/halvika.$state" "$(cat "$work/halvika.$state.first")")" \
        "$(awk -v a="$(p95 "$work/halvika.$state" "$(cat "$work/halvika.$state.first")")" \
            -v b="$(p95 "$work/floor.$state" "$(cat "$work/floor.$state.first")")" 'BEGIN { print a / b }')"
done
