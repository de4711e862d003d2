#!/usr/bin/env bash
# Test fixture: a private Dovecot IMAP server on loopback with implicit TLS, for the mail-check tests.
#
#   dovecot-fixture.sh start <dir>   make a test PKI, config and users under <dir>, start Dovecot, write <dir>/info
#   dovecot-fixture.sh stop <dir>    stop that Dovecot by the pid it recorded
#
# <dir>/info holds KEY=VALUE lines for the Windows tests: the ports, the users and the PKI file names. The server
# has two addresses. 127.0.0.1 serves a certificate for "localhost" from the test CA (which the tests add to the
# Windows root store) only to clients that ask for "localhost" by SNI, and one for "other.test" from the same CA
# to the rest; 127.0.0.2 serves one from a CA nobody trusts. Post-login commands go to a rawlog per session, in a
# folder per user; the log records every authentication attempt.
set -euo pipefail

cmd=${1:?usage: dovecot-fixture.sh start|stop <dir>}
dir=${2:?usage: dovecot-fixture.sh start|stop <dir>}

stop() {
    if [ -f "$dir/base/master.pid" ]; then
        pid=$(cat "$dir/base/master.pid")
        # A pid file left by an earlier run may name a process that has since taken over the number: only the
        # Dovecot that runs on this folder's configuration is ours to stop.
        if tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF -- "$dir/dovecot.conf"; then
            kill "$pid" 2>/dev/null || true
            for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
            kill -9 "$pid" 2>/dev/null || true
        fi
        rm -f "$dir/base/master.pid"
    fi
}

# A port nothing listens on (the small race with other programs is acceptable for a test fixture).
free_port() {
    local p
    for _ in $(seq 200); do
        p=$((20000 + RANDOM % 40000))
        (echo >"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { echo "$p"; return; }
    done
    echo "no free port" >&2
    return 1
}

case "$cmd" in
stop)
    stop
    ;;
start)
    command -v dovecot >/dev/null || command -v /usr/sbin/dovecot >/dev/null || { echo "dovecot is not installed" >&2; exit 1; }
    stop
    rm -rf "$dir"
    mkdir -p "$dir"/{pki,base,state,rawlog,home}
    dir=$(cd "$dir" && pwd)
    pki="$dir/pki"
    # Test PKI: a trusted CA with a "localhost" server certificate, and an untrusted CA with its own.
    make_ca() { openssl req -x509 -newkey rsa:2048 -nodes -keyout "$pki/$1.key" -out "$pki/$1.pem" -days 3650 \
        -subj "/CN=$2" -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
        2>/dev/null; }
    make_cert() { # name ca san
        openssl req -newkey rsa:2048 -nodes -keyout "$pki/$1.key" -out "$pki/$1.csr" -subj "/CN=$1" 2>/dev/null
        printf 'subjectAltName=%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' "$3" >"$pki/$1.ext"
        openssl x509 -req -in "$pki/$1.csr" -CA "$pki/$2.pem" -CAkey "$pki/$2.key" -CAcreateserial \
            -out "$pki/$1.pem" -days 3650 -extfile "$pki/$1.ext" 2>/dev/null
    }
    make_ca ca "Trelm Test CA"
    make_ca rogue-ca "Trelm Rogue CA"
    make_cert localhost ca "DNS:localhost"
    make_cert other ca "DNS:other.test"
    make_cert rogue rogue-ca "DNS:localhost,IP:127.0.0.2"
    openssl x509 -in "$pki/ca.pem" -outform DER -out "$pki/ca.der"
    chmod 644 "$pki"/*

    # Mail users live as nobody; Dovecot's login processes run as dovenull.
    uid=$(id -u nobody); gid=$(id -g nobody)
    : >"$dir/passwd"
    for user in user@example.test other@example.test victim@example.test; do
        printf '%s:{PLAIN}secret:%s:%s::%s/home/%s::\n' "$user" "$uid" "$gid" "$dir" "$user" >>"$dir/passwd"
        mkdir -p "$dir/home/$user" "$dir/rawlog/$user"
    done
    # A user whose password holds non-ASCII characters (Cyrillic "пароль" in UTF-8), for literal logins.
    printf '%s:{PLAIN}%s:%s:%s::%s/home/%s::\n' "utf@example.test" "пароль" "$uid" "$gid" "$dir" "utf@example.test" >>"$dir/passwd"
    mkdir -p "$dir/home/utf@example.test" "$dir/rawlog/utf@example.test"
    chown -R "$uid:$gid" "$dir/home" "$dir/rawlog"
    chmod 755 "$dir" "$dir/home"

    port=$(free_port)
    cat >"$dir/dovecot.conf" <<CONF
base_dir = $dir/base
state_dir = $dir/state
instance_name = trelm-test-$port
listen = 127.0.0.1, 127.0.0.2
protocols = imap
ssl = required
ssl_min_protocol = TLSv1.2
ssl_cert = <$pki/other.pem
ssl_key = <$pki/other.key
local_name localhost {
  ssl_cert = <$pki/localhost.pem
  ssl_key = <$pki/localhost.key
}
local 127.0.0.2 {
  ssl_cert = <$pki/rogue.pem
  ssl_key = <$pki/rogue.key
}
log_path = $dir/dovecot.log
auth_verbose = yes
disable_plaintext_auth = no
auth_mechanisms = plain login
default_internal_user = dovecot
default_internal_group = dovecot
default_login_user = dovenull
first_valid_uid = 1
mail_location = maildir:~/Maildir
passdb {
  driver = passwd-file
  args = $dir/passwd
}
userdb {
  driver = passwd-file
  args = $dir/passwd
}
service imap-login {
  chroot =
  inet_listener imap {
    port = 0
  }
  inet_listener imaps {
    port = $port
    ssl = yes
  }
}
service anvil {
  chroot =
}
protocol imap {
  rawlog_dir = $dir/rawlog/%u
}
CONF
    # Dovecot stays in the background: it must not hold ctest's pipes, or ctest waits for it for ever.
    dovecot -c "$dir/dovecot.conf" </dev/null >"$dir/dovecot.stderr" 2>&1
    for _ in $(seq 100); do
        [ -s "$dir/base/master.pid" ] && (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
        sleep 0.1
    done
    (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "dovecot did not start" >&2; cat "$dir/dovecot.log" >&2 || true; exit 1; }
    cat >"$dir/info" <<INFO
PORT=$port
DIR=$dir
CA_DER=$pki/ca.der
CA_PEM=$pki/ca.pem
SERVER_CERT=$pki/localhost.pem
SERVER_KEY=$pki/localhost.key
ROGUE_CERT=$pki/rogue.pem
ROGUE_KEY=$pki/rogue.key
INFO
    ;;
*)
    echo "usage: dovecot-fixture.sh start|stop <dir>" >&2
    exit 2
    ;;
esac
