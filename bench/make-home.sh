#!/usr/bin/env bash
# make-home.sh FOLDER ALARMS [GROUPS [QUIET_HOUR]]: a home folder that starts without questions (English,
# start-up check off) holding ALARMS alarms spread over GROUPS groups: daily, weekday-only and one-time alarms
# over the day. With QUIET_HOUR (0-23), no alarm falls in that hour or the next.
set -euo pipefail
home=$1 alarms=$2 groups=${3:-10} quiet=${4:-}
rm -rf "$home"
mkdir -p "$home"
printf 3 >"$home/state"
printf '<settings><lng>English</lng></settings>\n' >"$home/usr.cfx"
[ "$alarms" -gt 0 ] || exit 0
year=$(date +%Y)
per=$(((alarms + groups - 1) / groups))
made=0
for ((g = 0; g < groups && made < alarms; g++)); do
    {
        printf '<algr><name>Group %d</name><stat>-1</stat><colr>%d</colr>' "$g" $((g * 2000))
        for ((i = 0; i < per && made < alarms; i++, made++)); do
            hour=$((i % 24)) minute=$(((i * 7) % 60))
            [ -z "$quiet" ] || hour=$(((10#$quiet + 2 + i % 22) % 24))
            printf '<alrm><name>Alarm %d of group %d</name><stat>-1</stat>' "$i" "$g"
            case $((i % 3)) in
            0) printf '<datk>1</datk><perl>1</perl><peru>3</peru><nexd>%d/01/01 %02d:%02d:00</nexd>' "$year" "$hour" "$minute" ;;
            1) printf '<datk>1</datk><perl>1</perl><peru>3</peru><actp>2</actp><wkdy>62</wkdy><nexd>%d/01/01 %02d:%02d:00</nexd>' "$year" "$hour" "$minute" ;;
            2) printf '<oncd>%d/12/31 %02d:%02d:00</oncd>' $((year + 1)) "$hour" "$minute" ;;
            esac
            printf '<acti><acid>1</acid><plug></plug><sett><s>Message %d</s></sett></acti></alrm>' "$i"
        done
        printf '</algr>\n'
    } >"$home/usg_$g.agx"
done
