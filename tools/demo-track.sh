#!/usr/bin/env bash
# Makes the demo track the run and screenshot scripts play, once, and prints its path:
#   demo-track.sh build-folder
# Sixteen seconds of plucked chords (C, A minor, F, G, twice) in stereo, tagged like music so the
# player has an artist, a title and an album to show.
set -euo pipefail
folder="${1:?usage: demo-track.sh build-folder}/demo"
demo="$folder/Orlavox - Demo.wav"
if [ ! -f "$demo" ]; then
  mkdir -p "$folder"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  chords=("C3 E4 G4 C5" "A2 E4 A4 C5" "F2 C4 F4 A4" "G2 D4 G4 B4")
  parts=()
  for round in 1 2; do
    for i in "${!chords[@]}"; do
      part="$work/$round-$i.wav"
      read -r a b c d <<<"${chords[$i]}"
      # Four voices on four channels, then two by two into left and right.
      sox -q -n -r 44100 -b 16 -c 4 "$work/voices.wav" synth 2 pluck "$a" pluck "$b" pluck "$c" pluck "$d"
      sox -q "$work/voices.wav" -c 2 "$part" remix 1v0.5,3v0.5 2v0.5,4v0.5
      parts+=("$part")
    done
  done
  sox -q "${parts[@]}" "$work/plain.wav" fade 0 -0 1.5 norm -1
  # The tags: a LIST/INFO chunk after the data, and the RIFF size grown to hold it.
  perl -e '
    local $/; open(my $in, "<:raw", $ARGV[0]) or die; my $wav = <$in>;
    my $info = "";
    for my $tag (["IART", "Orlavox"], ["INAM", "Chords for a New Player"], ["IPRD", "Sounds of the Build"]) {
      my $text = $tag->[1] . "\0"; $text .= "\0" if length($text) % 2;
      $info .= $tag->[0] . pack("V", length($text)) . $text;
    }
    $wav .= "LIST" . pack("V", 4 + length($info)) . "INFO" . $info;
    substr($wav, 4, 4) = pack("V", length($wav) - 8);
    open(my $out, ">:raw", $ARGV[1]) or die; print $out $wav;' "$work/plain.wav" "$demo"
fi
echo "$demo"
