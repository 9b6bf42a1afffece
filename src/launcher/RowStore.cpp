#include "launcher/RowStore.h"

#include "core/Settings.h"

namespace ox {
namespace {

constexpr int64_t kMinutesByDefault = 30;  // an empty or unreadable schedule

bool IsNumberRow(const OptionRow& row) {
  return row.control == RowControl::Number || row.control == RowControl::Tenths;
}

}  // namespace

int64_t LoadRowValue(const OptionRow& row) { return ShownValue(row, ReadNumber(*row.setting)); }

void StoreRowValue(const OptionRow& row, int64_t shown) { WriteNumber(*row.setting, StoredValue(row, shown)); }

std::string LoadRowText(const OptionRow& row) {
  if (IsNumberRow(row)) return RowText(row, LoadRowValue(row));
  const std::string text = ReadText(*row.setting);
  if (row.control != RowControl::NumberText) return text;
  const auto minutes = ParseRowText(row, text);
  return RowText(row, minutes ? *minutes : kMinutesByDefault);
}

bool StoreRowText(const OptionRow& row, std::string_view text) {
  if (!IsNumberRow(row) && row.control != RowControl::NumberText) {
    WriteText(*row.setting, std::string(text));
    return true;
  }
  const auto value = ParseRowText(row, text);
  if (!value) return false;
  if (row.control == RowControl::NumberText)
    WriteText(*row.setting, std::to_string(*value));
  else
    StoreRowValue(row, *value);
  return true;
}

}  // namespace ox
