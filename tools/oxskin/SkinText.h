// The readable form of a skin file that oxskin builds from and dumps to: one block per record, its
// fields by name, outlines as point lists. Any skin file dumps to a text that builds back to the
// same bytes: fields the format does not name, and bytes a field holds after its text, come out as
// `bytes` lines. Pure.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ui/SkinRecords.h"
#include "ui/SkinRules.h"

namespace ox::skintext {

enum class FieldKind { Number, Colour, Byte, SignedByte, Text };

// One named field of a record: where it lies, what it holds, and the values a skin should use
// (min > max: any). A bound is a range of SkinLimits.h: the player clamps a value outside it, and
// `oxskin build` refuses it.
struct Field {
  const char* name;
  uint16_t offset;
  uint16_t size;
  FieldKind kind;
  int32_t min, max;
  bool bound = false;
};

// The record kinds by their keyword ("window", "button", ..., "record" for a type of no name).
struct RecordKind {
  const char* keyword;
  int32_t type;  // 0 for "record"
  std::vector<Field> fields;
};
const std::vector<RecordKind>& RecordKinds();
const RecordKind* KindOfType(int32_t type);
// The fields every record has.
const std::vector<Field>& HeaderFields();

// A skin as built from text: the skin file's bytes and the outlines, by bitmap base name.
struct Skin {
  std::vector<uint8_t> bytes;
  std::map<std::string, std::vector<SkinPoint>> outlines;
};

// Parses the text. Errors ("line 12: ...") go to errors; the skin is only whole when there are none.
Skin Parse(const std::string& text, std::vector<std::string>& errors);

// The text of a skin file. outlines holds the points of the `.bin` files beside it, by base name.
std::string Dump(const std::vector<uint8_t>& skinFile, const std::map<std::string, std::vector<SkinPoint>>& outlines);

// A `.bin` file of points.
std::vector<uint8_t> OutlineBytes(const std::vector<SkinPoint>& points);

// How a value of the field reads in the text, and the field's value in a record.
std::string FormatValue(const Field& field, const uint8_t* record);
int64_t NumberValue(const Field& field, const uint8_t* record);
std::string TextValue(const Field& field, const uint8_t* record);

}  // namespace ox::skintext
