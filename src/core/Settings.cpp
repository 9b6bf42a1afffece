#include "core/Settings.h"

#include <cstring>
#include <vector>

#include "base/Text.h"

namespace ox {

namespace {

// Both constant-initialised, so static objects may read settings before main runs.
HKEY g_root = nullptr;  // null: HKEY_CURRENT_USER
char g_subKey[260] = "Software\\Quillmarsh\\Orlavox";

HKEY RootOr(HKEY root) { return root ? root : g_root ? g_root : HKEY_CURRENT_USER; }

// An open registry key, closed at the end of the access.
class Key {
 public:
  // Opens or creates the key; `kind` is the class string a created key gets.
  Key(HKEY root, const char* subKey, const char* kind, REGSAM access) {
    if (RegCreateKeyExA(RootOr(root), subKey ? subKey : g_subKey, 0, const_cast<char*>(kind),
                        REG_OPTION_NON_VOLATILE, access, nullptr, &key_, nullptr) != ERROR_SUCCESS)
      key_ = nullptr;
  }
  // Opens an existing key only.
  Key(HKEY root, const char* subKey, REGSAM access) {
    if (RegOpenKeyExA(RootOr(root), subKey ? subKey : g_subKey, 0, access, &key_) != ERROR_SUCCESS)
      key_ = nullptr;
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  explicit operator bool() const { return key_ != nullptr; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

void SetDefaultSettingsRoot(HKEY root, const char* subKey) {
  g_root = root;
  CopyBounded(g_subKey, subKey ? subKey : "");
}

uint32_t GetNumberSetting(const char* name, HKEY root, const char* subKey) {
  Key key(root, subKey, "REG_DWORD", KEY_QUERY_VALUE);
  DWORD value = 0, size = sizeof value;
  if (!key || RegQueryValueExA(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
                  ERROR_SUCCESS)
    return 0;
  return value;
}

void SetNumberSetting(uint32_t value, const char* name, HKEY root, const char* subKey) {
  Key key(root, subKey, "REG_DWORD", KEY_WRITE);
  const DWORD v = value;
  if (key) RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
}

std::string GetTextSetting(const char* name, size_t limit, HKEY root, const char* subKey) {
  Key key(root, subKey, "REG_SZ", KEY_QUERY_VALUE);
  if (!key || limit == 0) return {};
  std::vector<char> buffer(limit);
  DWORD type = 0, size = static_cast<DWORD>(limit);
  if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  // A stored text need not end in NUL; one that fills the buffer without it did not fit.
  const std::string_view text = FieldText(buffer.data(), size);
  return text.size() < limit ? std::string(text) : std::string();
}

void SetTextSetting(const char* text, const char* name, HKEY root, const char* subKey) {
  Key key(root, subKey, "REG_SZ", KEY_WRITE);
  if (key)
    RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(strlen(text) + 1));
}

bool GetBytesSetting(const char* name, void* data, uint32_t size, HKEY root, const char* subKey) {
  Key key(root, subKey, "REG_BINARY", KEY_QUERY_VALUE);
  if (!key) return false;
  // Through a copy: a value too long for the caller's buffer must leave it as it was.
  std::vector<BYTE> buffer(size ? size : 1);
  DWORD got = size;
  if (RegQueryValueExA(key.Get(), name, nullptr, nullptr, buffer.data(), &got) != ERROR_SUCCESS) return false;
  memcpy(data, buffer.data(), got);
  return true;
}

void SetBytesSetting(const char* name, const void* data, uint32_t size, HKEY root, const char* subKey) {
  Key key(root, subKey, "REG_BINARY", KEY_WRITE);
  if (key) RegSetValueExA(key.Get(), name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
}

bool SettingExists(const char* name, HKEY root, const char* subKey) {
  Key key(root, subKey, KEY_QUERY_VALUE);
  return key && RegQueryValueExA(key.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void DeleteSetting(const char* name, HKEY root, const char* subKey) {
  Key key(root, subKey, KEY_ALL_ACCESS);
  if (key) RegDeleteValueA(key.Get(), name);
}

namespace {

struct Address {
  std::string name, key;
  HKEY root;
  const char* subKey() const { return root ? key.c_str() : nullptr; }
};

// Values of the settings root follow the default root; the others are named in full.
Address AddressOf(const Setting& s, SettingAt at) {
  if (s.place == SettingPlace::Main) return {SettingName(s, at.name), {}, nullptr};
  return {SettingName(s, at.name), SettingKey(s, at.key), HKEY_CURRENT_USER};
}

}  // namespace

uint32_t ReadNumber(const Setting& s, SettingAt at) {
  const Address a = AddressOf(s, at);
  Key key(a.root, a.subKey(), "REG_DWORD", KEY_QUERY_VALUE);
  DWORD value = 0, size = sizeof value, type = 0;
  if (!key ||
      RegQueryValueExA(key.Get(), a.name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      size != sizeof value)
    return static_cast<uint32_t>(s.defaultValue);
  return value;
}

void WriteNumber(const Setting& s, uint32_t value, SettingAt at) {
  const Address a = AddressOf(s, at);
  SetNumberSetting(value, a.name.c_str(), a.root, a.subKey());
}

std::string ReadText(const Setting& s, SettingAt at) {
  const Address a = AddressOf(s, at);
  std::string text = GetTextSetting(a.name.c_str(), s.size, a.root, a.subKey());
  return text.empty() ? s.defaultText : text;
}

void WriteText(const Setting& s, const std::string& text, SettingAt at) {
  const Address a = AddressOf(s, at);
  SetTextSetting(text.c_str(), a.name.c_str(), a.root, a.subKey());
}

bool ReadBytes(const Setting& s, void* data, SettingAt at) {
  const Address a = AddressOf(s, at);
  return GetBytesSetting(a.name.c_str(), data, s.size, a.root, a.subKey());
}

void WriteBytes(const Setting& s, const void* data, SettingAt at) {
  const Address a = AddressOf(s, at);
  SetBytesSetting(a.name.c_str(), data, s.size, a.root, a.subKey());
}

bool SettingStored(const Setting& s, SettingAt at) {
  const Address a = AddressOf(s, at);
  return SettingExists(a.name.c_str(), a.root, a.subKey());
}

void RemoveSetting(const Setting& s, SettingAt at) {
  const Address a = AddressOf(s, at);
  DeleteSetting(a.name.c_str(), a.root, a.subKey());
}

}  // namespace ox
