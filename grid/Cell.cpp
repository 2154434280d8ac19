#include "grid/Cell.h"

#include "grid/Cells.h"
#include "grid/Column.h"
#include "ui/Exception.h"

#include <objbase.h>

namespace {

bool EqualsAsciiNoCase(const std::wstring& text, const wchar_t* word) {
  size_t i = 0;
  for (; word[i] != 0; ++i) {
    if (i >= text.size()) return false;
    wchar_t c = text[i];
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    if (c != word[i]) return false;
  }
  return i == text.size();
}

} // namespace

bool TextToBool(const std::wstring& text) {
  double number;
  if (TryStrToFloat(text, number)) return number != 0;
  if (EqualsAsciiNoCase(text, L"true")) return true;
  if (EqualsAsciiNoCase(text, L"false")) return false;
  throw EConvertError("'" + WideToAnsi(text) + "' is not a valid boolean value");
}

TDateTime TextToDateTime(const std::wstring& text) {
  return text.empty() ? 0 : StrToDateTime(text);
}

std::wstring BoolToText(bool value) {
  return value ? L"True" : L"False";
}

GUID TextToGuid(const std::wstring& text) {
  // The braced registry form only: 38 characters with the dashes in their places.
  bool ok = text.size() == 38 && text.front() == L'{' && text.back() == L'}';
  for (size_t i = 1; ok && i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    ok = dash ? text[i] == L'-' : iswxdigit(text[i]) != 0;
  }
  GUID guid{};
  if (!ok || FAILED(CLSIDFromString(text.c_str(), &guid)))
    throw EConvertError("'" + WideToAnsi(text) + "' is not a valid GUID value");
  return guid;
}

std::wstring GuidToText(const GUID& guid) {
  wchar_t buffer[40];
  const int length = StringFromGUID2(guid, buffer, 40);
  return std::wstring(buffer, length > 0 ? length - 1 : 0);
}

void TCell::SetBoolValue(bool) {
  NotifyChanged();
}
void TCell::SetDateTimeValue(TDateTime) {
  NotifyChanged();
}
void TCell::SetFloatValue(double) {
  NotifyChanged();
}
void TCell::SetIntValue(int32_t) {
  NotifyChanged();
}
void TCell::SetTextValue(const std::wstring&) {
  NotifyChanged();
}
void TCell::ResetValue() {
  NotifyChanged();
}

void TCell::NotifyChanged() {
  if (store_) store_->CellChanged();
}

TFontStyles TCell::TextStyle() const {
  return shared_ && store_ ? store_->CellTextStyle(CurrentColumn(), CurrentRow()) : textStyle_;
}

void TCell::SetTextStyle(TFontStyles value) {
  if (shared_ && store_)
    store_->CellExtras(CurrentColumn(), CurrentRow()).TextStyle = value;
  else
    textStyle_ = value;
}

TColor TCell::BackColor() const {
  return shared_ && store_ ? store_->CellBackColor(CurrentColumn(), CurrentRow()) : backColor_;
}

void TCell::SetBackColor(TColor value) {
  if (shared_ && store_)
    store_->CellExtras(CurrentColumn(), CurrentRow()).BackColor = value;
  else
    backColor_ = value;
  if (!creating_) NotifyChanged();
}

std::wstring TCell::HintText() const {
  if (shared_ && store_) return store_->CellHint(CurrentColumn(), CurrentRow());
  return hint_ ? *hint_ : std::wstring();
}

void TCell::SetHintText(const std::wstring& value) {
  if (shared_ && store_) {
    if (!value.empty() || store_->CellHasExtras(CurrentColumn(), CurrentRow()))
      store_->CellExtras(CurrentColumn(), CurrentRow()).Hint = value;
  } else if (value.empty()) {
    hint_.reset();
  } else if (hint_) {
    *hint_ = value;
  } else {
    hint_ = std::make_unique<std::wstring>(value);
  }
}

int TCell::CurrentRow() const {
  if (pinnedRow_ >= 0) return pinnedRow_;
  return store_ ? store_->CurrentRow() : 0;
}
int TCell::CurrentColumn() const {
  if (pinnedColumn_ >= 0) return pinnedColumn_;
  return store_ ? store_->CurrentColumn() : 0;
}

bool TStringCell::BoolValue() const {
  return TextToBool(TextValue());
}
TDateTime TStringCell::DateTimeValue() const {
  return TextToDateTime(TextValue());
}
double TStringCell::FloatValue() const {
  return StrToFloat(TextValue());
}
int32_t TStringCell::IntValue() const {
  return StrToInt(TextValue());
}

void TStringCell::SetBoolValue(bool value) {
  Text().Assign(BoolToText(value));
  TCell::SetBoolValue(value);
}

void TStringCell::SetDateTimeValue(TDateTime value) {
  Text().Assign(DateTimeToStr(value));
  TCell::SetDateTimeValue(value);
}

void TStringCell::SetFloatValue(double value) {
  Text().Assign(FloatToStrW(value));
  TCell::SetFloatValue(value);
}

void TStringCell::SetIntValue(int32_t value) {
  Text().Assign(IntToStrW(value));
  TCell::SetIntValue(value);
}

void TStringCell::SetTextValue(const std::wstring& value) {
  Text().Assign(value);
  TCell::SetTextValue(value);
}

void TStringCell::SetTextValueSharing(const std::wstring& value, size_t headLength) {
  if (values_ && headLength > 0 && headLength <= value.size())
    Text().Assign(value, values_->heads.Intern(std::wstring_view(value).substr(0, headLength)));
  else
    Text().Assign(value);
  TCell::SetTextValue(value);
}

void TStringCell::ResetValue() {
  Text().Assign({});
  TCell::ResetValue();
}

void TBooleanCell::SetBoolValue(bool value) {
  Put(value);
  TCell::SetBoolValue(value);
}

void TBooleanCell::SetDateTimeValue(TDateTime value) {
  Put(false);
  TCell::SetDateTimeValue(value);
}

void TBooleanCell::SetFloatValue(double value) {
  Put(value != 0);
  TCell::SetFloatValue(value);
}

void TBooleanCell::SetIntValue(int32_t value) {
  Put(value != 0);
  TCell::SetIntValue(value);
}

void TBooleanCell::SetTextValue(const std::wstring& value) {
  Put(value == L"1" || EqualsAsciiNoCase(value, L"true"));
  TCell::SetTextValue(value);
}

void TBooleanCell::ResetValue() {
  Put(false);
  TCell::ResetValue();
}

void TIntegerCell::SetBoolValue(bool value) {
  Put(value ? 1 : 0);
  TCell::SetBoolValue(value);
}

void TIntegerCell::SetDateTimeValue(TDateTime value) {
  Put(0);
  TCell::SetDateTimeValue(value);
}

void TIntegerCell::SetFloatValue(double value) {
  Put(RoundToInt(value));
  TCell::SetFloatValue(value);
}

void TIntegerCell::SetIntValue(int32_t value) {
  Put(value);
  TCell::SetIntValue(value);
}

void TIntegerCell::SetTextValue(const std::wstring& value) {
  Put(value.empty() ? 0 : StrToInt(value));
  TCell::SetTextValue(value);
}

void TIntegerCell::ResetValue() {
  Put(0);
  TCell::ResetValue();
}

void TFloatCell::SetBoolValue(bool value) {
  Put(0);
  TCell::SetBoolValue(value);
}

void TFloatCell::SetDateTimeValue(TDateTime value) {
  Put(value);
  TCell::SetDateTimeValue(value);
}

void TFloatCell::SetFloatValue(double value) {
  Put(value);
  TCell::SetFloatValue(value);
}

void TFloatCell::SetIntValue(int32_t value) {
  Put(value);
  TCell::SetIntValue(value);
}

void TFloatCell::SetTextValue(const std::wstring& value) {
  Put(StrToFloat(value));
  TCell::SetTextValue(value);
}

void TFloatCell::ResetValue() {
  Put(0);
  TCell::ResetValue();
}

void TDateTimeCell::SetBoolValue(bool value) {
  Put(Now());
  TCell::SetBoolValue(value);
}

void TDateTimeCell::SetDateTimeValue(TDateTime value) {
  Put(value);
  TCell::SetDateTimeValue(value);
}

void TDateTimeCell::SetFloatValue(double value) {
  Put(value);
  TCell::SetFloatValue(value);
}

void TDateTimeCell::SetIntValue(int32_t value) {
  Put(value);
  TCell::SetIntValue(value);
}

void TDateTimeCell::SetTextValue(const std::wstring& value) {
  TDateTime parsed = 0;
  Put(!value.empty() && TryStrToDateTime(value, parsed) ? parsed : 0);
  TCell::SetTextValue(value);
}

void TDateTimeCell::ResetValue() {
  Put(0);
  TCell::ResetValue();
}

TGuidCell::TGuidCell(TCells* store) : TCell(store) {
  if (FAILED(CoCreateGuid(&value_))) value_ = GUID{};
}

bool TGuidCell::BoolValue() const {
  return TextToBool(TextValue());
}
TDateTime TGuidCell::DateTimeValue() const {
  return TextToDateTime(TextValue());
}
double TGuidCell::FloatValue() const {
  return StrToFloat(TextValue());
}
int32_t TGuidCell::IntValue() const {
  return StrToInt(TextValue());
}
std::wstring TGuidCell::TextValue() const {
  return GuidToText(value_);
}
void TGuidCell::SetBoolValue(bool value) {
  SetTextValue(BoolToText(value));
}
void TGuidCell::SetDateTimeValue(TDateTime value) {
  SetTextValue(DateTimeToStr(value));
}
void TGuidCell::SetFloatValue(double value) {
  SetTextValue(FloatToStrW(value));
}
void TGuidCell::SetIntValue(int32_t value) {
  SetTextValue(IntToStrW(value));
}

void TGuidCell::SetTextValue(const std::wstring& value) {
  value_ = TextToGuid(value);
  TCell::SetTextValue(value);
}

bool TVirtualCell::BoolValue() const {
  return TextToBool(TextValue());
}
TDateTime TVirtualCell::DateTimeValue() const {
  return TextToDateTime(TextValue());
}
double TVirtualCell::FloatValue() const {
  return StrToFloat(TextValue());
}
int32_t TVirtualCell::IntValue() const {
  return StrToInt(TextValue());
}

std::wstring TVirtualCell::TextValue() const {
  return column_ ? column_->VirtualText(CurrentColumn(), CurrentRow()) : std::wstring();
}

void TVirtualCell::SetBoolValue(bool value) {
  SetTextValue(BoolToText(value));
}
void TVirtualCell::SetDateTimeValue(TDateTime value) {
  SetTextValue(DateTimeToStr(value));
}
void TVirtualCell::SetFloatValue(double value) {
  SetTextValue(FloatToStrW(value));
}
void TVirtualCell::SetIntValue(int32_t value) {
  SetTextValue(IntToStrW(value));
}

void TVirtualCell::SetTextValue(const std::wstring& value) {
  if (column_) column_->SetVirtualText(CurrentColumn(), CurrentRow(), value);
  TCell::SetTextValue(value);
}
