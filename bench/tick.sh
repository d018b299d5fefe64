#!/usr/bin/env bash
# tick.sh [SECONDS]: the CPU time an idle Halvika with 1,000 alarms spends per 30-second tick, beside a bare
# Qt window with an empty 30-second timer (the floor), both shown under Xvfb and running side by side, so that
# they share the machine's state. Read with perf stat over SECONDS (default 300: ten ticks; at most 3600, as
# no alarm is due in this hour or the next).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure-packages.sh xvfb x11-utils dbus-x11 linux-perf
seconds=${1:-300}
build=${HALVIKA_BENCH_BUILD:-build/bench}
if [ -z "${HALVIKA_BENCH_BUILD:-}" ]; then
    cmake --preset bench >/dev/null
    cmake --build --preset bench --target halvika bare_window >/dev/null
fi
work=$(mktemp -d)
pids=()
# Halvika saves its settings when told to end: it has ended before its home goes.
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT

. bench/desktop-session.sh
pids+=("$xvfb" "$DBUS_SESSION_BUS_PID")
# Idle means no alarm sounds while the ticks are measured: none falls in this hour or the next.
[ "$seconds" -le 3600 ] || { echo "at most 3600 seconds: the alarms keep only two hours free" >&2; exit 2; }
bench/make-home.sh "$work/home" 1000 10 "$(date +%H)"
# Used once, as a returning user's home is: the plug-ins are described, so no plug-in program runs (and is
# counted with Halvika's children) while the ticks are measured.
"$build/halvika" --home "$work/home" >/dev/null 2>&1 &
sleep 5
kill $! && wait $! 2>/dev/null || true

HALVIKA_BARE_TICK=1 "$build/bench/bare_window" >/dev/null 2>&1 &
bare=$!
"$build/halvika" --home "$work/home" >/dev/null 2>&1 &
halvika=$!
pids+=("$bare" "$halvika")
sleep 10 # both settled: plug-ins described, lists filled, the first save done
perf stat -x, -e task-clock -p "$bare" -o "$work/bare" sleep "$seconds" &
floorStat=$!
perf stat -x, -e task-clock -p "$halvika" -o "$work/halvika" sleep "$seconds"
wait "$floorStat"
ticks=$((seconds / 30))
perTick() { awk -F, -v n="$ticks" '/task-clock/ { printf "%.2f", $1 / n }' "$1"; }
b=$(perTick "$work/bare") h=$(perTick "$work/halvika")
echo "CPU per idle tick over $seconds s ($ticks ticks)"
printf '  bare Qt window, empty timer   %s ms\n' "$b"
printf '  Halvika, 1,000 alarms         %s ms   (its own share above the floor: %s ms)\n' "$h" \
    "$(awk -v a="$h" -v b="$b" 'BEGIN { printf "%.2f", a - b }')"
