#include "queue/TrackInfo.h"

#include <windows.h>

#include <mutex>

#include "base/Path.h"
#include "core/Settings.h"
#include "engine/CodecHost.h"
#include "queue/TrackInfoText.h"

namespace ox {

namespace {

std::string DefaultValueOf(const std::string& key) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return {};
  char value[261] = {};
  DWORD size = 260, type = 0;
  const bool ok = RegQueryValueExA(k, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
                  (type == REG_SZ || type == REG_EXPAND_SZ);
  RegCloseKey(k);
  return ok ? std::string(FieldText(value, size)) : std::string();
}

std::string LongDate(uint32_t low, uint32_t high) {
  const FILETIME utc{low, high};
  SYSTEMTIME t;
  char text[128] = {};
  if (FileTimeToSystemTime(&utc, &t)) GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &t, nullptr, text, sizeof text);
  return text;
}

}  // namespace

std::string TypeText(const std::string& path) {
  static std::mutex lock;
  static std::string lastExtension, lastText;
  const std::string extension = ExtensionOf(path);
  std::lock_guard<std::mutex> hold(lock);
  if (!lastText.empty() && extension == lastExtension) return lastText;
  std::string text;
  const std::string className = DefaultValueOf(extension);
  if (!className.empty()) text = DefaultValueOf(className);
  if (text.empty()) text = DefaultTypeText(extension);
  lastExtension = extension;
  lastText = text;
  return text;
}

std::string TrackInformation(const TrackRecord& record) {
  if (!record.HasPath()) return TrackInfoText(record, {});
  const std::string path(record.Path());
  TrackInfoParts parts;
  parts.typeText = TypeText(path);
  parts.dateText = LongDate(record.dateAddedLow, record.dateAddedHigh);
  const CodecPlugin* codec = Codecs().Find(ExtensionOf(path));
  if (codec && codec->GetStringInfo) {
    char text[OX_CODEC_TEXT_SIZE + 1024] = {};  // room beyond the documented 260, for safety
    codec->GetStringInfo(path.c_str(), text);
    text[sizeof text - 1] = '\0';
    parts.hasCodecText = true;
    parts.codecText = text;
  }
  return TrackInfoText(record, parts);
}

}  // namespace ox
