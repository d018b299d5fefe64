# Sourced by the scripts that show windows: Xvfb on a display of its own (1280x1024, 24 bits) and a session
# bus of its own, as on a desktop (without one, Qt would start one for every run). Leaves the server's
# process id in $xvfb and the bus's in $DBUS_SESSION_BUS_PID, for the caller to end.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    xdpyinfo -display "$display" >/dev/null 2>&1 && break
    sleep 0.05
done
export DISPLAY=$display QT_QPA_PLATFORM=xcb
eval "$(dbus-launch --sh-syntax)"
