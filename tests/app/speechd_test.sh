#!/bin/bash
# Kotonel through the real speech-dispatcher: installs the build into a temporary prefix, runs
# a private speech-dispatcher (its own configuration, runtime and log folders) that loads the
# installed module configuration, and speaks through it with spd-say.
#
# No sound card is needed: speech-dispatcher's ALSA output is pointed at ALSA's "null" device
# (the module only has to open it), and the generic module pipes kotonel-say's WAV stream into
# the player named by that output ($PLAY_COMMAND, "aplay" for ALSA), which this test replaces,
# through PATH, by a script that stores the stream in a file and, while a file "hold" exists,
# then stays "playing" for a minute, as a long message would.
#
# Checks: the module loads and lists the eight voices; a Japanese line is synthesized through
# kotonel-say (a WAV stream with sound in it); speech-dispatcher's rate and voice reach it; a
# stop request (spd-say -S, and -C) ends the command and its player at once; quotes in the
# text stay text.
#
# usage: speechd_test.sh BUILD_DIR     (exit 77: speech-dispatcher is not installed)
set -uo pipefail
build=$(cd "$1" && pwd)
for program in speech-dispatcher spd-say; do
  command -v $program >/dev/null || {
    echo "SKIPPED: $program is not installed (Debian packages speech-dispatcher)"
    exit 77
  }
done
modules=/usr/lib/speech-dispatcher-modules
[ -x $modules/sd_generic ] || {
  echo "SKIPPED: $modules/sd_generic is missing (Debian package speech-dispatcher)"
  exit 77
}

tmp=$(mktemp -d)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  [ -f "$tmp/out/pgid" ] && pkill -KILL -g "$(cat "$tmp/out/pgid")" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  for log in "$tmp"/log/*.log; do
    [ -f "$log" ] && {
      echo "--- $log" >&2
      tail -n 30 "$log" >&2
    }
  done
  exit 1
}

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || fail "cmake --install"
conf=$prefix/share/kotonel/speech-dispatcher/kotonel.conf

mkdir -p "$tmp/conf" "$tmp/log" "$tmp/run" "$tmp/home" "$tmp/fake" "$tmp/out"
chmod 700 "$tmp/run"
cat >"$tmp/conf/speechd.conf" <<CONF
LogLevel 4
LogDir "$tmp/log"
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "kotonel" "sd_generic" "$conf"
DefaultModule "kotonel"
DefaultLanguage "ja"
CONF
cat >"$tmp/fake/aplay" <<'PLAYER'
#!/bin/sh
# Stands in for the player: keeps the stream, notes its process group.
ps -o pgid= $$ | tr -d ' ' >"$OUT/pgid"
n=$(ls "$OUT" | grep -c '\.wav$')
cat >"$OUT/part.$n"
mv "$OUT/part.$n" "$OUT/$n.wav"
[ -e "$OUT/hold" ] && sleep 60
exit 0
PLAYER
chmod +x "$tmp/fake/aplay"
ln -s aplay "$tmp/fake/paplay"

export OUT=$tmp/out PATH=$tmp/fake:$PATH HOME=$tmp/home XDG_CONFIG_HOME=$tmp/home/.config
export XDG_RUNTIME_DIR=$tmp/run KOTONEL_AUDIO=null
unset SPEECHD_ADDRESS KOTONEL_CONFIG_DIR
cd "$tmp"
speech-dispatcher -s -t 0 -C "$tmp/conf" -L "$tmp/log" >"$tmp/log/server.out" 2>&1 &
server=$!
socket=$tmp/run/speech-dispatcher/speechd.sock
for i in $(seq 100); do
  [ -S "$socket" ] && break
  kill -0 $server 2>/dev/null || break
  sleep 0.1
done
[ -S "$socket" ] || fail "speech-dispatcher did not start"
spd() { timeout 20 spd-say "$@"; }

# The module loads, with the eight voices.
spd -O | grep -qx kotonel || fail "the module kotonel is not loaded"
voices=$(spd -o kotonel -l ja -L)
for v in 女性１ 女性２ 男性１ 男性２ ロボット 中性 機械 特殊; do
  echo "$voices" | grep -q "$v" || fail "voice $v is not listed: $voices"
done

# Speaks a line and gives the size of the stream the player got.
speak() {  # speak RATE VOICE TEXT
  local n
  n=$(ls "$OUT" | grep -c '\.wav$')
  spd -w -o kotonel -l ja -r "$1" -y "$2" "$3" || fail "spd-say -w failed"
  for i in $(seq 100); do
    [ -f "$OUT/$n.wav" ] && break
    sleep 0.1
  done
  [ -f "$OUT/$n.wav" ] || fail "nothing reached the player for '$3'"
  stat -c %s "$OUT/$n.wav"
}
slow=$(speak -100 女性１ '今日は良い天気です') || exit 1
head -c 4 "$OUT/0.wav" | grep -q RIFF || fail "the player did not get a WAV stream"
# Sound, not silence: many samples well away from zero (the pause before the first word, and
# the faint ringing in it, does not count).
loud=$(od -An -tx1 -j44 "$OUT/0.wav" | tr ' ' '\n' | grep -c '^\(2\|3\|4\|5\|6\|7\|8\|9\|a\|b\|c\|d\)') || true
[ "$loud" -gt 1000 ] || fail "the stream holds only silence"
fast=$(speak 100 女性１ '今日は良い天気です') || exit 1
[ "$slow" -gt $((fast * 2)) ] || fail "rate -100 gave $slow bytes, rate 100 $fast: speed not passed"
other=$(speak 100 男性１ '今日は良い天気です') || exit 1
cmp -s "$OUT/1.wav" "$OUT/2.wav" && fail "voice 男性１ sounds like 女性１"
# Quotes and shell characters in the text are text, not part of the command.
quoted=$(speak 0 女性１ "it's \$(touch $OUT/injected) \"です\"; \`true\`") || exit 1
[ "$quoted" -gt 8000 ] || fail "a text with quotes gave $quoted bytes"
[ ! -e "$OUT/injected" ] || fail "the text was run as a command"

# A stop request ends a message being spoken: kotonel-say and the player are killed together.
for request in -S -C; do
  rm -f "$OUT/pgid"
  touch "$OUT/hold"
  spd -o kotonel -l ja '長い文章を読み上げています。' || fail "spd-say failed"
  for i in $(seq 200); do
    [ -s "$OUT/pgid" ] && break
    sleep 0.1
  done
  [ -s "$OUT/pgid" ] || fail "the message did not start"
  group=$(cat "$OUT/pgid")
  pgrep -g "$group" >/dev/null || fail "the message ended before the stop request"
  spd $request || fail "spd-say $request failed"
  for i in $(seq 100); do
    pgrep -g "$group" >/dev/null || break
    sleep 0.1
  done
  pgrep -g "$group" >/dev/null && fail "spd-say $request did not end the message"
  rm -f "$OUT/hold" "$OUT/pgid"
done
echo "speech-dispatcher: module loaded, Japanese spoken ($slow/$fast bytes at rate -100/100), stop honoured"
