// Registry helpers through which every setting is read and written: one key opening per access,
// no caching. A null root or sub-key means the default settings root, HKEY_CURRENT_USER
// "Software\Quillmarsh\Orlavox" unless start-up sets another. Reads open the key with create
// semantics, so reading a setting of a missing key creates the empty key. Failures are silent:
// reads give 0 or "", writes are dropped.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "core/SettingsTable.h"

namespace ox {

// Sets the default root; subKey is cut at 259 characters.
void SetDefaultSettingsRoot(HKEY root, const char* subKey);

// A DWORD value; 0 when the key or the value is missing or the value is longer than 4 bytes.
uint32_t GetNumberSetting(const char* name, HKEY root = nullptr, const char* subKey = nullptr);
void SetNumberSetting(uint32_t value, const char* name, HKEY root = nullptr, const char* subKey = nullptr);

// A text value that fits a buffer of `limit` bytes, NUL included; "" when it is missing, is no
// text, or would not fit.
std::string GetTextSetting(const char* name, size_t limit = 260, HKEY root = nullptr, const char* subKey = nullptr);
void SetTextSetting(const char* text, const char* name, HKEY root = nullptr, const char* subKey = nullptr);

// Reads a binary value of at most size bytes into data; false, with data untouched, when it is
// missing or longer than size.
bool GetBytesSetting(const char* name, void* data, uint32_t size, HKEY root = nullptr, const char* subKey = nullptr);
void SetBytesSetting(const char* name, const void* data, uint32_t size, HKEY root = nullptr,
                     const char* subKey = nullptr);

// Whether the value exists, without creating the key: tells a stored 0 from a missing value.
bool SettingExists(const char* name, HKEY root = nullptr, const char* subKey = nullptr);
void DeleteSetting(const char* name, HKEY root = nullptr, const char* subKey = nullptr);

// The values of the settings table, by entry. `name` completes a name with a '*' (a key's number,
// a skin's name); `key` names the plug-in or the whole key of the entries that need one. Values of
// the settings root go through the default root.
struct SettingAt {
  std::string_view name, key;
};
// The stored number, or the entry's default when it is missing or no DWORD.
uint32_t ReadNumber(const Setting& s, SettingAt at = {});
inline int32_t ReadSigned(const Setting& s, SettingAt at = {}) { return static_cast<int32_t>(ReadNumber(s, at)); }
void WriteNumber(const Setting& s, uint32_t value, SettingAt at = {});
// The stored text, or the entry's default text when it is missing, empty or too long for the entry.
std::string ReadText(const Setting& s, SettingAt at = {});
void WriteText(const Setting& s, const std::string& text, SettingAt at = {});
// The entry's bytes into data (its size); false, data untouched, when missing or too long.
bool ReadBytes(const Setting& s, void* data, SettingAt at = {});
void WriteBytes(const Setting& s, const void* data, SettingAt at = {});
bool SettingStored(const Setting& s, SettingAt at = {});
void RemoveSetting(const Setting& s, SettingAt at = {});

}  // namespace ox
