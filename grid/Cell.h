#pragma once
#include "grid/CellText.h"
#include "grid/GridTypes.h"
#include "grid/SmallPool.h"
#include "ui/Color.h"
#include "ui/Numbers.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TCells;
class TVxCustomColumn;

// One cell of the grid: a typed value seen through five views (boolean, date-time, float,
// integer, text). A cell does not know its coordinates: the store's current cell (the pair
// recorded by the latest fetch) names it when it reports a change.
//
// Most of the store's cells are not objects of their own: a column keeps its values in one
// compact list, and one shared cell of the column's class stands for whichever of them the
// current cell names. Its colour, style and hint live in the store beside the values.
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
  TFontStyles TextStyle() const;
  void SetTextStyle(TFontStyles value);
  TColor BackColor() const;
  void SetBackColor(TColor value);
  std::wstring HintText() const;
  void SetHintText(const std::wstring& value);

  // Set while the store creates the cell: colour changes then report nothing.
  bool Creating() const { return creating_; }
  void SetCreating(bool value) { creating_ = value; }

  // Makes a shared cell stand for one cell whatever is fetched later (a comparison holds two
  // cells at once).
  void Pin(int column, int row) {
    pinnedColumn_ = column;
    pinnedRow_ = row;
  }

protected:
  // The current row of the store (or the pinned one), for cells whose value depends on their
  // row.
  int CurrentRow() const;
  int CurrentColumn() const;
  // The cell stands for every cell of its column in the store.
  void MakeShared() { shared_ = true; }

private:
  TCells* store_;
  // Hints are rare; an empty pointer keeps the common cell small.
  std::unique_ptr<std::wstring> hint_;
  TColor backColor_ = clWindow;
  TFontStyles textStyle_;
  bool creating_ = false;
  bool shared_ = false;
  int pinnedColumn_ = -1;
  int pinnedRow_ = -1;
};

// The values of a text column as the store keeps them; heads outlive the texts that use them.
struct TTextValues {
  TTextHeads heads;
  std::vector<TCellText> texts;
};

// A text cell: the other views parse the text, writes format the value as text.
class TStringCell : public TCell {
public:
  using TCell::TCell;
  // The store's shared cell of a text column.
  TStringCell(TCells* store, TTextValues& values) : TCell(store), values_(&values) { MakeShared(); }
  bool BoolValue() const override;
  TDateTime DateTimeValue() const override;
  double FloatValue() const override;
  int32_t IntValue() const override;
  std::wstring TextValue() const override { return Text().Get(); }
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;
  void ResetValue() override;
  // Writes the text keeping its first headLength characters once for the whole column, for
  // texts that many rows begin with alike.
  void SetTextValueSharing(const std::wstring& value, size_t headLength);

private:
  const TCellText& Text() const { return values_ ? values_->texts[CurrentRow()] : text_; }
  TCellText& Text() { return values_ ? values_->texts[CurrentRow()] : text_; }
  TCellText text_;
  TTextValues* values_ = nullptr;
};

class TBooleanCell : public TCell {
public:
  using TCell::TCell;
  // The store's shared cell of a boolean column.
  TBooleanCell(TCells* store, std::vector<uint8_t>& values) : TCell(store), values_(&values) {
    MakeShared();
  }
  bool BoolValue() const override { return Value(); }
  TDateTime DateTimeValue() const override { return 0; }
  double FloatValue() const override { return Value() ? 1 : 0; }
  int32_t IntValue() const override { return Value() ? 1 : 0; }
  std::wstring TextValue() const override { return Value() ? L"True" : L"False"; }
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;
  void ResetValue() override;

private:
  bool Value() const { return values_ ? (*values_)[CurrentRow()] != 0 : value_; }
  void Put(bool value) {
    if (values_)
      (*values_)[CurrentRow()] = value ? 1 : 0;
    else
      value_ = value;
  }
  bool value_ = false;
  std::vector<uint8_t>* values_ = nullptr;
};

class TIntegerCell : public TCell {
public:
  using TCell::TCell;
  // The store's shared cell of an integer column.
  TIntegerCell(TCells* store, std::vector<int32_t>& values) : TCell(store), values_(&values) {
    MakeShared();
  }
  bool BoolValue() const override { return Value() > 0; }
  TDateTime DateTimeValue() const override { return 0; }
  double FloatValue() const override { return Value(); }
  int32_t IntValue() const override { return Value(); }
  std::wstring TextValue() const override { return IntToStrW(Value()); }
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;
  void ResetValue() override;

private:
  int32_t Value() const { return values_ ? (*values_)[CurrentRow()] : value_; }
  void Put(int32_t value) { (values_ ? (*values_)[CurrentRow()] : value_) = value; }
  int32_t value_ = 0;
  std::vector<int32_t>* values_ = nullptr;
};

class TFloatCell : public TCell {
public:
  using TCell::TCell;
  // The store's shared cell of a float column.
  TFloatCell(TCells* store, std::vector<double>& values) : TCell(store), values_(&values) {
    MakeShared();
  }
  bool BoolValue() const override { return false; }
  TDateTime DateTimeValue() const override { return Value(); }
  double FloatValue() const override { return Value(); }
  int32_t IntValue() const override { return RoundToInt(Value()); }
  std::wstring TextValue() const override { return FloatToStrW(Value()); }
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;
  void ResetValue() override;

private:
  double Value() const { return values_ ? (*values_)[CurrentRow()] : value_; }
  void Put(double value) { (values_ ? (*values_)[CurrentRow()] : value_) = value; }
  double value_ = 0;
  std::vector<double>* values_ = nullptr;
};

class TDateTimeCell : public TCell {
public:
  using TCell::TCell;
  // The store's shared cell of a date-time column.
  TDateTimeCell(TCells* store, std::vector<double>& values) : TCell(store), values_(&values) {
    MakeShared();
  }
  bool BoolValue() const override { return false; }
  TDateTime DateTimeValue() const override { return Value(); }
  double FloatValue() const override { return Value(); }
  int32_t IntValue() const override { return RoundToInt(Value()); }
  std::wstring TextValue() const override { return DateTimeToStr(Value()); }
  void SetBoolValue(bool value) override;
  void SetDateTimeValue(TDateTime value) override;
  void SetFloatValue(double value) override;
  void SetIntValue(int32_t value) override;
  void SetTextValue(const std::wstring& value) override;
  void ResetValue() override;

private:
  TDateTime Value() const { return values_ ? (*values_)[CurrentRow()] : value_; }
  void Put(TDateTime value) { (values_ ? (*values_)[CurrentRow()] : value_) = value; }
  TDateTime value_ = 0;
  std::vector<double>* values_ = nullptr;
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
  // Made shared by the store: one serves every row of its column.
  TVirtualCell(TCells* store, TVxCustomColumn* column) : TCell(store), column_(column) {
    MakeShared();
  }
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
