#!/bin/sh
# The window's command line as a user meets it: --help and --version print
# without a display; an unknown option is refused; Qt's own options are
# taken; a file named in Latin-1 bytes loads; started elsewhere with a
# mission from a game folder, that folder becomes the start folder and is
# remembered; a SIGTERM ends the session in order.
set -eu
kestrane=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

env -u DISPLAY -u WAYLAND_DISPLAY "$kestrane" --version | grep -qx 'kestrane [0-9][0-9.]*' || fail "--version"
env -u DISPLAY -u WAYLAND_DISPLAY "$kestrane" --help | grep -q 'Qt.s standard options' || fail "--help"

export XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" QT_QPA_PLATFORM=offscreen
if "$kestrane" --frobnicate 2>"$tmp/err"; then fail "an unknown option was taken"; fi
grep -q 'unknown option --frobnicate' "$tmp/err" || fail "the unknown option is not named"

mkdir -p "$tmp/game" "$tmp/elsewhere"
printf 'Spitfire\n' > "$tmp/game/planes.txt"
latin1=$(printf 'caf\351.msn')
{ printf '\0\0\0\0\145\2\0\252'; head -c 392 /dev/zero; } > "$tmp/game/$latin1"

# Started elsewhere with the mission as its argument, under another style.
cd "$tmp/elsewhere"
"$kestrane" -style Fusion "$tmp/game/$latin1" 2>"$tmp/err" &
pid=$!
conf="$tmp/config/kestrane/kestrane.conf"
for _ in $(seq 1 50); do grep -qa 'caf' "$conf" 2>/dev/null && break; sleep 0.1; done
kill -TERM "$pid"
wait "$pid" || fail "a SIGTERM did not end the session in order: $(cat "$tmp/err")"
grep -qa 'missions=.*game/caf' "$conf" || fail "the Latin-1 file did not load: $(cat "$conf")"
grep -qa "folder=.*$tmp/game" "$conf" || fail "the mission's game folder was not remembered: $(cat "$conf")"
echo "the window's command line: ok"
