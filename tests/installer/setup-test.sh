#!/usr/bin/env bash
# The setup as a user and an administrator meet it, in a fresh wine64 prefix whose wineserver alone
# it stops; writes a gtest-style report with one case per group:
#   setup-test.sh <setup folder> <version> <installation folder it packed> <work folder> <report.xml>
set -u
USER=${USER:-$(id -un)}
setups=$(cd "$1" && pwd) version=$2 dist=$3 work=$4 report=$5
amd64="$setups/Orlavox-$version-amd64-setup.exe" x86="$setups/Orlavox-$version-setup.exe"
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
rm -rf "$work" && mkdir -p "$work/out"
trap 'wineserver -k >/dev/null 2>&1' EXIT
wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
win() { local p=${1//\//\\}; echo "Z:$p"; }
dir='C:\users\'$USER'\AppData\Local\Programs\Orlavox' inst="$WINEPREFIX/drive_c/users/$USER/AppData/Local/Programs/Orlavox"
menu="$WINEPREFIX/drive_c/users/$USER/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Orlavox"
settings='HKCU\Software\Quillmarsh\Orlavox'
value() {  # key, value name ("" the key's default)
  local v=(/v "$2"); [ -n "$2" ] || v=(/ve)
  "$wine" reg query "$1" "${v[@]}" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_[A-Z_]* *//p'
}
# What the setup registers: key and value ("" the key alone), present after it, gone after removal.
registered=('HKCU\Software\Clients\Media\Orlavox\Capabilities|ApplicationName'
  'HKCU\Software\RegisteredApplications|Orlavox' "$settings|InstalledTo")
for v in DisplayName DisplayIcon DisplayVersion Publisher EstimatedSize NoModify NoRepair UninstallString; do
  registered+=("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orlavox|$v")
done
for e in mp3 wav flac ogg oga opus m3u m3u8 pls oeq; do
  registered+=("HKCU\\Software\\Classes\\Orlavox.$e\\shell\\open\\command|" "HKCU\\Software\\Classes\\Orlavox.$e\\DefaultIcon|"
               "HKCU\\Software\\Classes\\.$e\\OpenWithProgids|Orlavox.$e")
done
registry() {  # present|absent: each registered entry is so
  for entry in "${registered[@]}"; do
    local args=("${entry%%|*}"); [ -n "${entry#*|}" ] && args+=(/v "${entry#*|}")
    if "$wine" reg query "${args[@]}" >/dev/null 2>&1; then [ "$1" = present ] || fail "left: $entry"
    else [ "$1" = absent ] || fail "missing: $entry"; fi
  done
}
programs() {  # present|absent: every file it packed, as packed
  while IFS= read -r f; do
    if [ -e "$inst/$f" ]; then
      [ "$1" = present ] || fail "left: $f"; [ "$1" = absent ] || cmp -s "$dist/$f" "$inst/$f" || fail "differs: $f"
    else [ "$1" = absent ] || fail "missing: $f"; fi
  done < <(cd "$dist" && find . -type f | sed 's|^\./||')
}
shortcuts() {  # the player's and each sibling program's that the build holds
  for p in rill:Orlavox Queuer:"Orlavox Playlist" History:"Orlavox Previously Played" \
           Librarian:"Orlavox Music Collection" Launcher:"Orlavox Options"; do
    [ ! -e "$dist/${p%%:*}.exe" ] || [ -e "$menu/${p#*:}.lnk" ] || fail "no shortcut ${p#*:}"
  done
}
user_data=("$USER.Enqued" "Equalizer-Presets/Mine.oeq" "Skins/Mine/main.bmp")
make_user_data() { for f in "${user_data[@]}"; do mkdir -p "$(dirname "$inst/$f")"; head -c 652 /dev/urandom >"$inst/$f"; cp "$inst/$f" "$work/$(basename "$f")"; done; }
user_data_kept() { for f in "${user_data[@]}"; do cmp -s "$work/$(basename "$f")" "$inst/$f" || fail "user data lost: $f"; done; }
setup() { "$wine" "$amd64" /S "$@" || fail "setup $* exited with $?"; }
uninstall() { "$wine" "$dir\\Uninstall.exe" /S "$@" "_?=$dir" || fail "uninstaller exited with $?"; }
oxctl() { "$wine" "$dir\\oxctl.exe" "$@" >/dev/null 2>&1; }
gone() { for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.2; done; return 1; }

failures=() cases=() errors=()
fail() { errors+=("$*"); }
run() {  # the case's function
  errors=(); "$1"; cases+=("$1")
  if [ ${#errors[@]} -gt 0 ]; then failures+=("$1"); printf 'FAILED %s (%d):\n' "$1" ${#errors[@]}; printf '  %s\n' "${errors[@]:0:12}"
  else echo "passed $1"; fi
}

FreshInstall() {
  setup; programs present; shortcuts; registry present
  [ "$(value "$settings" InstalledTo)" = "${dir^^}\\" ] || fail "InstalledTo: $(value "$settings" InstalledTo)"
  local open; open=$(value 'HKCU\Software\Classes\Orlavox.mp3\shell\open\command' '')
  [ "$open" = "\"$dir\\rill.exe\" \"%1\"" ] || fail "open command: $open"
}
PlayerPlaysFromInstalledFolder() {
  sox -n -r 44100 -b 16 -c 2 "$work/tone.wav" synth 1 sine 440 vol 0.3
  "$wine" reg add "$settings" /v DefaultSO /d "Disk Writer" /f >/dev/null 2>&1
  "$wine" reg add "$settings" /v DiskWriterFolder /d "$(win "$work/out")" /f >/dev/null 2>&1
  local before; before=$(value "$settings" InstalledTo)
  "$wine" "$dir\\rill.exe" "$(win "$work/tone.wav")" & local player=$!
  for _ in $(seq 100); do [ "$(stat -c %s "$work/out/tone.wav" 2>/dev/null)" = "$(stat -c %s "$work/tone.wav")" ] && break; sleep 0.2; done
  [ "$(stat -c %s "$work/out/tone.wav" 2>/dev/null)" = "$(stat -c %s "$work/tone.wav")" ] || fail "the track was not played whole"
  [ "$(value "$settings" InstalledTo)" = "$before" ] || fail "the player wrote another InstalledTo: $(value "$settings" InstalledTo)"
  oxctl close; gone $player || fail "the player did not close"
}
UpgradeClosesThePlayerAndKeepsUserData() {
  make_user_data
  "$wine" "$dir\\rill.exe" & local player=$!
  for _ in $(seq 50); do oxctl status && break; sleep 0.2; done
  oxctl status || fail "the player did not start"
  setup; gone $player || fail "the running player was not closed"
  programs present; user_data_kept
}
UninstallKeepsUserDataUnlessAsked() {
  uninstall; programs absent; registry absent; user_data_kept
  [ ! -e "$menu" ] || fail "Start-menu folder left"
  [ "$(value "$settings" DefaultSO)" = "Disk Writer" ] || fail "settings lost"
  setup; uninstall /REMOVEDATA
  [ -z "$(ls -A "$inst" 2>/dev/null | grep -vx Uninstall.exe)" ] || fail "left with the data: $(ls -A "$inst")"
  ! "$wine" reg query "$settings" >/dev/null 2>&1 || fail "settings left with the data"
}
X86PayloadMatches() {
  local pe; pe=$(od -An -tu4 -j60 -N4 "$x86" | tr -d ' ')
  [ "$(od -An -tx1 -j"$pe" -N6 "$x86" | tr -d ' ')" = 504500004c01 ] || fail "not a PE32 (i386) file"
  local a b; a=$(7zz l -slt "$amd64" | grep '^Path = ' | sed 1d | sort); b=$(7zz l -slt "$x86" | grep '^Path = ' | sed 1d | sort)
  [ -n "$a" ] && [ "$a" = "$b" ] || fail "payloads differ: $(diff <(echo "$a") <(echo "$b") | head -5)"
}

run FreshInstall
run PlayerPlaysFromInstalledFolder
run UpgradeClosesThePlayerAndKeepsUserData
run UninstallKeepsUserDataUnlessAsked
skipped=0
if [ -f "$x86" ]; then run X86PayloadMatches; else skipped=1; echo "skipped X86PayloadMatches: no $x86"; fi

{
  echo "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
  echo "<testsuites tests=\"$((${#cases[@]} + skipped))\" failures=\"${#failures[@]}\" disabled=\"0\" errors=\"0\" skipped=\"$skipped\" name=\"installer_tests\">"
  echo "  <testsuite name=\"Setup\" tests=\"$((${#cases[@]} + skipped))\" failures=\"${#failures[@]}\">"
  for c in "${cases[@]}"; do
    if [[ " ${failures[*]} " =~ " $c " ]]; then echo "    <testcase name=\"$c\"><failure message=\"failed\"/></testcase>"
    else echo "    <testcase name=\"$c\"/>"; fi
  done
  echo "  </testsuite>"; echo "</testsuites>"
} >"$report"
[ ${#failures[@]} -eq 0 ]
