#pragma once
#include "grid/GridTypes.h"
#include "grid/SmallPool.h"
#include "ui/Color.h"
#include "ui/Numbers.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

class TCells;
class TVxCustomColumn;

// One cell of the grid: a typed value seen through five views (boolean, date-time, float,
// integer, text). A cell does not know its coordinates: the store's current cell (the pair
// recorded by the latest fetch) names it when it reports a change.
class TCell : public TPooled {
public:
  explicit TCell(TCells* store) : store_(store) {}
  virtual ~TCell() = default;
  TCell(const TCell&) = delete;
  TCell& operator=(const TCell&) = delete;

  virtual bool BoolValue() const = 0;
  virtual TDateTime DateTimeValue() const = 0;
  virtual double FloatValue() const = 0;
  virtual int32_t IntValue() const = 0;
  virtual std::wstring TextValue() const = 0;
  // The base writes only report the change; each class stores the value first.
  virtual void SetBoolValue(bool value);
  virtual void SetDateTimeValue(TDateTime value);
  virtual void SetFloatValue(double value);
  virtual void SetIntValue(int32_t value);
  virtual void SetTextValue(const std::wstring& value);
  virtual void ResetValue();
  void NotifyChanged();

  TCells* Store() const { return store_; }
  TFontStyles TextStyle() const { return textStyle_; }
  void SetTextStyle(TFontStyles value) { textStyle_ = value; }
  TColor BackColor() const { return backColor_; }
  void SetBackColor(TColor value);
  std::wstring HintText() const { return hint_ ? *hint_ : std::wstring(); }
  void SetHintText(const std::wstring& value);

  // Set while the store creates the cell: colour changes then report nothing.
  bool Creating() const { return creating_; }
  void SetCreating(bool value) { creating_ = value; }

protected:
  // The current row of the store, for cells whose value depends on their row.
  int CurrentRow() const;
  int CurrentColumn() const;

private:
  TCells* store_;
  // Hints are rare; an empty pointer keeps the common cell small.
  std::unique_ptr<std::wstring> hint_;
  TColor backColor_ = clWindow;
  TFontStyles textStyle_;
  bool creating_ = false;
};

// A text cell: the other views parse the text, writes format the value as text.
class TStringCell : public TCell {
public:
  using TCell::TCell;
  bool BoolValue() const override;
  TDateTime DateTimeValue() const override;
  double FloatValue() const override;
  int32_t IntValue() const override;
  std::wstring TextValue() const override { return text_; }
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;
  void ResetValue() override;
  // The stored text without a copy (sorting compares it in place).
  const std::wstring& Text() const { return text_; }

private:
  std::wstring text_;
};

class TBooleanCell : public TCell {
public:
  using TCell::TCell;
  bool BoolValue() const override { return value_; }
  TDateTime DateTimeValue() const override { return 0; }
  double FloatValue() const override { return value_ ? 1 : 0; }
  int32_t IntValue() const override { return value_ ? 1 : 0; }
  std::wstring TextValue() const override { return value_ ? L"True" : L"False"; }
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;
  void ResetValue() override;

private:
  bool value_ = false;
};

class TIntegerCell : public TCell {
public:
  using TCell::TCell;
  bool BoolValue() const override { return value_ > 0; }
  TDateTime DateTimeValue() const override { return 0; }
  double FloatValue() const override { return value_; }
  int32_t IntValue() const override { return value_; }
  std::wstring TextValue() const override { return IntToStrW(value_); }
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;
  void ResetValue() override;

private:
  int32_t value_ = 0;
};

class TFloatCell : public TCell {
public:
  using TCell::TCell;
  bool BoolValue() const override { return false; }
  TDateTime DateTimeValue() const override { return value_; }
  double FloatValue() const override { return value_; }
  int32_t IntValue() const override { return RoundToInt(value_); }
  std::wstring TextValue() const override { return FloatToStrW(value_); }
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;
  void ResetValue() override;

private:
  double value_ = 0;
};

class TDateTimeCell : public TCell {
public:
  using TCell::TCell;
  bool BoolValue() const override { return false; }
  TDateTime DateTimeValue() const override { return value_; }
  double FloatValue() const override { return value_; }
  int32_t IntValue() const override { return RoundToInt(value_); }
  std::wstring TextValue() const override { return DateTimeToStr(value_); }
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;
  void ResetValue() override;

private:
  TDateTime value_ = 0;
};

// The auto number: stores nothing and reads as its row's number (row index + 1).
class TIncrementCell : public TCell {
public:
  using TCell::TCell;
  bool BoolValue() const override { return false; }
  TDateTime DateTimeValue() const override { return 0; }
  double FloatValue() const override { return CurrentRow() + 1; }
  int32_t IntValue() const override { return CurrentRow() + 1; }
  std::wstring TextValue() const override { return IntToStrW(CurrentRow() + 1); }
};

// Holds a GUID, fresh for every new cell; seen as text in the braced registry form.
class TGuidCell : public TCell {
public:
  explicit TGuidCell(TCells* store);
  bool BoolValue() const override;
  TDateTime DateTimeValue() const override;
  double FloatValue() const override;
  int32_t IntValue() const override;
  std::wstring TextValue() const override;
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;

private:
  GUID value_;
};

// Keeps nothing itself: its column supplies and takes the text of (column, row).
class TVirtualCell : public TCell {
public:
  TVirtualCell(TCells* store, TVxCustomColumn* column) : TCell(store), column_(column) {}
  bool BoolValue() const override;
  TDateTime DateTimeValue() const override;
  double FloatValue() const override;
  int32_t IntValue() const override;
  std::wstring TextValue() const override;
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;

private:
  TVxCustomColumn* column_;
};

// A text that reads as a number is true when the number is not 0; otherwise "True" or "False"
// in any letter case; any other text raises the boolean conversion error.
bool TextToBool(const std::wstring& text);
// Empty text is the zero date; otherwise the text must be a date-time.
TDateTime TextToDateTime(const std::wstring& text);
std::wstring BoolToText(bool value);
// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; raises EConvertError otherwise.
GUID TextToGuid(const std::wstring& text);
std::wstring GuidToText(const GUID& guid);
