#!/bin/sh
# The window's command line as a user meets it: --help and --version print
# without a display; an unknown option is refused; Qt's own options are
# taken; a file named in Latin-1 bytes loads; started elsewhere with a
# mission from a game folder, that folder becomes the start folder and is
# remembered; a SIGTERM ends the session in order. With no display it says so;
# a settings file that is not a plain file is left alone.
set -eu
kestrane=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

env -u DISPLAY -u WAYLAND_DISPLAY "$kestrane" --version | grep -qx 'kestrane [0-9][0-9.]*' || fail "--version"
env -u DISPLAY -u WAYLAND_DISPLAY "$kestrane" --help | grep -q 'Qt.s standard options' || fail "--help"

# No display: one line saying so, and the status for a wrong start, not an abort.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$tmp/config" "$kestrane" 2>"$tmp/err" || status=$?
[ "$status" = 2 ] || fail "with no display the exit status is $status, not 2: $(cat "$tmp/err")"
[ "$(wc -l <"$tmp/err")" = 1 ] && grep -q 'no display was found (DISPLAY is not set).*-platform offscreen' "$tmp/err" ||
  fail "with no display: $(cat "$tmp/err")"

export XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" QT_QPA_PLATFORM=offscreen

# A settings file that is a pipe, a device, or a link to a device is left as
# it is, and the editor neither waits on it nor writes through it. The device
# is a node of the test's own, never one of the system's.
mkdir -p "$tmp/config/kestrane"
conf="$tmp/config/kestrane/kestrane.conf"
mkfifo "$conf"
timeout 20 "$kestrane" -platform offscreen >/dev/null 2>&1 &
pid=$!
sleep 2
kill -TERM "$pid" 2>/dev/null || fail "the editor ended by itself with a pipe as its settings file"
wait "$pid" || fail "a pipe as the settings file hung the editor, or it did not end in order"
[ -p "$conf" ] || fail "the pipe was replaced"
rm "$conf"
if mknod "$tmp/zero" c 1 5 2>/dev/null; then
  for how in node link; do
    rm -f "$conf"
    if [ $how = node ]; then mknod "$conf" c 1 5; else ln -s "$tmp/zero" "$conf"; fi
    "$kestrane" -platform offscreen >/dev/null 2>&1 &
    pid=$!
    sleep 2
    kill -TERM "$pid"; wait "$pid" || fail "a device ($how) as the settings file: the session did not end in order"
    [ -c "$tmp/zero" ] || fail "the device behind a link was replaced by a plain file"
    [ $how = link ] || [ -c "$conf" ] || fail "the device was replaced by a plain file"
  done
  rm -f "$conf"
fi
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
