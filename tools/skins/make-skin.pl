#!/usr/bin/perl
# Builds a skin folder from its sources:   make-skin.pl SOURCE-FOLDER OUTPUT-FOLDER OXSKIN
#
# SOURCE-FOLDER holds the skin's text descriptions (*.txt, one skin file each, see docs/skins.md)
# and art/ with its drawings:
#   art/<bitmap>.svg       a window's drawing at its size, for each window record's bitmap
#   art/<knob>.svg         a slider knob's drawing, for each slider's knob
#   art/<font>.font        a bitmap font: which TrueType font draws it and at what size (below)
#   art/normal.css, art/over.css, art/down.css
#                          the three states each window is drawn in: at rest, under the mouse and
#                          pressed (or lit). The stylesheets restyle the classes the drawings use.
#
# A window's drawing gives its background (normal state) and every picture cut from it at its
# elements' places: a button's three bitmaps from the three states; an image (a lamp that a
# condition lights) and a slider's fill from the pressed state; a slider's track from the normal
# one. So a button is always drawn on exactly the background around it.
#
# A .font file has lines "key value": font (a file of /usr/share/fonts/truetype/dejavu/), size
# (pixels), cell (the cell width: a character advances cell - 1 pixels), height (of the bitmap:
# glyphs use its rows 1 .. height - 2), baseline (in the cell) and colour (#RRGGBB). The 96 cells
# hold the characters 33 .. 122 and then the accented letters the player draws from the cells of
# 0x7B .. 0x80.
use strict;
use warnings;
use File::Basename;
use File::Temp qw(tempdir);

my ($source, $out, $oxskin) = @ARGV;
die "usage: make-skin.pl SOURCE-FOLDER OUTPUT-FOLDER OXSKIN\n" unless defined $oxskin;
my $art = "$source/art";
my $fontFolder = '/usr/share/fonts/truetype/dejavu';
my $work = tempdir(CLEANUP => 1);
system('mkdir', '-p', $out) == 0 or die "make-skin: cannot make $out\n";

sub run {
  system(@_) == 0 or die "make-skin: failed: @_\n";
}

# The records of a skin text: a list of { kind, name, field => value }.
sub read_records {
  my ($file) = @_;
  open(my $in, '<', $file) or die "make-skin: cannot read $file\n";
  my @records;
  while (my $line = <$in>) {
    next if $line =~ /^\s*(#|$)/;
    if ($line =~ /^(\w+)\s+"((?:[^"\\]|\\.)*)"/) {
      push @records, { kind => $1, name => $2 };
    } elsif ($line =~ /^\s+([\w.]+)\s+(.*?)\s*$/ && @records) {
      my ($field, $value) = ($1, $2);
      $value =~ s/^"(.*)"$/$1/;
      $records[-1]{$field} = $value;
    }
  }
  return @records;
}

sub bmp {  # a picture as the player reads it: a 24-bit BMP
  my ($picture, $target) = @_;
  return ($picture, '-alpha', 'off', '-type', 'TrueColor', "BMP3:$target");
}

sub render {  # svg, css, png
  my ($svg, $css, $png) = @_;
  run('rsvg-convert', '--stylesheet', $css, '-o', $png, $svg);
}

sub font {
  my ($name) = @_;
  my %f = (font => 'DejaVuSansMono-Bold.ttf', size => 11, cell => 8, height => 14, baseline => 11, colour => '#FFFFFF');
  open(my $in, '<', "$art/$name.font") or die "make-skin: no $art/$name.font\n";
  while (<$in>) {
    $f{$1} = $2 if /^\s*(\w+)\s+(\S+)/;
  }
  my @characters = map { chr($_) } 33 .. 122;
  push @characters, "\x{C1}", "\x{C4}", "\x{D6}", "\x{E1}", "\x{E4}", "\x{F6}";  # cells 0x7B .. 0x80
  my @cells;
  for my $c (@characters) {
    my $text = $c;
    utf8::encode($text);
    $text =~ s/([%\\])/$1$1/g;
    $text = "\\$text" if $text eq '@';
    push @cells, '(', '-size', "$f{cell}x$f{height}", 'xc:black', '-annotate', "+1+$f{baseline}", $text, ')';
  }
  my $coverage = "$work/$name-coverage.png";
  run('convert', '-font', "$fontFolder/$f{font}", '-pointsize', $f{size}, '-fill', 'white', @cells, '+append',
      # The first column and the top and bottom rows of a cell are never drawn.
      '-fill', 'black', '-draw', join(' ', map { my $x = $_ * $f{cell}; "line $x,0 $x,$f{height}" } 0 .. 95),
      '-draw', "line 0,0 " . (96 * $f{cell}) . ",0", '-draw', "line 0," . ($f{height} - 1) . " " . (96 * $f{cell}) . "," . ($f{height} - 1),
      $coverage);
  # The glyph is the colour by coverage on black (it is ORed over the window); the mask is black
  # wherever the glyph has any ink (ANDed first), so edges blend with what the mask cleared.
  run('convert', '(', '-size', (96 * $f{cell}) . "x$f{height}", "xc:$f{colour}", ')', $coverage, '-compose', 'multiply',
      '-composite', '-alpha', 'off', '-type', 'TrueColor', "BMP3:$out/$name.bmp");
  run('convert', $coverage, '-threshold', '0', '-negate', '-alpha', 'off', '-type', 'TrueColor', "BMP3:$out/$name-mask.bmp");
}

# Every picture name is one picture: a window background and a button of the same name would
# overwrite each other. The same picture again (the tracks of equal sliders, a knob or a font two
# windows use) is fine. True when the name is new.
my %made;
sub claim {
  my ($name, $what) = @_;
  die "make-skin: $name is both $made{$name} and $what\n" if exists $made{$name} && $made{$name} ne $what;
  return 0 if exists $made{$name};
  $made{$name} = $what;
  return 1;
}
for my $text (sort glob("$source/*.txt")) {
  run($oxskin, 'build', $text, $out);
  my @records = read_records($text);
  my %windows;  # id => the window record, the first of the file with that id
  for my $r (@records) {
    $windows{$r->{id} // 0} //= $r if $r->{kind} eq 'window';
  }
  for my $window (grep { $_->{kind} eq 'window' } @records) {
    my $id = $window->{id} // 0;
    next if $windows{$id} != $window;
    my $b = $window->{bitmap};
    my %png;
    for my $state (qw(normal over down)) {
      $png{$state} = "$work/$b-$state.png";
      render("$art/$b.svg", "$art/$state.css", $png{$state});
    }
    claim("$b.bmp", 'a window background');
    run('convert', bmp($png{normal}, "$out/$b.bmp"));

    # The pictures cut from each state, one ImageMagick run per state.
    my %cuts = (normal => [], over => [], down => []);
    for my $e (grep { $_->{kind} ne 'window' && ($_->{window} // 0) == $id } @records) {
      my $rect = sprintf('%dx%d+%d+%d', $e->{width} // 0, $e->{height} // 0,
                         ($e->{x} // 0) - ($window->{x} // 0), ($e->{y} // 0) - ($window->{y} // 0));
      if ($e->{kind} eq 'button') {
        push @{$cuts{normal}}, [$rect, "$e->{bitmap}.bmp"];
        push @{$cuts{over}}, [$rect, "$e->{bitmap}-m.bmp"];
        push @{$cuts{down}}, [$rect, "$e->{bitmap}-d.bmp"];
      } elsif ($e->{kind} eq 'image') {
        push @{$cuts{down}}, [$rect, "$e->{bitmap}.bmp"];
      } elsif ($e->{kind} eq 'slider') {
        push @{$cuts{normal}}, [$rect, "$e->{track}.bmp"] if $e->{track};
        push @{$cuts{down}}, [$rect, "$e->{fill}.bmp"] if $e->{fill};
        if ($e->{knob} && claim("$e->{knob}.bmp", 'a knob')) {
          render("$art/$e->{knob}.svg", "$art/normal.css", "$work/$e->{knob}.png");
          run('convert', bmp("$work/$e->{knob}.png", "$out/$e->{knob}.bmp"));
        }
      } elsif ($e->{kind} eq 'font' && $e->{bitmapFont} && claim("$e->{bitmap}.bmp", 'a bitmap font')) {
        font($e->{bitmap});
      }
    }
    for my $state (keys %cuts) {
      next unless @{$cuts{$state}};
      claim($_->[1], "a ${\($_->[0] =~ s/\+.*//r)} picture cut from the $state state") for @{$cuts{$state}};
      my @args = ($png{$state}, '-alpha', 'off', '-type', 'TrueColor');
      for my $cut (@{$cuts{$state}}) {
        push @args, '(', '+clone', '-crop', $cut->[0], '+repage', '-write', "BMP3:$out/$cut->[1]", '+delete', ')';
      }
      run('convert', @args, 'null:');
    }
  }
}
