// ID3 tags of MP3 files: ID3v2.2, 2.3 and 2.4 at the start, ID3v1(.1) at the end. Pure: texts come
// out as UTF-8 whatever the tag's encoding (ID3v1 fields are Latin-1).
#pragma once

#include <cstdint>
#include <string>

#include "AudioTags.h"
#include "base/ByteSource.h"

namespace id3 {

struct Tag {
  std::string artist, title, album, genre, albumArtist;  // UTF-8, uncut
  uint16_t year = 0, track = 0;  // 0 when missing
  tags::Loudness loudness;       // from TXXX frames named REPLAYGAIN_*
  bool Empty() const { return artist.empty() && title.empty() && album.empty() && !year && !track; }
};

// A genre as ID3 writes it, as a name: "(17)" and "17" are ID3v1's genre 17 ("Rock"), "(17)Indie
// Rock" its refinement "Indie Rock"; a number past the list stays as it is written.
std::string GenreName(const std::string& text);

// Reads the ID3v2 tag at the start of the source; false when there is none. A tag or frame size
// that runs past the data ends the reading there.
bool ReadV2(ox::ByteSource& source, Tag& tag);

// Reads the ID3v1 tag in the last 128 bytes; false when there is none.
bool ReadV1(ox::ByteSource& source, Tag& tag);

// The ID3v2 tag, with whatever it lacks taken from ID3v1.
Tag Read(ox::ByteSource& source);

}  // namespace id3
