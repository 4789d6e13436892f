#!/bin/bash
# Installs the build into a temporary prefix and runs the installed programs from a folder
# outside the source and build trees: the data is found under share/kotonel/, the settings go
# to the XDG folder, nothing is written into bin/, an old settings file beside the programs
# is moved once, a portable copy that asks for it keeps its settings beside itself, and the
# running program's socket lives in a private folder under $XDG_RUNTIME_DIR.
#
# usage: install_layout_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || {
  cat "$tmp/install.log"
  fail "cmake --install"
}
gui=no
[ -x "$build/bin/Kotonel" ] && gui=yes

# Layout.
for f in bin/kotonel-say share/kotonel/readme.txt share/kotonel/dll/dic.ktn \
  share/kotonel/dll/f1/voice.txt share/kotonel/dll/models/mei_normal.htsvoice \
  share/man/man1/kotonel-say.1 share/kotonel/speech-dispatcher/kotonel.conf; do
  [ -e "$prefix/$f" ] || fail "$f is not installed"
done
expected="kotonel-say"
[ $gui = yes ] && expected="Kotonel kotonel-say"
[ "$(ls "$prefix/bin" | sort | tr '\n' ' ')" = "$expected " ] ||
  fail "bin/ holds more than the programs: $(ls "$prefix/bin")"
grep -qF "| \\'$prefix/bin/kotonel-say\\' -t" "$prefix/share/kotonel/speech-dispatcher/kotonel.conf" ||
  fail "the speech-dispatcher configuration does not name the installed kotonel-say"
if [ $gui = yes ]; then
  grep -qx "TryExec=$prefix/bin/Kotonel" "$prefix/share/applications/kotonel.desktop" ||
    fail "the desktop entry does not start the installed program"
  [ -f "$prefix/share/icons/hicolor/scalable/apps/kotonel.svg" ] || fail "no icon"
fi

# The installed programs run from elsewhere, with a private home, configuration and runtime
# folder. bin/ stays writable (a user's own prefix): it must not be written all the same.
mkdir -p "$tmp/elsewhere" "$tmp/home" "$tmp/run"
chmod 700 "$tmp/run"
cd "$tmp/elsewhere"
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/run
export KOTONEL_AUDIO=null QT_QPA_PLATFORM=offscreen
unset KOTONEL_CONFIG_DIR
snapshot() { (cd "$prefix" && find . \( -type d -printf '%p/\n' \) -o -printf '%p %s %T@\n' | sort); }
before=$(snapshot)

say=$prefix/bin/kotonel-say
printed=$("$say" -p '今日は良い天気です') || fail "kotonel-say -p failed: $printed"
[ -n "$printed" ] || fail "kotonel-say printed nothing"
bytes=$("$say" --raw 'こんにちは' | wc -c)
[ "$bytes" -gt 8000 ] || fail "kotonel-say --raw gave $bytes bytes"
[ "$("$say" --list-voices | wc -l)" = 8 ] || fail "--list-voices"

# Starts the installed Kotonel, waits for its handle file in the settings folder, and closes it
# as a session end would (SIGTERM), which saves the settings.
run_kotonel() {  # run_kotonel PROGRAM SETTINGS_FOLDER LOG
  "$1" >"$3" 2>&1 &
  local pid=$! i
  for i in $(seq 200); do
    [ -e "$2/Kotonel.hwnd" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  [ -e "$2/Kotonel.hwnd" ] || {
    cat "$3"
    fail "Kotonel did not start with its files in $2"
  }
  # Started in full once it catches SIGTERM (bit 15 of the caught-signal mask).
  for i in $(seq 300); do
    mask=$(awk '/^SigCgt:/ { print $2 }' /proc/$pid/status 2>/dev/null)
    [ -n "$mask" ] && (((0x$mask >> 14) & 1)) && break
    mask=
    sleep 0.1
  done
  [ -n "$mask" ] || {
    cat "$3"
    fail "Kotonel did not finish starting (a message box waiting?)"
  }
  # The socket that takes a second start's command line: in a private folder of the runtime one.
  local mailbox
  mailbox=$(ls -d "$XDG_RUNTIME_DIR"/kotonel-*/ 2>/dev/null | head -n 1)
  [ -n "$mailbox" ] && [ -S "$mailbox/mailbox" ] || fail "no mailbox under \$XDG_RUNTIME_DIR"
  [ "$(stat -c %a "$mailbox")" = 700 ] || fail "the mailbox folder is not private"
  kill -TERM $pid
  for i in $(seq 200); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  kill -0 $pid 2>/dev/null && {
    kill -KILL $pid
    fail "Kotonel did not close"
  }
  wait $pid || true
  [ -f "$2/Kotonel.ini" ] || fail "no settings file in $2"
}

if [ $gui = yes ]; then
  run_kotonel "$prefix/bin/Kotonel" "$tmp/config/Kotonel" "$tmp/gui.log"
  [ "$(stat -c %a "$tmp/config/Kotonel")" = 700 ] || fail "the settings folder is not private"

  # A settings file that an older version left beside the program is moved, once.
  cp "$tmp/config/Kotonel/Kotonel.ini" "$prefix/bin/Kotonel.ini"
  rm -rf "$tmp/config"
  before=$(snapshot)
  run_kotonel "$prefix/bin/Kotonel" "$tmp/config/Kotonel" "$tmp/gui.log"
  [ ! -e "$prefix/bin/Kotonel.ini" ] || fail "the old settings file was not moved"
  grep -q "was moved to $tmp/config/Kotonel/Kotonel.ini" "$tmp/gui.log" ||
    fail "no message about the moved settings file: $(cat "$tmp/gui.log")"
  before=$(echo "$before" | grep -v '^./bin/Kotonel.ini ')

  # A portable copy that asks for it keeps its settings beside itself.
  mkdir -p "$tmp/portable"
  cp "$prefix/bin/Kotonel" "$tmp/portable/"
  cp -r "$prefix/share/kotonel/dll" "$tmp/portable/dll"
  touch "$tmp/portable/portable"
  rm -rf "$tmp/config"
  run_kotonel "$tmp/portable/Kotonel" "$tmp/portable" "$tmp/gui.log"
  [ ! -e "$tmp/config/Kotonel/Kotonel.ini" ] || fail "a portable copy wrote into the XDG folder"
fi

[ "$(snapshot)" = "$before" ] || {
  diff <(echo "$before") <(snapshot) >&2 || true
  fail "something under the prefix was written"
}
echo "installed layout: all checks passed"
