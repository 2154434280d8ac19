#include "ui/Bitmap.h"
#include "ui/Exception.h"
#include "ui/HintWindow.h"
#include "ui/ImgList.h"
#include "ui/StdCtrls.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// Counts the pixels of a bitmap that differ from the background colour within rect.
int Inked(const TBitmap& b, const RECT& r, TColor background) {
  GdiFlush();
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      n += b.Pixel(x, y) != background;
  return n;
}

// A parent that paints its left half green, to see through a transparent label.
class TGreenLeft : public TWinControl {
public:
  using TWinControl::TWinControl;

protected:
  void Paint(TCanvas& canvas) override {
    canvas.Brush().SetColor(clGreen);
    canvas.FillRect(MakeRect(0, 0, ClientWidth() / 2, ClientHeight()));
  }
};

// Exposes a label's Paint for drawing into a bitmap.
class TPaintableLabel : public TLabel {
public:
  using TLabel::TLabel;
  void PaintInto(TCanvas& canvas) { Paint(canvas); }
};

} // namespace

TEST(LabelTest, AutoSizeFitsTheTextAndKeepsTheRightEdgeForRightJustified) {
  TLabel label(nullptr);
  label.Font().SetName(L"Tahoma");
  label.SetCaption(L"Selected 12 MB");
  TBitmap probe(1, 1);
  probe.Canvas().Font().Assign(label.Font());
  EXPECT_EQ(label.Width(), probe.Canvas().TextWidth(L"Selected 12 MB"));
  EXPECT_EQ(label.Height(), probe.Canvas().TextHeight(L"Selected 12 MB"));

  label.SetCaption(L"");
  EXPECT_GT(label.Height(), 0) << "an empty label keeps a line's height";

  label.SetAlignment(taRightJustify);
  label.SetCaption(L"WWWW");
  int right = label.Left() + label.Width();
  label.SetCaption(L"WWWWWWWW");
  EXPECT_EQ(label.Left() + label.Width(), right);

  label.SetAutoSize(false);
  label.SetWidth(229);
  label.SetCaption(L"x");
  EXPECT_EQ(label.Width(), 229);
}

TEST(LabelTest, DrawsItsTextWithAlignmentAndAccelerators) {
  TPaintableLabel label(nullptr);
  label.SetAutoSize(false);
  label.SetBounds(0, 0, 120, 16);
  label.SetColor(clWhite);
  label.Font().SetColor(clBlack);
  label.SetCaption(L"MB");
  TBitmap shot(120, 16);
  auto paint = [&] {
    shot.Canvas().Font().Assign(label.Font());
    label.PaintInto(shot.Canvas());
  };
  paint();
  EXPECT_GT(Inked(shot, MakeRect(0, 0, 30, 16), clWhite), 0);
  EXPECT_EQ(Inked(shot, MakeRect(40, 0, 120, 16), clWhite), 0);

  label.SetAlignment(taCenter);
  paint();
  EXPECT_EQ(Inked(shot, MakeRect(0, 0, 40, 16), clWhite), 0);
  EXPECT_GT(Inked(shot, MakeRect(45, 0, 75, 16), clWhite), 0);

  label.SetAlignment(taRightJustify);
  paint();
  EXPECT_GT(Inked(shot, MakeRect(90, 0, 120, 16), clWhite), 0);
  EXPECT_EQ(Inked(shot, MakeRect(0, 0, 80, 16), clWhite), 0);

  EXPECT_FALSE(label.TextFlags() & DT_NOPREFIX);
  label.SetShowAccelChar(false);
  EXPECT_TRUE(label.TextFlags() & DT_NOPREFIX) << "a path with & must show as typed";
  label.SetWordWrap(true);
  EXPECT_TRUE(label.TextFlags() & DT_WORDBREAK);
}

TEST(LabelTest, TransparentShowsTheParentsPainting) {
  TGreenLeft parent(nullptr);
  parent.SetBounds(0, 0, 100, 40);
  parent.SetColor(clWhite);
  auto* label = parent.Make<TPaintableLabel>();
  label->SetParent(&parent);
  label->SetAutoSize(false);
  label->SetBounds(30, 10, 40, 20); // straddles the green half's edge at x = 50
  label->SetCaption(L"");
  label->SetTransparent(true);
  TBitmap shot(40, 20);
  label->PaintInto(shot.Canvas());
  EXPECT_EQ(shot.Pixel(5, 5), clGreen);
  EXPECT_EQ(shot.Pixel(25, 5), clWhite);
  label->SetTransparent(false);
  label->SetColor(clRed);
  label->PaintInto(shot.Canvas());
  EXPECT_EQ(shot.Pixel(5, 5), clRed);
}

TEST(MemoTest, LinesBeforeAndAfterTheWindowExists) {
  TMemo memo(nullptr);
  memo.SetWordWrap(false);
  memo.SetScrollBars(ssBoth);
  memo.Lines().Add(L"Next files removed from the Hard drive:");
  memo.Lines().Add(L"C:\\a.tmp 1.5 KB");
  EXPECT_EQ(memo.Lines().Count(), 2);
  HWND h = memo.Handle();
  EXPECT_EQ(memo.Lines().Count(), 2);
  EXPECT_EQ(memo.Lines().Strings(1), L"C:\\a.tmp 1.5 KB");
  memo.Lines().Add(L"");
  memo.Lines().Add(L"Total cleaned space: 0 Mbyte");
  EXPECT_EQ(memo.Lines().Count(), 4);
  EXPECT_EQ(memo.Text(), L"Next files removed from the Hard drive:\r\nC:\\a.tmp 1.5 KB\r\n\r\n"
                         L"Total cleaned space: 0 Mbyte\r\n");
  EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & WS_HSCROLL);
  // Text typed without a final line break still gets its own line before the next Add.
  SetWindowTextW(h, L"typed");
  memo.Lines().Add(L"next");
  EXPECT_EQ(memo.Text(), L"typed\r\nnext\r\n");
  memo.Lines().Clear();
  EXPECT_EQ(memo.Lines().Count(), 0);
  EXPECT_EQ(memo.Text(), L"");

  // Recreating the window keeps the text.
  memo.Lines().Add(L"kept");
  memo.SetWordWrap(true);
  EXPECT_EQ(memo.Lines().Strings(0), L"kept");
  EXPECT_FALSE(GetWindowLongW(memo.Handle(), GWL_STYLE) & WS_HSCROLL);
}

TEST(MemoTest, TabLeavesTheMemoUnlessItWantsTabs) {
  TMemo memo(nullptr);
  HWND h = memo.Handle();
  MSG tab{h, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  LRESULT code = SendMessageW(h, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab));
  EXPECT_FALSE(code & (DLGC_WANTALLKEYS | DLGC_WANTTAB));
  memo.SetWantTabs(true);
  code = SendMessageW(h, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab));
  EXPECT_TRUE(code & (DLGC_WANTALLKEYS | DLGC_WANTTAB));
}

TEST(ImageListTest, AddsCountsDrawsAndClears) {
  TImageList list(nullptr, 4, 4);
  TBitmap red(4, 4);
  red.Fill(clRed);
  TBitmap strip(8, 4);
  strip.Fill(clBlue);
  strip.SetPixel(0, 0, clFuchsia);
  EXPECT_EQ(list.Add(red), 0);
  EXPECT_EQ(list.AddMasked(strip, clFuchsia), 1);
  EXPECT_EQ(list.Count(), 3) << "an 8-wide strip is two images";
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  EXPECT_EQ(list.AddIcon(icon), 3);

  TBitmap dest(10, 10);
  dest.Fill(clWhite);
  list.Draw(dest.Canvas(), 0, 0, 0);
  list.Draw(dest.Canvas(), 5, 5, 1);
  GdiFlush();
  EXPECT_EQ(dest.Pixel(1, 1), clRed);
  EXPECT_EQ(dest.Pixel(5, 5), clWhite) << "the masked pixel stays transparent";
  EXPECT_EQ(dest.Pixel(6, 6), clBlue);

  list.Delete(0);
  EXPECT_EQ(list.Count(), 3);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_THROW(list.Delete(0), EListError);
}

TEST(MemoTest, TextSurvivesTheParentWindowBeingMadeAgain) {
  TWinControl parent(nullptr);
  auto* memo = parent.Make<TMemo>();
  memo->SetParent(&parent);
  memo->Lines().Add(L"Recycle Bin was cleaned 0 Mb");
  memo->HandleNeeded();
  parent.RecreateWnd();
  EXPECT_EQ(memo->Text(), L"Recycle Bin was cleaned 0 Mb\r\n");
}

TEST(HintWindowTest, ShowsSizedToTheTextWithoutTakingActivation) {
  TWinControl owner(nullptr);
  owner.SetBounds(0, 0, 100, 100);
  SetForegroundWindow(owner.Handle());
  SetActiveWindow(owner.Handle());
  THintWindow hint(nullptr);
  SIZE shortSize = hint.CalcHintSize(L"Size");
  SIZE longSize = hint.CalcHintSize(L"The size of the file in bytes");
  EXPECT_GT(longSize.cx, shortSize.cx);
  // At 200% the text and the margins inside the one-pixel border are twice as tall. Shown, the
  // hint takes the scale of the monitor it stands on, this one's.
  hint.ChangeDpi(192);
  EXPECT_NEAR(hint.CalcHintSize(L"Size").cy, 2 * (shortSize.cy - 2) + 2, 2);
  hint.ActivateHint(POINT{20, 30}, L"Size");
  EXPECT_TRUE(hint.Active());
  EXPECT_TRUE(IsWindowVisible(hint.Handle()));
  EXPECT_EQ(hint.Left(), 20);
  EXPECT_EQ(hint.Top(), 30);
  EXPECT_EQ(hint.Width(), shortSize.cx);
  EXPECT_NE(GetActiveWindow(), hint.Handle());
  EXPECT_EQ(SendMessageW(hint.Handle(), WM_NCHITTEST, 0, MAKELPARAM(25, 35)), HTTRANSPARENT);
  hint.ReleaseHint();
  EXPECT_FALSE(IsWindowVisible(hint.Handle()));
}

TEST(MemoTest, ALongLogIsNotCutAtTheEditBoxsDefaultLimit) {
  TMemo memo(nullptr);
  memo.SetWordWrap(false);
  memo.SetScrollBars(ssBoth);
  // Hidden: under Wine's default theme a visible edit box redraws its scroll bars at a
  // cost of tens of milliseconds per line, which says nothing about the limit tested here.
  memo.SetVisible(false);
  memo.HandleNeeded();
  std::wstring line(99, L'x');
  for (int i = 0; i < 500; ++i)
    memo.Lines().Add(line); // 50,500 characters
  EXPECT_EQ(memo.Lines().Count(), 500);
  EXPECT_EQ(memo.Text().size(), 500u * 101u);
}
