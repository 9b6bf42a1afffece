#!/usr/bin/env bash
# A picture of the collection editor at work: Librarian.exe under Xvfb with a small made-up
# collection (and its side index, for the genres), grouped by artist.
#   tools/screenshot-librarian.sh [output-folder]
# (default docs/: screenshot-librarian.png, and screenshot-librarian-selective.png of the selective view)
set -euo pipefail
. "$(dirname "$0")/build-x86_64.sh" Librarian
out=$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)
shot="$build/shot-librarian"
rm -rf "$shot" && mkdir -p "$shot"
python3 - "$shot/demo.mcc" <<'PY'
import struct, sys
tracks = [
    ("Ada Kaleh", "Danube Lights", "River Songs", "Folk", 2019, 1, 241000, 9, 14),
    ("Ada Kaleh", "Island Bells", "River Songs", "Folk", 2019, 2, 198000, 7, 9),
    ("Ada Kaleh", "Old Harbour", "River Songs", "Folk", 2019, 3, 305000, 8, 11),
    ("Brass Orchard", "Copper Morning", "Orchard", "Jazz", 2021, 1, 372000, 6, 3),
    ("Brass Orchard", "Slow Bloom", "Orchard", "Jazz", 2021, 2, 288000, 9, 21),
    ("Cinder Lane", "Night Shift", "Streetlights", "Rock", 2016, 4, 221000, 5, 2),
    ("Cinder Lane", "Paper Crowns", "Streetlights", "Rock", 2016, 5, 187000, 4, 1),
    ("Delta Nine", "Signal", "Transmissions", "Electronic", 2023, 1, 402000, 8, 17),
    ("Delta Nine", "Low Orbit", "Transmissions", "Electronic", 2023, 2, 356000, 9, 25),
    ("Elin Varga", "Snow Letters", "Winter Hours", "Classical", 2012, 3, 512000, 7, 6),
    ("Elin Varga", "Étude in Blue", "Winter Hours", "Classical", 2012, 4, 268000, 6, 4),
    ("Fjord", "Tidewater", "North", "Ambient", 2020, 1, 633000, 3, 0),
]
def text(s, n): b = s.encode(); return b + b"\0" * (n - len(b))
records, index = b"", b""
for i, (artist, title, album, genre, year, number, ms, pref, played) in enumerate(tracks):
    path = "D:\\Music\\%s\\%s\\%02d %s.flac" % (artist, album, number, title)
    added = (134774 + 20400 + i * 11) * 864000000000
    records += (text(artist, 100) + text(title, 100) + text(album, 100) + text(path, 260) +
                struct.pack("<BBHIh40shB3sII4sIII4sB3s", pref, 0, 900, 44100, 4000, b"", year, 2, b"",
                            ms * 176, ms, b"", played, added & 0xFFFFFFFF, added >> 32, b"", number, b""))
    for s in (path, genre, ""):
        b = s.encode(); index += struct.pack("<H", len(b)) + b
    index += struct.pack("<QQii", ms * 176, 0, -2147483648, -2147483648)
assert len(records) == 648 * len(tracks)
open(sys.argv[1], "wb").write(records)
body = b"OXLIBIDX" + struct.pack("<II", 1, len(tracks)) + index
h = 2166136261
for c in body: h = ((h ^ c) * 16777619) & 0xFFFFFFFF
open(sys.argv[1] + ".oxli", "wb").write(body + struct.pack("<I", h))
PY

export WINEPREFIX="$build/wineprefix-shot" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export OX_DIST="$build/x86_64/dist" OX_COLLECTION="Z:${shot//\//\\}\\demo.mcc" OX_SHOT="$shot" OX_OUT="$out"
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  set -euo pipefail
  wine=/usr/lib/wine/wine64
  reg() { "$wine" reg add "$@" /f >/dev/null 2>&1; }
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  reg "HKCU\Software\Wine\X11 Driver" /v Managed /d N
  key="HKCU\Software\Quillmarsh\Orlavox"
  reg "$key" /v ActiveMusicCollection /d "$OX_COLLECTION"
  for v in "X 24" "Y 24" "Width 976" "Height 440" "Maximized 0"; do
    set -- $v; reg "$key\Librarian" /v "$1" /t REG_DWORD /d "$2"
  done
  "$wine" "$OX_DIST/Librarian.exe" &
  editor=$!
  sleep 8
  import -window root "$OX_SHOT/screen.png"
  convert "$OX_SHOT/screen.png" -crop 976x440+24+24 +repage "$OX_OUT/screenshot-librarian.png"
  echo "screenshot: $OX_OUT/screenshot-librarian.png"
  # A second start asks the running editor for its selective-play view.
  "$wine" "$OX_DIST/Librarian.exe" "<selective>"
  sleep 3
  import -window root "$OX_SHOT/screen.png"
  convert "$OX_SHOT/screen.png" -crop 976x440+24+24 +repage "$OX_OUT/screenshot-librarian-selective.png"
  echo "screenshot: $OX_OUT/screenshot-librarian-selective.png"
  kill $editor 2>/dev/null || true
'
wineserver -k >/dev/null 2>&1 || true
