#!/usr/bin/env bash
# Installs the Debian package into a staging folder (no root, no chroot) and checks it: its files, its
# menu entry, its dependencies, and that the installed programs run on their own data.
set -euo pipefail
deb="$1"
stage=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$stage" "$home"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }

dpkg-deb -x "$deb" "$stage"
for f in usr/bin/halvika usr/bin/halvika-cli usr/share/applications/halvika.desktop \
    usr/share/icons/hicolor/scalable/apps/halvika.svg usr/share/man/man1/halvika.1 usr/share/man/man1/halvika-cli.1 \
    usr/share/halvika/English.lng usr/share/halvika/Deutsch.lng usr/share/halvika/hgrstyle.css \
    usr/share/halvika/sounds/ring.wav usr/share/halvika/PlugIns/HalvikaICal.plugin \
    usr/share/halvika/PlugIns/HalvikaNotify.plugin usr/share/halvika/PlugIns/HalvikaCalDAV.plugin \
    usr/libexec/halvika/halvika-wakealarm \
    usr/share/polkit-1/actions/org.halvika.wakealarm.policy; do
    [ -e "$stage/$f" ] || fail "$f is missing"
done
desktop-file-validate "$stage/usr/share/applications/halvika.desktop" || fail "the menu entry is not valid"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6dbus6 libqt6network6 libical3 libc6 gstreamer1.0-plugins-good; do
    echo "$depends" | grep -q "$d" || fail "Depends lacks $d: $depends"
done

# The wake-up helper is allowed to active local sessions only, by its installed path; it refuses what is not
# one checked number before touching anything.
policy="$stage/usr/share/polkit-1/actions/org.halvika.wakealarm.policy"
grep -q '<allow_any>no</allow_any>' "$policy" && grep -q '<allow_inactive>no</allow_inactive>' "$policy" &&
    grep -q '<allow_active>yes</allow_active>' "$policy" || fail "the polkit action allows more than active sessions"
grep -q '"org.freedesktop.policykit.exec.path">/usr/libexec/halvika/halvika-wakealarm<' "$policy" ||
    fail "the polkit action does not name the installed helper"
status=0
"$stage/usr/libexec/halvika/halvika-wakealarm" "1; reboot" 2>/dev/null || status=$?
[ "$status" = 64 ] || fail "the wake-up helper accepted a bad argument (status $status)"

# The installed halvika-cli finds the installed iCalendar plug-in beside it.
printf 'BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//check//EN\r\nX-WR-CALNAME:Check\r\nBEGIN:VEVENT\r\nUID:1@check\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20301224T180000\r\nSUMMARY:Candles\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n' >"$home/check.ics"
"$stage/usr/bin/halvika-cli" import "$home/check.ics" --to "$home" | grep -q "^Check" || fail "halvika-cli could not import"
next=$("$stage/usr/bin/halvika-cli" next "$home/usg_0.agx" --after "2030/01/01 00:00:00")
[ "$next" = "$(printf 'Candles\t2030/12/24 18:00:00')" ] || fail "halvika-cli next said: $next"

# The installed halvika starts on a fresh home folder with its own language file, and ends properly.
printf '<settings><lng>English</lng></settings>' >"$home/usr.cfx"
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$home/config" DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
    "$stage/usr/bin/halvika" --home "$home" >"$home/halvika.log" 2>&1 &
pid=$!
for _ in $(seq 300); do
    [ "$(cat "$home/state" 2>/dev/null)" = 2 ] && break
    sleep 0.1
done
[ "$(cat "$home/state" 2>/dev/null)" = 2 ] || { cat "$home/halvika.log"; fail "halvika did not start"; }
sleep 1
kill -TERM "$pid"
wait "$pid" || fail "halvika ended with status $?"
[ "$(cat "$home/state")" = 1 ] || fail "halvika did not end properly"
echo "package check: $(basename "$deb") installs and runs"
