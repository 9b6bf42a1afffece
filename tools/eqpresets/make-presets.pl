#!/usr/bin/perl
# Writes each line of the preset table as an 88-byte ".oeq" file: the equaliser positions record
# (layout byte 0 = twenty sliders, three unused bytes, the preamp, twenty sliders; little-endian).
# Usage: make-presets.pl presets.txt output-folder
use strict;
use warnings;

my ($table, $folder) = @ARGV;
die "usage: make-presets.pl presets.txt output-folder\n" unless defined $folder;
open(my $in, '<', $table) or die "$table: $!\n";
while (my $line = <$in>) {
  next if $line =~ /^\s*(#|$)/;
  my ($name, $preamp, $sliders) = map { s/^\s+|\s+$//gr } split /\|/, $line;
  my @positions = split ' ', $sliders;
  die "$table:$.: twenty positions expected\n" unless @positions == 20;
  for my $p ($preamp, @positions) {
    die "$table:$.: $p is outside -200..200\n" unless $p =~ /^-?\d+$/ && $p >= -200 && $p <= 200;
  }
  open(my $out, '>:raw', "$folder/$name.oeq") or die "$folder/$name.oeq: $!\n";
  print $out pack('C x3 l< l<20', 0, $preamp, @positions);
  close $out;
}
