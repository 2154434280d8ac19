#include "grid/Cell.h"
#include "grid/Grid.h"
#include "ui/Exception.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

namespace {

// Pins the decimal separator so that the float texts do not depend on the machine's locale.
struct CellTest : ::testing::Test {
  void SetUp() override { SetDecimalSeparatorOverride(L'.'); }
  void TearDown() override { SetDecimalSeparatorOverride(0); }
};

template <class F> std::string ErrorOf(F f) {
  try {
    f();
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return "no error";
}

} // namespace

TEST_F(CellTest, BooleanCellTextWritesAcceptOnlyOneAndTrue) {
  TBooleanCell cell(nullptr);
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"1", true},      {L"true", true}, {L"TRUE", true},   {L"tRuE", true},
      {L"yes", false},   {L"-1", false},  {L" true", false}, {L"", false},
      {L"True ", false}, {L"2", false},   {L"0", false},     {L"false", false}};
  for (auto [text, expected] : cases) {
    cell.SetBoolValue(!expected);
    cell.SetTextValue(text);
    EXPECT_EQ(cell.BoolValue(), expected) << text;
    EXPECT_EQ(cell.TextValue(), expected ? L"True" : L"False") << text;
  }
  cell.SetIntValue(-7);
  EXPECT_TRUE(cell.BoolValue());
  EXPECT_EQ(cell.IntValue(), 1);
  EXPECT_EQ(cell.FloatValue(), 1.0);
  cell.SetDateTimeValue(45000);
  EXPECT_FALSE(cell.BoolValue());
  cell.SetFloatValue(0.5);
  EXPECT_TRUE(cell.BoolValue());
}

TEST_F(CellTest, StringCellParsesItsTextForEveryOtherView) {
  TStringCell cell(nullptr);
  for (auto [text, expected] : {std::pair{L"True", true},
                                {L"1", true},
                                {L"fALSE", false},
                                {L"0", false},
                                {L"2.5", true},
                                {L"-0", false}}) {
    cell.SetTextValue(text);
    EXPECT_EQ(cell.BoolValue(), expected) << text;
  }
  cell.SetTextValue(L"maybe");
  EXPECT_EQ(ErrorOf([&] { (void)cell.BoolValue(); }), "'maybe' is not a valid boolean value");
  EXPECT_EQ(ErrorOf([&] { (void)cell.IntValue(); }), "'maybe' is not a valid integer value");
  EXPECT_EQ(ErrorOf([&] { (void)cell.FloatValue(); }),
            "'maybe' is not a valid floating point value");
  EXPECT_EQ(ErrorOf([&] { (void)cell.DateTimeValue(); }), "'maybe' is not a valid date and time");
  cell.SetTextValue(L"");
  EXPECT_EQ(cell.DateTimeValue(), 0);
  EXPECT_EQ(ErrorOf([&] { (void)cell.FloatValue(); }), "'' is not a valid floating point value");
  cell.SetTextValue(L"1536");
  EXPECT_EQ(cell.IntValue(), 1536);
  EXPECT_EQ(cell.FloatValue(), 1536.0);
  cell.SetBoolValue(false);
  EXPECT_EQ(cell.TextValue(), L"False");
  cell.SetIntValue(-42);
  EXPECT_EQ(cell.TextValue(), L"-42");
  cell.SetFloatValue(0.1 + 0.2);
  EXPECT_EQ(cell.TextValue(), L"0.3");
  cell.SetFloatValue(117.7);
  EXPECT_EQ(cell.TextValue(), L"117.7");
  cell.ResetValue();
  EXPECT_EQ(cell.TextValue(), L"");
}

TEST_F(CellTest, IntegerCellRoundsHalvesToEvenAndReadsPositiveAsTrue) {
  TIntegerCell cell(nullptr);
  for (auto [value, expected] : {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.49, 1}}) {
    cell.SetFloatValue(value);
    EXPECT_EQ(cell.IntValue(), expected) << value;
  }
  cell.SetIntValue(-3);
  EXPECT_FALSE(cell.BoolValue());
  EXPECT_EQ(cell.TextValue(), L"-3");
  cell.SetIntValue(2);
  EXPECT_TRUE(cell.BoolValue());
  cell.SetTextValue(L"");
  EXPECT_EQ(cell.IntValue(), 0);
  cell.SetTextValue(L"17");
  EXPECT_EQ(cell.FloatValue(), 17.0);
  EXPECT_EQ(ErrorOf([&] { cell.SetTextValue(L"abc"); }), "'abc' is not a valid integer value");
  EXPECT_EQ(cell.IntValue(), 17);
  cell.SetBoolValue(true);
  EXPECT_EQ(cell.IntValue(), 1);
  cell.SetDateTimeValue(45000.7);
  EXPECT_EQ(cell.IntValue(), 0);
  EXPECT_EQ(cell.DateTimeValue(), 0);
}

TEST_F(CellTest, FloatAndDateTimeCells) {
  TFloatCell number(nullptr);
  number.SetTextValue(L"2.5");
  EXPECT_EQ(number.IntValue(), 2);
  EXPECT_FALSE(number.BoolValue());
  EXPECT_EQ(number.TextValue(), L"2.5");
  number.SetFloatValue(1e20);
  EXPECT_EQ(number.FloatValue(), 1e20);
  EXPECT_EQ(ErrorOf([&] { number.SetTextValue(L""); }), "'' is not a valid floating point value");
  number.SetBoolValue(true);
  EXPECT_EQ(number.FloatValue(), 0);

  TDateTimeCell date(nullptr);
  date.SetFloatValue(45000.5);
  EXPECT_EQ(date.IntValue(), 45000);
  date.SetFloatValue(45001.5);
  EXPECT_EQ(date.IntValue(), 45002);
  EXPECT_EQ(date.TextValue(), DateTimeToStr(45001.5));
  date.SetTextValue(L"not a date");
  EXPECT_EQ(date.DateTimeValue(), 0);
  date.SetTextValue(DateTimeToStr(45001.5));
  EXPECT_NEAR(date.DateTimeValue(), 45001.5, 1e-6);
  date.SetBoolValue(true);
  EXPECT_NEAR(date.DateTimeValue(), Now(), 1.0 / 24);
  EXPECT_FALSE(date.BoolValue());
}

TEST_F(CellTest, GuidCellsAreFreshAndAcceptOnlyTheBracedForm) {
  TGuidCell a(nullptr), b(nullptr);
  const std::wstring text = a.TextValue();
  ASSERT_EQ(text.size(), 38u);
  EXPECT_EQ(text.front(), L'{');
  EXPECT_NE(text, b.TextValue());
  b.SetTextValue(text);
  EXPECT_EQ(b.TextValue(), text);
  EXPECT_EQ(ErrorOf([&] { b.SetTextValue(L"{1234}"); }), "'{1234}' is not a valid GUID value");
  EXPECT_EQ(ErrorOf([&] { b.SetBoolValue(true); }), "'True' is not a valid GUID value");
  const std::string error = ErrorOf([&] { (void)b.IntValue(); });
  EXPECT_NE(error.find(WideToAnsi(text)), std::string::npos) << error;
  EXPECT_NE(error.find("is not a valid integer value"), std::string::npos) << error;
}

TEST_F(CellTest, HintsAndBackColor) {
  TStringCell cell(nullptr);
  EXPECT_EQ(cell.HintText(), L"");
  cell.SetHintText(L"why");
  EXPECT_EQ(cell.HintText(), L"why");
  cell.SetBackColor(clRed);
  EXPECT_EQ(cell.BackColor(), clRed);
}

namespace {

// A column that announces an arbitrary data kind, to reach every cell class.
class TKindColumn : public TVxCustomColumn {
public:
  explicit TKindColumn(uint8_t kind) { SetDataKind(kind); }
};

} // namespace

TEST(CellKindTest, EachCreatingOperationPicksTheClassOfTheKindTable) {
  struct Row {
    uint8_t kind;
    const std::type_info& append;
    const std::type_info& child;
    const std::type_info& insert;
    const std::type_info& columnAdded;
    const std::type_info& columnInserted;
  };
  const Row table[] = {
      {0, typeid(TIncrementCell), typeid(TIncrementCell), typeid(TIntegerCell),
       typeid(TIncrementCell), typeid(TIntegerCell)},
      {1, typeid(TBooleanCell), typeid(TBooleanCell), typeid(TBooleanCell), typeid(TBooleanCell),
       typeid(TBooleanCell)},
      {3, typeid(TDateTimeCell), typeid(TDateTimeCell), typeid(TDateTimeCell),
       typeid(TDateTimeCell), typeid(TDateTimeCell)},
      {4, typeid(TFloatCell), typeid(TFloatCell), typeid(TFloatCell), typeid(TFloatCell),
       typeid(TFloatCell)},
      {6, typeid(TGuidCell), typeid(TStringCell), typeid(TStringCell), typeid(TGuidCell),
       typeid(TGuidCell)},
      {7, typeid(TIntegerCell), typeid(TIntegerCell), typeid(TIntegerCell), typeid(TIntegerCell),
       typeid(TIntegerCell)},
      {8, typeid(TStringCell), typeid(TStringCell), typeid(TStringCell), typeid(TStringCell),
       typeid(TStringCell)},
      {11, typeid(TVirtualCell), typeid(TVirtualCell), typeid(TVirtualCell), typeid(TVirtualCell),
       typeid(TVirtualCell)},
      {2, typeid(TStringCell), typeid(TStringCell), typeid(TStringCell), typeid(TStringCell),
       typeid(TStringCell)},
  };
  for (const Row& expected : table) {
    TVxGrid grid;
    auto column = std::make_unique<TKindColumn>(expected.kind);
    column->SetColor(clYellow);
    grid.Columns().AddColumn(std::move(column));
    grid.AppendRows(1);
    grid.AppendChildRow(0, true);
    grid.InsertRowAt(2);
    EXPECT_EQ(typeid(*grid.CellAt(0, 0)), expected.append) << int(expected.kind);
    EXPECT_EQ(typeid(*grid.CellAt(0, 1)), expected.child) << int(expected.kind);
    EXPECT_EQ(typeid(*grid.CellAt(0, 2)), expected.insert) << int(expected.kind);
    EXPECT_EQ(grid.CellAt(0, 0)->BackColor(), clYellow);
    grid.Columns().AddColumn(std::make_unique<TKindColumn>(expected.kind));
    grid.Columns().InsertColumn(0, std::make_unique<TKindColumn>(expected.kind));
    EXPECT_EQ(typeid(*grid.CellAt(2, 0)), expected.columnAdded) << int(expected.kind);
    EXPECT_EQ(typeid(*grid.CellAt(0, 2)), expected.columnInserted) << int(expected.kind);
  }
}

TEST(CellKindTest, IncrementCellsReadTheirOwnRowNumber) {
  TVxGrid grid;
  grid.Columns().AddColumn(std::make_unique<TKindColumn>(dkAutoNumber));
  grid.AppendRows(3);
  EXPECT_EQ(grid.CellAt(0, 2)->TextValue(), L"3");
  EXPECT_EQ(grid.CellByKey(0, L"first")->IntValue(), 1);
  TCell* cell = grid.CellAt(0, 1);
  cell->SetIntValue(99);
  EXPECT_EQ(cell->IntValue(), 2);
}

// The store keeps a text in one of several forms (in place, one byte a character, UTF-16, a
// head shared by the column): every text reads back as it was written, and sorts by its
// characters.
TEST(CellKindTest, TextsReadBackAsWrittenWhateverTheirForm) {
  TVxGrid grid;
  grid.Columns().Add<TVxTextColumn>(L"Text");
  const std::wstring texts[] = {L"",
                                L"a",
                                L"fifteen chars!!",
                                L"sixteen chars!!!",
                                L"caf\u00e9 \u00ff",
                                L"\u0100",
                                L"\u65e5\u672c\u8a9e",
                                std::wstring(300, L'x') + L"\u20ac",
                                std::wstring(L"nul\0inside", 10)};
  const int n = int(std::size(texts));
  grid.AppendRows(n);
  for (int r = 0; r < n; ++r)
    grid.SetCellText(0, r, texts[r]);
  for (int r = 0; r < n; ++r)
    EXPECT_EQ(grid.CellText(0, r), texts[r]) << r;
  // Rewritten in another row's form.
  for (int r = 0; r < n; ++r)
    grid.SetCellText(0, r, texts[n - 1 - r]);
  for (int r = 0; r < n; ++r)
    EXPECT_EQ(grid.CellText(0, r), texts[n - 1 - r]) << r;

  // Heads kept once: paths under two folders, a type name shared whole, one head rewritten.
  const std::pair<std::wstring, size_t> shared[] = {
      {L"C:\\Temp\\b.tmp", 8},  {L"D:\\Temp\\a.tmp", 8}, {L"C:\\Temp\\\u65e5.log", 8},
      {L"C:\\Other\\a.tmp", 9}, {L"Text Document", 13},  {L"Text Document", 13},
      {L"C:\\Temp\\", 8},       {L"C:\\Temp\\c", 0},     {L"C:\\T", 3}};
  for (int r = 0; r < n; ++r)
    dynamic_cast<TStringCell&>(*grid.CellAt(0, r))
        .SetTextValueSharing(shared[r].first, shared[r].second);
  dynamic_cast<TStringCell&>(*grid.CellAt(0, 6)).SetTextValueSharing(L"C:\\Other\\z.tmp", 9);
  std::vector<std::wstring> expected;
  for (const auto& [text, head] : shared)
    expected.push_back(text);
  expected[6] = L"C:\\Other\\z.tmp";
  for (int r = 0; r < n; ++r)
    EXPECT_EQ(grid.CellText(0, r), expected[r]) << r;
  std::sort(expected.begin(), expected.end());
  grid.Cells().Sort(0, stAlphabetic, false, skAscending);
  for (int r = 0; r < n; ++r)
    EXPECT_EQ(grid.CellText(0, r), expected[r]) << r;
}
