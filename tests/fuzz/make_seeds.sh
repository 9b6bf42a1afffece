#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets (tests/fuzz/corpus/<target>) from sox and lame output
# and hand-written texts: small, valid inputs that reach deep into each parser. Run once; the seeds
# are kept in the repository, together with whatever a campaign found worth keeping.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
corpus="$here/corpus"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$corpus"/{wav,mpeg_stream,id3,playlist,mpeg_check,command_line,equaliser,track_info,skin,skin_text}

sox -q -n -r 8000 -c 1 -b 16 -e signed "$corpus/wav/s16.wav" synth 0.01 sine 440
sox -q -n -r 8000 -c 2 -b 8 -e unsigned "$corpus/wav/u8.wav" synth 0.01 sine 440
sox -q -n -r 8000 -c 1 -b 24 -e signed "$corpus/wav/s24.wav" synth 0.005 sine 440
sox -q -n -r 8000 -c 1 -b 16 -e signed --comment "Title=A" "$corpus/wav/tagged.wav" synth 0.005 sine 440
# WAVE_FORMAT_EXTENSIBLE comes with more than two channels.
sox -q -n -r 8000 -c 3 -b 16 -e signed "$corpus/wav/ext.wav" synth 0.003 sine 440
printf 'RIFF\x3c\0\0\0WAVELIST\x1a\0\0\0INFOIART\x02\0\0\0A\0INAM\x02\0\0\0T\0ICRD\x04\0\0\x001999' >"$corpus/wav/info_only.wav"

sox -q -n -r 44100 -c 1 -b 16 -e signed "$tmp/s.wav" synth 0.2 sine 100-4000
lame="lame --quiet --noreplaygain"
$lame -b 32 "$tmp/s.wav" "$tmp/cbr.mp3"
$lame -V 6 --add-id3v2 --tt T --ta A --tl L --ty 2001 --tn 3 "$tmp/s.wav" "$tmp/vbr.mp3"
$lame -t -b 32 --id3v1-only --tt V1 "$tmp/s.wav" "$tmp/noxing.mp3"
$lame -b 8 --resample 8 --id3v2-only --id3v2-utf16 --tt "Zoë" "$tmp/s.wav" "$tmp/mpeg25.mp3"
for f in cbr vbr noxing mpeg25; do cp "$tmp/$f.mp3" "$corpus/mpeg_stream/$f.mp3"; done
for f in vbr noxing mpeg25; do head -c 600 "$tmp/$f.mp3" >"$corpus/id3/$f.head"; tail -c 300 "$tmp/$f.mp3" >"$corpus/id3/$f.tail"; done
cp "$tmp/cbr.mp3" "$corpus/mpeg_check/cbr.mp3"
cp "$tmp/mpeg25.mp3" "$corpus/mpeg_check/mpeg25.mp3"

printf '\x02#EXTM3U\r\n#EXTINF:12,A - B\r\nC:\\Music\\a.mp3\r\n\r\nsub\\b.wav\n\\root.mp3\r\\\\srv\\share\\c.mp3\n' >"$corpus/playlist/m3u"
printf '\x83[playlist]\r\nFile1=a.mp3\r\nTitle1=A\r\nFile3=D:\\c.wav\r\nFile2=\\\\srv\\b.mp3\r\nNumberOfEntries=3\r\n' >"$corpus/playlist/pls"

printf '"C:\\Program Files\\Orlavox\\rill.exe" "D:\\My Music\\a b.mp3" D:\\x.wav' >"$corpus/command_line/files"
printf 'rill.exe <audiocd>E:\\' >"$corpus/command_line/audiocd"
printf '"C:\\rill.exe" x.wav <autoplayaudiocd>' >"$corpus/command_line/autoplay"

# Format bytes (channels, rate, bits, enabled/piece), 88 bytes of positions, then audio.
eq() {  # name, format bytes, preamp byte
  { printf "$2"; printf "\\x00\\x00\\x00\\x00\\x$3\\x00\\x00\\x00"; head -c 80 /dev/urandom; head -c 2000 "$tmp/s.wav" | tail -c 1500; } >"$corpus/equaliser/$1"
}
eq stereo16 '\x02\x05\x01\x41' 14
eq mono8 '\x01\x02\x00\x07' f6
eq stereo24 '\x02\x06\x02\x21' 00

# A track record (path, rates, length) and a codec text.
{ head -c 300 /dev/zero; printf 'C:\\Music\\Band - Song.mp3'; head -c 237 /dev/zero;
  printf '\x06\x00\x80\x00\x44\xac\x00\x00\xa0\x0f'; head -c 40 /dev/zero; printf '\xcf\x07\x02\x00\x00\x00';
  printf '\x00\x00\x10\x00\x60\xea\x00\x00'; head -c 4 /dev/zero; printf '\x0c\x00\x00\x00'; head -c 16 /dev/zero;
  printf 'MPEG-1 Layer III'; } >"$corpus/track_info/record"
# Skin files: 1612-byte records; a window, then elements of it and of a missing window.
record() {  # file, type byte, window id byte, name, offset:text...
  local file=$1 type=$2 id=$3 name=$4; shift 4
  local r="$tmp/record"
  head -c 1612 /dev/zero >"$r"
  printf "\\x$type" | dd of="$r" bs=1 seek=0 conv=notrunc status=none
  printf '%s' "$name" | dd of="$r" bs=1 seek=4 conv=notrunc status=none
  printf "\\x$id" | dd of="$r" bs=1 seek=50 conv=notrunc status=none
  for field in "$@"; do printf '%s' "${field#*:}" | dd of="$r" bs=1 seek="${field%%:*}" conv=notrunc status=none; done
  cat "$r" >>"$file"
}
skin="$corpus/skin/default.skin"
: >"$skin"
record "$skin" 01 07 Main 54:main 322:'<IsRillWindow>'
record "$skin" 02 07 play 54:play 838:evtOxPlay 1098:Play
record "$skin" 04 07 digits 55:digits 575:Tahoma
record "$skin" 06 07 title 54:digits
record "$skin" 05 09 lost 58:track
record "$skin" 01 09 Eq 54:eq 322:Ueq
record "$skin" 08 09 curve
head -c 100 /dev/zero >>"$skin"
cp "$skin" "$corpus/skin_text/"  # the text form's target also starts from the hand-written every_kind.txt
# Playlists in every encoding: M3U8 with a byte-order mark, an M3U in UTF-8 and one in Latin-1, a PLS in UTF-8.
printf '\x42\xef\xbb\xbf#EXTM3U\r\n#EXTINF:5,\xd0\x9f\xd0\xb5\r\n\xd0\x9f\xd0\xb5\xd1\x81\xd0\xbd\xd1\x8f.mp3\r\n\xe5\xa4\x9c\xe6\x9b\xb2.mp3\r\n' >"$corpus/playlist/m3u8_bom"
printf '\x02\xe5\xa4\x9c\xe6\x9b\xb2.mp3\nCaf\xc3\xa9.mp3\n' >"$corpus/playlist/m3u_utf8"
printf '\x02Caf\xe9.mp3\n\\M\xfcsik\\\xc0.mp3\n' >"$corpus/playlist/m3u_latin1"
printf '\x81[playlist]\r\nFile1=\xd0\x9f\xd0\xb5.mp3\r\nFile2=\xf0\x9f\x8e\xb5.mp3\r\n' >"$corpus/playlist/pls_utf8"
# ID3v2.3 text frames in each encoding: UTF-16 with either mark, UTF-16BE, UTF-8, Latin-1.
printf 'ID3\x03\x00\x00\x00\x00\x00\x4e''TIT2\x00\x00\x00\x07\x00\x00\x01\xff\xfe\x1f\x04\x35\x04''TPE1\x00\x00\x00\x07\x00\x00\x01\xfe\xff\x59\x1c\x66\xf2''TALB\x00\x00\x00\x05\x00\x00\x02\x00A\x04\x3f''TYER\x00\x00\x00\x05\x00\x00\x03\x32\x30\x30\x34''TRCK\x00\x00\x00\x04\x00\x00\x00\x37\xe9\x00' >"$corpus/id3/encodings.head"
# LIST/INFO in UTF-8 and in Latin-1.
printf 'RIFF\x2c\0\0\0WAVELIST\x20\0\0\0INFOIART\x06\0\0\0\xd0\x9f\xd0\xb5\0\0INAM\x06\0\0\0Caf\xe9\0\0' >"$corpus/wav/info_encodings.wav"
echo "seeds in $corpus"
