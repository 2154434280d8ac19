#include "grid/Columns.h"

#include "ui/Bitmap.h"
#include "ui/Exception.h"

#include "FoundFilesGrid.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

struct FakeHost : TColumnsHost {
  int clientWidth = 500;
  bool indicator = false;
  bool loading = false;
  int ColumnsClientWidth() const override { return clientWidth; }
  int ColumnsIndicatorWidth() const override { return indicator ? 12 : 0; }
  bool ColumnsLoading() const override { return loading; }
  bool ColumnsDestroying() const override { return false; }
  TFont font;
  FakeHost() { font.SetName(L"Arial"); }
  const TFont& ColumnsGridFont() const override { return font; }
  // The column property changes heard, as (name, kind * 1000 + value).
  std::vector<std::pair<std::wstring, int>> kinds;
  void ColumnsNotify(const TColumnsNotice& n) override {
    if (n.Kind < ckAdding) kinds.emplace_back(n.Column->Name(), n.Kind * 1000 + n.Value);
  }
};

} // namespace

TEST(ColumnsTest, ClassDefaultsDataKindsAndCapabilities) {
  TVxTextColumn text;
  TVxImageColumn image;
  TVxTreeColumn tree;
  TVxCheckBoxColumn check;
  EXPECT_EQ(tree.Options().ToInt(), 1038);
  EXPECT_EQ(check.Options().ToInt(), 1038);
  EXPECT_EQ(text.Options().ToInt(), 9230);
  EXPECT_EQ(text.DataKind(), 8);
  EXPECT_EQ(tree.DataKind(), 8);
  EXPECT_EQ(image.DataKind(), 7);
  EXPECT_EQ(check.DataKind(), 1);
  EXPECT_EQ(text.ClassCapabilities(), 42);
  EXPECT_EQ(image.ClassCapabilities(), 8);
  EXPECT_EQ(tree.ClassCapabilities(), 15);
  EXPECT_EQ(check.ClassCapabilities(), 10);
  EXPECT_EQ(image.DefaultValue(), L"0");
  EXPECT_EQ(check.DefaultValue(), L"");
  EXPECT_EQ(image.SortType(), stNumeric);
  EXPECT_EQ(check.SortType(), stBoolean);
  EXPECT_EQ(text.SortType(), stAlphabetic);
  EXPECT_EQ(text.Width(), 80);
  EXPECT_EQ(text.MinWidth(), 8);
  EXPECT_EQ(text.Color(), clWindow);
  EXPECT_EQ(text.WrapKind(), wkEllipsis);
  EXPECT_EQ(text.VerticalAlignment(), taVerticalCenter);
  EXPECT_EQ(text.Header().Color(), clBtnFace);
  EXPECT_TRUE(text.Header().HideArrow());
  EXPECT_EQ(text.Footer().Color(), clWindow);
  EXPECT_EQ(text.SlideBounds().Left(), 8);
  EXPECT_EQ(text.SlideBounds().Height(), 16);
  EXPECT_TRUE(tree.ShowButtons());
  EXPECT_FALSE(tree.ShowLines());
}

TEST(ColumnsTest, EditorUseFollowsCapabilityEnabledAndOptions) {
  TVxTextColumn text;
  EXPECT_EQ(text.CanUseEditor(), TEditorUses{euInput});
  text.SetOptions(text.Options() + TColumnOptions{coEditing});
  EXPECT_EQ(text.CanUseEditor(), (TEditorUses{euEdit, euInput}));
  text.SetEnabled(false);
  EXPECT_TRUE(text.CanUseEditor().Empty());
  TVxImageColumn image;
  image.SetOptions(image.Options() + TColumnOptions{coEditing});
  EXPECT_TRUE(image.CanUseEditor().Empty());
  // An external editor gives the image column the uses of its options.
  TVxGrid editor;
  image.SetInplaceEdit(&editor);
  EXPECT_EQ(image.CanUseEditor(), (TEditorUses{euEdit, euInput}));
}

TEST(ColumnsTest, AGlyphIsDrawnWithoutTheColourOfItsBottomLeftPixel) {
  TVxTextColumn column;
  EXPECT_EQ(column.Header().Glyph(), nullptr);
  TBitmap picture(3, 2);
  picture.SetPixel(0, 1, clRed);
  picture.SetPixel(0, 0, clBlue);
  column.Header().SetGlyph(picture);
  ASSERT_NE(column.Header().Glyph(), nullptr);
  EXPECT_TRUE(column.Header().Glyph()->Transparent());
  EXPECT_EQ(column.Header().Glyph()->TransparentColor(), clRed);
  EXPECT_EQ(column.Header().Glyph()->Width(), 3);
}

TEST(ColumnsTest, TextColumnDisplayTextAndTreeIndent) {
  TVxTextColumn text;
  text.SetTextBefore(L"<");
  text.SetTextAfter(L" MB");
  EXPECT_EQ(text.DisplayText(L"12"), L"<12 MB");
  text.SetPasswordChar(L'*');
  EXPECT_EQ(text.DisplayText(L"12"), L"******");
  TVxTreeColumn tree;
  RECT rect{10, 0, 200, 16};
  tree.AdjustContentRect(rect, 2, kDesignDpi);
  EXPECT_EQ(rect.left, 10 + 2 * 19 + 16);
  EXPECT_FALSE(TVxImageColumn().AcceptsKey(L'a'));
  EXPECT_TRUE(text.AcceptsKey(L'a'));
  EXPECT_FALSE(text.AcceptsKey(L' '));
}

TEST(ColumnsTest, ColumnByNameIgnoresCaseAndWidthKeepsMinimum) {
  TVxGrid grid;
  SetUpFoundFilesGrid(grid);
  TVxColumns& columns = grid.Columns();
  TVxCustomColumn* fileName = columns.ColumnAt(2);
  for (const wchar_t* name : {L"filename", L"FILENAME", L"Filename", L"FileName"})
    EXPECT_EQ(columns.ColumnByName(name), fileName) << name;
  EXPECT_EQ(columns.ColumnByName(L"FilerealSize"), nullptr);
  EXPECT_EQ(columns.ColumnByName(L""), nullptr);
  fileName->SetWidth(3);
  EXPECT_EQ(fileName->Width(), 8);
}

TEST(ColumnsTest, HiddenColumnsTakeNoSpaceAndHidingShiftsLaterColumns) {
  TVxGrid grid;
  SetUpFoundFilesGrid(grid);
  TVxColumns& columns = grid.Columns();
  // Number 39, FileIcon hidden, FileName 426, FileSize 80, FileType 80, SelectCheck 36.
  const int lefts[] = {0, -1, 39, 465, 545, 625, -1};
  for (int i = 0; i < 7; ++i) {
    TVxCustomColumn* c = columns.ColumnAt(i);
    if (lefts[i] < 0) {
      EXPECT_EQ(c->VisibleIndex(), -1) << i;
      continue;
    }
    EXPECT_EQ(c->Left(), lefts[i]) << i;
  }
  EXPECT_EQ(columns.VisibleColumnCount(), 5);
  EXPECT_EQ(columns.VisibleColumnsWidth(), 661);
  columns.ColumnByName(L"FileName")->SetVisible(false);
  EXPECT_EQ(columns.ColumnByName(L"FileSize")->Left(), 39);
  EXPECT_EQ(columns.ColumnByName(L"SelectCheck")->Left(), 199);
  EXPECT_EQ(columns.ColumnByName(L"SelectCheck")->VisibleIndex(), 3);
  EXPECT_EQ(columns.FirstVisibleColumn()->Name(), L"Number");
  EXPECT_EQ(columns.LastVisibleColumn()->Name(), L"SelectCheck");
  EXPECT_EQ(columns.NextColumn(columns.ColumnAt(0))->Name(), L"FileSize");
  EXPECT_EQ(columns.PreviousColumn(columns.ColumnAt(0))->Name(), L"Number");
}

TEST(ColumnsTest, SortedIsRefusedByTheTreeColumnAndHeldByOneColumn) {
  FakeHost rec;
  TVxColumns columns(&rec);
  auto* tree = columns.Add<TVxTreeColumn>(L"Tree");
  auto* a = columns.Add<TVxTextColumn>(L"A");
  auto* b = columns.Add<TVxCheckBoxColumn>(L"B");
  rec.kinds.clear();
  tree->SetSorted(true);
  EXPECT_FALSE(tree->Sorted());
  EXPECT_TRUE(rec.kinds.empty());
  a->SetSorted(true);
  b->SetSorted(true);
  b->SetSortKind(skDescending);
  b->SetSorted(false);
  EXPECT_FALSE(a->Sorted());
  using K = std::pair<std::wstring, int>;
  EXPECT_EQ(rec.kinds,
            (std::vector<K>{{L"A", 4000}, {L"A", 8000}, {L"B", 4000}, {L"B", 5000}, {L"B", 8000}}));
}

TEST(ColumnsTest, SearchColumnStaysOnTheLastColumnThatGotIt) {
  TVxColumns columns;
  auto* a = columns.Add<TVxTextColumn>(L"A");
  auto* b = columns.Add<TVxTextColumn>(L"B");
  a->SetOptions(a->Options() + TColumnOptions{coSearchColumn});
  b->SetOptions(b->Options() + TColumnOptions{coSearchColumn});
  EXPECT_FALSE(a->Options().Contains(coSearchColumn));
  EXPECT_TRUE(b->Options().Contains(coSearchColumn));
}

TEST(ColumnsTest, MoveRenumbersPositionsAndReportsTheOldPosition) {
  FakeHost rec;
  TVxColumns columns(&rec);
  for (const wchar_t* name : {L"A", L"B", L"C", L"D"})
    columns.Add<TVxTextColumn>(name);
  columns.MoveColumn(0, 2);
  std::wstring order;
  for (int p = 0; p < 4; ++p) {
    order += columns.ColumnAtPosition(p)->Name();
    EXPECT_EQ(columns.ColumnAtPosition(p)->Position(), p);
  }
  EXPECT_EQ(order, L"BCAD");
  EXPECT_EQ(columns.ColumnAt(0)->Left(), 160);
  EXPECT_EQ(rec.kinds.back(), (std::pair<std::wstring, int>{L"A", 2000}));
  columns.ColumnAt(3)->SetPosition(0);
  EXPECT_EQ(columns.ColumnAtPosition(0)->Name(), L"D");
  EXPECT_EQ(columns.ColumnAt(3)->Position(), 0);
}

TEST(ColumnsTest, LoadingPlacesColumnsByTheirStoredPositions) {
  TVxColumns columns;
  columns.BeginLoading();
  for (auto [name, position] : {std::pair{L"A", 2}, {L"B", 0}, {L"C", 1}}) {
    auto column = std::make_unique<TVxTextColumn>();
    column->SetName(name);
    column->SetPosition(position);
    columns.AddColumn(std::move(column));
  }
  columns.EndLoading();
  EXPECT_EQ(columns.ColumnAtPosition(0)->Name(), L"B");
  EXPECT_EQ(columns.ColumnAtPosition(1)->Name(), L"C");
  EXPECT_EQ(columns.ColumnAtPosition(2)->Name(), L"A");
  EXPECT_EQ(columns.ColumnAt(0)->Left(), 160);
  EXPECT_EQ(columns.IndexOfColumn(columns.ColumnByName(L"C")), 2);
}

TEST(ColumnsTest, AGridLayoutMaySetPositionsAfterAddingTheColumns) {
  TVxGrid grid;
  grid.BeginLoading();
  for (const wchar_t* name : {L"A", L"B", L"C"})
    grid.Columns().Add<TVxTextColumn>(name);
  grid.Columns().ColumnAt(0)->SetPosition(2);
  grid.Columns().ColumnAt(1)->SetPosition(0);
  grid.Columns().ColumnAt(2)->SetPosition(1);
  grid.Columns().ColumnAt(1)->SetWidth(50);
  grid.EndLoading();
  EXPECT_EQ(grid.Columns().ColumnAtPosition(0)->Name(), L"B");
  EXPECT_EQ(grid.Columns().ColumnAtPosition(2)->Name(), L"A");
  EXPECT_EQ(grid.Columns().ColumnAt(0)->Left(), 130);
}

TEST(ColumnsTest, AutoSizeSharesTheFreeWidthRoundingHalvesToEven) {
  FakeHost host;
  TVxColumns columns(&host);
  auto* a = columns.Add<TVxTextColumn>(L"A");
  auto* b = columns.Add<TVxTextColumn>(L"B");
  auto* c = columns.Add<TVxTextColumn>(L"C");
  a->SetWidth(100);
  b->SetWidth(100);
  c->SetWidth(200);
  a->SetOptions(a->Options() + TColumnOptions{coAutoSize});
  // At A: b = 0, s = 300 (B and C), t = 100 -> 100 * 200 / 100.
  EXPECT_EQ(a->Width(), 200);
  c->SetOptions(c->Options() + TColumnOptions{coAutoSize});
  // At C: b = C's left 300, s = 0, t = 200 -> 200 * 200 / 200.
  EXPECT_EQ(c->Width(), 200);
  host.clientWidth = 601;
  b->SetVisible(false);
  b->SetVisible(true);
  // From the start: t = 400, s = 100, 200 * 501 / 400 = 250.5 -> 250 for both.
  EXPECT_EQ(a->Width(), 250);
  EXPECT_EQ(c->Width(), 250);
  EXPECT_EQ(c->Left(), 350);
  host.clientWidth = 5;
  b->SetWidth(101);
  // After B: the share would be negative, so C is raised to its minimum width.
  EXPECT_EQ(c->Width(), 8);
}

TEST(ColumnsTest, ParentFontCopiesTheGridFontAndOwnFontEndsIt) {
  FakeHost host;
  TVxColumns columns(&host);
  auto* a = columns.Add<TVxTextColumn>(L"A");
  EXPECT_EQ(a->Font().Name(), L"Arial");
  host.font.SetName(L"Tahoma");
  a->SetParentFont(false);
  EXPECT_EQ(a->Font().Name(), L"Arial");
  a->SetParentFont(true);
  EXPECT_EQ(a->Font().Name(), L"Tahoma");
  EXPECT_TRUE(a->ParentFont());
  a->Font().SetStyle({fsBold});
  EXPECT_FALSE(a->ParentFont());
}

TEST(ColumnsTest, RemovingAColumnRenumbersAndFreesItsCells) {
  TVxGrid grid;
  SetUpFoundFilesGrid(grid);
  grid.AppendRows(2);
  auto removed = grid.Columns().RemoveColumn(grid.Columns().ColumnByName(L"FileIcon"));
  ASSERT_NE(removed, nullptr);
  EXPECT_EQ(grid.Columns().ColumnCount(), 6);
  EXPECT_EQ(grid.Cells().ColumnTotal(), 6);
  EXPECT_EQ(grid.Columns().ColumnByName(L"FileName")->Position(), 1);
  EXPECT_EQ(grid.CellByKey(L"SelectCheck", 1)->TextValue(), L"True");
  EXPECT_EQ(removed->Collection(), nullptr);
}

TEST(ColumnsTest, TheGridsFontReachesOnlyColumnsThatFollowIt) {
  TVxGrid grid;
  auto* follows = grid.Columns().Add<TVxTextColumn>(L"Follows");
  auto* own = grid.Columns().Add<TVxTextColumn>(L"Own");
  own->Font().SetName(L"Tahoma");
  grid.Font().SetName(L"Courier New");
  EXPECT_EQ(follows->Font().Name(), L"Courier New");
  EXPECT_TRUE(follows->ParentFont());
  EXPECT_EQ(own->Font().Name(), L"Tahoma");
  grid.AppendRows(1);
  own->Font().SetStyle({fsItalic});
  grid.AppendRows(1);
  EXPECT_TRUE(grid.CellAt(1, 0)->TextStyle().Empty());
  EXPECT_EQ(grid.CellAt(1, 1)->TextStyle(), TFontStyles{fsItalic});
}

TEST(ColumnsTest, AColumnBeyondTheLimitIsRefusedBeforeItJoins) {
  TVxGrid grid;
  for (int i = 0; i < TVxColumns::kMaxColumns; ++i)
    grid.Columns().Add<TVxTextColumn>(L"C");
  EXPECT_THROW(grid.Columns().Add<TVxTextColumn>(L"Extra"), EListError);
  EXPECT_EQ(grid.Columns().ColumnCount(), TVxColumns::kMaxColumns);
  EXPECT_EQ(grid.Cells().ColumnTotal(), TVxColumns::kMaxColumns);
  EXPECT_EQ(grid.Columns().ColumnByName(L"Extra"), nullptr);
}

TEST(ColumnsTest, RaisingTheMinimumAboveTheWidthWidensTheColumn) {
  FakeHost host;
  TVxColumns columns(&host);
  auto* a = columns.Add<TVxTextColumn>(L"A");
  auto* b = columns.Add<TVxTextColumn>(L"B");
  a->SetMinWidth(50);
  EXPECT_EQ(a->Width(), 80);
  a->SetMinWidth(120);
  EXPECT_EQ(a->Width(), 120);
  EXPECT_EQ(b->Left(), 120);
  EXPECT_EQ(host.kinds.back(), (std::pair<std::wstring, int>{L"A", ckWidth * 1000 + 40}));
}
