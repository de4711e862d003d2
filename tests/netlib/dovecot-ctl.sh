#!/usr/bin/env bash
# Control of the test Dovecot (dovecot-fixture.sh) for the Windows tests, which run this script natively through
# Wine and read its standard output.
#
#   dovecot-ctl.sh <dir> reset <user>               empty the user's mail store
#   dovecot-ctl.sh <dir> save <user> <file>         append one message (a Unix path) to INBOX; prints its UID
#   dovecot-ctl.sh <dir> bulk <user> <count> <day>  append count unseen messages dated <day> ("1 Jan 2024"),
#                                                   a minute apart from 00:00 UTC on
#   dovecot-ctl.sh <dir> flag <user> <uid> <flag>   add a flag or keyword to one message
#   dovecot-ctl.sh <dir> flags <user>               print "uid flags" per message of INBOX
#   dovecot-ctl.sh <dir> commands <user>            print the post-login commands of the user's last session
#   dovecot-ctl.sh <dir> logsize                    print the size of the server log
#   dovecot-ctl.sh <dir> logfrom <offset>           print the server log from a byte offset
#
# Wine can start a Unix program but neither wait for it nor read its exit code, so a caller from Wine adds
# "--result <file>" after <dir>: the output then goes to <file>.out and the exit code, last, to <file>.rc.
set -euo pipefail
# Started from Wine, the script inherits a Windows PATH.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin

if [ "${2:-}" = "--result" ]; then
    result=$3
    rc=0
    bash "$(readlink -f "${BASH_SOURCE[0]}" 2>/dev/null || echo "${BASH_SOURCE[0]}")" "$1" "${@:4}" \
        >"$result.out" 2>"$result.err" </dev/null || rc=$?
    echo "$rc" >"$result.rc.tmp"
    mv "$result.rc.tmp" "$result.rc"
    exit 0
fi

dir=${1:?dir}
cmd=${2:?command}
conf="$dir/dovecot.conf"
owner="$(id -u nobody):$(id -g nobody)"
doveadm_() { doveadm -c "$conf" "$@"; }

case "$cmd" in
reset)
    user=$3
    rm -rf "$dir/home/$user/Maildir"
    rm -rf "$dir/rawlog/$user"
    mkdir -p "$dir/home/$user/Maildir"/{cur,new,tmp} "$dir/rawlog/$user"
    chown -R "$owner" "$dir/home/$user" "$dir/rawlog/$user"
    ;;
save)
    user=$3
    doveadm_ save -u "$user" -m INBOX <"$4"
    doveadm_ search -u "$user" mailbox INBOX all | tail -n 1 | awk '{print $2}'
    ;;
bulk)
    user=$3 count=$4 day=$5
    new="$dir/home/$user/Maildir/new"
    mkdir -p "$new"
    for i in $(seq "$count"); do
        date=$(printf '%s %02d:%02d:00 +0000' "$day" $((i / 60 % 24)) $((i % 60)))
        printf 'Date: %s\r\nFrom: Bulk Sender <bulk@example.test>\r\nSubject: bulk %d\r\n\r\nBody %d\r\n' \
            "$date" "$i" "$i" >"$new/$(printf '%d.%06d.bulk' 1700000000 "$i")"
    done
    chown -R "$owner" "$dir/home/$user"
    doveadm_ mailbox status -u "$user" messages INBOX >/dev/null
    ;;
flag)
    doveadm_ flags add -u "$3" "$5" mailbox INBOX uid "$4"
    ;;
flags)
    doveadm_ -f flow fetch -u "$3" 'uid flags' mailbox INBOX all
    ;;
commands)
    user=$3
    last=$(ls -t "$dir/rawlog/$user/"*.in 2>/dev/null | head -n 1 || true)
    [ -n "$last" ] && cat "$last"
    ;;
logsize)
    stat -c %s "$dir/dovecot.log"
    ;;
logfrom)
    tail -c +"$(($3 + 1))" "$dir/dovecot.log"
    ;;
*)
    echo "unknown command $cmd" >&2
    exit 2
    ;;
esac
