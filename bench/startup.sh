#!/usr/bin/env bash
# startup.sh [RUNS]: time from starting a program to its painted main window, under Xvfb, for a bare Qt
# window (the floor, bench/BareWindow.cpp) and for Halvika with 0 and with 1,000 alarms in 10 groups, taking
# turns so that the machine's drift hits all three alike. Then the memory of each, settled, with the window
# shown. Each run starts from a fresh copy of its home folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh xvfb x11-utils dbus-x11
runs=${1:-20}
build=${HALVIKA_BENCH_BUILD:-build/bench}
if [ -z "${HALVIKA_BENCH_BUILD:-}" ]; then
    cmake --preset bench >/dev/null
    cmake --build --preset bench --target halvika bare_window halvika_ical_plugin halvika_notify_plugin >/dev/null
fi
halvika=$build/halvika
bare=$build/bench/bare_window
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. bench/desktop-session.sh
trap 'kill $xvfb $DBUS_SESSION_BUS_PID 2>/dev/null || true; rm -rf "$work"' EXIT

bench/make-home.sh "$work/h0" 0
bench/make-home.sh "$work/h1000" 1000 10

# One start: prints the milliseconds from exec to the first painted frame.
startOnce() {
    local t0 painted
    t0=$EPOCHREALTIME
    painted=$(HALVIKA_FIRST_PAINT_PROBE=1 "$@" 2>/dev/null | awk '/^first-paint/ {print $2}')
    awk -v a="$t0" -v b="$painted" 'BEGIN { printf "%.1f\n", (b - a) * 1000 }'
}
startHalvika() {
    rm -rf "$work/run"
    cp -r "$work/$1" "$work/run"
    startOnce "$halvika" --home "$work/run"
}

: >"$work/bare" && : >"$work/h0.times" && : >"$work/h1000.times"
# Each home has been used once, as a returning user's has: settings written, plug-ins described. That run
# also warms the system's file caches for all three programs.
startOnce "$bare" >/dev/null
for home in h0 h1000; do
    "$halvika" --home "$work/$home" >/dev/null 2>&1 &
    sleep 3
    kill $! && wait $! 2>/dev/null || true
done
for _ in $(seq "$runs"); do
    startOnce "$bare" >>"$work/bare"
    startHalvika h0 >>"$work/h0.times"
    startHalvika h1000 >>"$work/h1000.times"
done

stats() { sort -n "$1" | awk '{ v[NR] = $1 } END { m = int((NR + 1) / 2); p = int(NR * 0.95 + 0.999);
    printf "median %7.1f ms   p95 %7.1f ms   (%d runs)", v[m], v[p], NR }'; }
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
floor=$(median "$work/bare")
echo "start-up to the painted main window"
printf '  bare Qt window          %s\n' "$(stats "$work/bare")"
printf '  Halvika, 0 alarms       %s   %.2fx the floor\n' "$(stats "$work/h0.times")" \
    "$(awk -v a="$(median "$work/h0.times")" -v b="$floor" 'BEGIN { print a / b }')"
printf '  Halvika, 1,000 alarms   %s   %.2fx the floor\n' "$(stats "$work/h1000.times")" \
    "$(awk -v a="$(median "$work/h1000.times")" -v b="$floor" 'BEGIN { print a / b }')"

# Memory once settled (3 s after start, the window shown): resident set, private memory, and the private
# part of the C library's heap (the brk heap and anonymous mappings).
memory() {
    local pid=$1
    awk '/^Rss:/ { rss = $2 } /^Private_Clean:|^Private_Dirty:/ { priv += $2 }
         END { printf "RSS %6.1f MiB   private %6.1f MiB", rss / 1024, priv / 1024 }' "/proc/$pid/smaps_rollup"
    awk '/^[0-9a-f]+-[0-9a-f]+ / { anon = ($6 == "" || $6 == "[heap]") }
         anon && /^Private_Dirty:/ { heap += $2 }
         END { printf "   private heap %6.1f MiB\n", heap / 1024 }' "/proc/$pid/smaps"
}
echo "memory, settled"
"$bare" >/dev/null 2>&1 &
pid=$!
sleep 3
printf '  bare Qt window          %s' "$(memory $pid)"
echo
kill $pid && wait $pid 2>/dev/null || true
for home in h0 h1000; do
    rm -rf "$work/run" && cp -r "$work/$home" "$work/run"
    "$halvika" --home "$work/run" >/dev/null 2>&1 &
    pid=$!
    sleep 3
    printf '  Halvika, %-13s %s' "${home#h} alarms" "$(memory $pid)"
    echo
    kill $pid && wait $pid 2>/dev/null || true
done
