// The window layout that the program carries: every component of the main window with every
// property that differs from the component's own default.
#include <iterator>

#include "grid/Grid.h"
#include "main/CleaningKinds.h"
#include "main/FoundFilesList.h"
#include "main/MainForm.h"
#include "styled/FxButton.h"
#include "styled/FxCheckBox.h"
#include "styled/FxPanel.h"
#include "styled/FxProgressBar.h"
#include "ui/Bitmap.h"
#include "ui/ComCtrls.h"
#include "ui/ImgList.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

namespace {

constexpr TColor kPanelColor = 14933983;     // RGB 223, 223, 227
constexpr TColor kPanelFontColor = 13500416; // RGB 0, 0, 206

// Where each kind's box stands, in the order the page shows them; its caption, tick and
// visibility are the kind's. Microsoft Edge's box came last and stands after Chrome's, each box
// below it taking the next one's row.
struct TCategoryBox {
  int Number; // FxCheckBox<Number>
  int Top;
};
constexpr TCategoryBox kCategoryBoxes[10] = {
    {1, 24}, {2, 40}, {3, 56}, {10, 73}, {4, 89}, {5, 105}, {6, 122}, {7, 138}, {8, 155}, {9, 171},
};

void SetMsSansSerif(TFont& font, TColor color) {
  font.SetName(L"MS Sans Serif");
  font.SetHeight(-11);
  font.SetColor(color);
}

// The colour set that every styled button and check box of the window shares.
void SetControlColors(TFxControlColors& colors) {
  colors.SetDefaultFrom(clWhite);
  colors.SetDefaultTo(13745839);
  colors.SetOverFrom(clWhite);
  colors.SetOverTo(12489846);
  colors.SetClickedFrom(13029334);
  colors.SetClickedTo(15463415);
  colors.SetHotTrack(clBlue);
  colors.SetBorderColor(clGray);
  colors.SetTextShadow(clWhite);
}

} // namespace

void TForm1::Place(TWinControl* control, int left, int top, int width, int height) {
  placements_.push_back({control, {left, top, width, height}});
  ApplyPlacement(placements_.back().Bounds, *control);
}

// Each of the four numbers scales by itself, rounded to the nearest pixel, and always from its
// 96-DPI value: controls of one size keep one size at every scale, and a move between monitors
// and back brings every control back to where it was.
void TForm1::ApplyPlacement(const RECT& design, TWinControl& control) {
  switch (control.Align()) {
  case alNone:
    control.SetBounds(Scaled(design.left), Scaled(design.top), Scaled(design.right),
                      Scaled(design.bottom));
    break;
  case alTop:
  case alBottom:
    control.SetHeight(Scaled(design.bottom));
    break;
  case alLeft:
  case alRight:
    control.SetWidth(Scaled(design.right));
    break;
  default:
    break;
  }
}

void TForm1::LayoutForDpi() {
  for (const TPlacement& placement : placements_)
    ApplyPlacement(placement.Bounds, *placement.Control);
}

void TForm1::CreateLayout() {
  BeginLoading();
  SetName(L"Form1");
  SetCaption(L"Varnox");
  SetBounds(0, 0, 782, 465);
  SetPosition(poDesktopCenter);
  SetColor(clBtnFace);
  SetMsSansSerif(Font(), clWindowText);

  PageControl1 = Make<TPageControl>();
  PageControl1->SetName(L"PageControl1");
  PageControl1->SetParent(this);
  PageControl1->SetAlign(alClient);
  PageControl1->SetParentFont(false);
  PageControl1->Font().SetName(L"Tahoma");
  PageControl1->Font().SetSize(8);
  PageControl1->Font().SetColor(clBlue);
  TTabSheet** sheets[] = {&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet4};
  const wchar_t* captions[] = {L"Types of cleaning", L"Found files", L"Deleted files", L"About"};
  for (int i = 0; i < 4; ++i) {
    TTabSheet* sheet = Make<TTabSheet>();
    sheet->SetName(L"TabSheet" + std::to_wstring(i + 1));
    sheet->SetCaption(captions[i]);
    sheet->SetPageControl(PageControl1);
    *sheets[i] = sheet;
  }

  CreateTypesPage();
  CreateFoundFilesPage();
  CreateDeletedFilesPage();

  Timer1 = Make<TTimer>();
  Timer1->SetName(L"Timer1");
  Timer1->SetInterval(10000);
  Timer1->OnTimer = [this](TObject* sender) { Timer1Timer(sender); };

  Imagelist = Make<TImageList>();
  Imagelist->SetName(L"Imagelist");
  TabImageList = Make<TImageList>(32, 32);
  TabImageList->SetName(L"TabImageList");

  OnCreate = [this](TObject* sender) { FormCreate(sender); };
  OnResize = [this](TObject* sender) { FormResize(sender); };
  OnCloseQuery = [this](TObject*, bool& canClose) { CloseQuery(canClose); };
  EndLoading();
}

TFxPanel* TForm1::MakePanel(const wchar_t* name, TWinControl* parent, TAlign align, int height,
                            const std::wstring& caption) {
  auto* panel = Make<TFxPanel>();
  panel->SetName(name);
  panel->SetParent(parent);
  panel->SetAlign(align);
  if (height > 0) Place(panel, 0, 0, 0, height);
  panel->SetCaption(caption);
  panel->SetColor(kPanelColor);
  panel->SetParentFont(false);
  SetMsSansSerif(panel->Font(), kPanelFontColor);
  panel->SetTextShadow(true);
  panel->SetShowCaption(true);
  panel->SetCaptionPosition(cpTopLeft);
  panel->SetCornerWidth(10);
  panel->SetBorderWidth(2);
  panel->SetBorderColor(clGray);
  panel->SetOuterColor(clBtnFace);
  panel->SetTextShadowColor(clWhite);
  panel->SetAntialiased(true);
  panel->SetGradient(false);
  panel->SetDefaultFrom(clWhite);
  panel->SetDefaultTo(kPanelColor);
  panel->SetGradientType(gtVertical);
  return panel;
}

TFxButton* TForm1::MakeButton(const wchar_t* name, TWinControl* parent, int left, int top,
                              const std::wstring& caption, const wchar_t* glyph,
                              void (TForm1::*click)(TObject*)) {
  auto* button = Make<TFxButton>();
  button->SetName(name);
  button->OnClick = [this, click](TObject* sender) { (this->*click)(sender); };
  button->SetParent(parent);
  Place(button, left, top, 75, 25);
  button->SetCaption(caption);
  SetControlColors(button->Colors());
  button->SetTextShadow(true);
  button->SetShowCaption(true);
  button->SetFadeSpeed(fsMedium);
  button->SetShowFocusRect(true);
  button->SetHotTrack(false);
  button->SetGradientBorder(true);
  button->SetSpacing(2);
  button->SetLayout(blGlyphLeft);
  button->SetGradientType(gtVertical);
  button->SetGlyphResource(glyph);
  return button;
}

TLabel* TForm1::MakeBarLabel(const wchar_t* name, TWinControl* parent, TAlign align, int size) {
  auto* label = Make<TLabel>();
  label->SetName(name);
  label->SetParent(parent);
  label->SetAutoSize(false);
  label->SetAlign(align);
  if (align == alTop)
    Place(label, 0, 0, 0, size);
  else
    Place(label, 0, 0, size, 0);
  return label;
}

TFxProgressBar* TForm1::MakeProgressBar(const wchar_t* name, TWinControl* parent) {
  auto* bar = Make<TFxProgressBar>();
  bar->SetName(name);
  bar->SetParent(parent);
  bar->SetAlign(alTop);
  Place(bar, 0, 0, 0, 33);
  bar->SetTextShadow(false);
  bar->SetShowCaption(true);
  bar->SetDefaultFrom(11966334);
  bar->SetDefaultTo(14734025);
  bar->SetBorderLines({blTop, blBottom, blLeft, blRight});
  bar->SetBorderColor(clGray);
  bar->SetBorderWidth(1);
  bar->SetGradientType(gtVertical);
  bar->SetOrientation(pbHorizontal);
  bar->SetShowText(true);
  return bar;
}

void TForm1::CreateTypesPage() {
  Panel4 = Make<TWinControl>();
  Panel4->SetName(L"Panel4");
  Panel4->SetParent(TabSheet1);
  Panel4->SetAlign(alClient);
  Panel4->SetColor(clWhite);

  FxPanel2 = MakePanel(L"FxPanel2", Panel4, alBottom, 35, L"");
  FxPanel1 = MakePanel(L"FxPanel1", Panel4, alClient, 0, L"Types of cleaning:");
  for (int i = 0; i < int(std::size(kCategoryBoxes)); ++i) {
    const TCategoryBox& spec = kCategoryBoxes[i];
    const TCleaningKind& kind = *FindKindByBox(spec.Number);
    auto* box = Make<TFxCheckBox>();
    box->SetName(L"FxCheckBox" + std::to_wstring(spec.Number));
    box->SetParent(FxPanel1);
    Place(box, 11, spec.Top, 230, 17);
    box->SetCaption(kind.Caption);
    SetControlColors(box->Colors());
    box->SetTextShadow(true);
    box->SetShowCaption(true);
    box->SetFadeSpeed(fsMedium);
    box->SetShowFocusRect(true);
    box->SetHotTrack(false);
    box->SetGradientBorder(true);
    box->SetBorderLinesColor(clGray);
    box->SetSpacing(3);
    box->SetCheckColor(clGreen);
    box->SetChecked(kind.TickedByDefault);
    box->SetVisible(kind.Shown);
    box->SetTabOrder(i);
    FxCheckBoxes[spec.Number - 1] = box;
  }

  FxButton1 =
      MakeButton(L"FxButton1", FxPanel2, 7, 5, L"Find", L"GLYPH_FIND", &TForm1::FxButton1Click);
}

void TForm1::CreateFoundFilesPage() {
  FxPanel4 = MakePanel(L"FxPanel4", TabSheet2, alBottom, 85, L"");
  FxPanel3 = MakePanel(L"FxPanel3", TabSheet2, alClient, 0, L"Found files");

  VxGrid1 = Make<TVxGrid>();
  VxGrid1->SetName(L"VxGrid1");
  VxGrid1->SetParent(FxPanel3);
  VxGrid1->SetAlign(alClient);
  SetupFoundFilesGrid(*VxGrid1);
  VxGrid1->OnResize = [this](TObject* sender) { FormResize(sender); };
  VxGrid1->OnCellValueChanged = [this](TObject* sender, int col, int row, const std::wstring&) {
    VxGrid1CheckChanged(sender, col, row);
  };
  // The rows must keep their order while a scan adds to them or a clean run reads them.
  VxGrid1->OnBeforeSort = [this](TObject*, int, bool& accept) { accept = accept && !Busy(); };

  PopupMenu1 = Make<TPopupMenu>();
  PopupMenu1->SetName(L"PopupMenu1");
  Exprorefilefolder1 = PopupMenu1->AddItem(
      L"Open file folder", [this](TObject* sender) { Exprorefilefolder1Click(sender); });
  Exprorefilefolder1->SetName(L"Exprorefilefolder1");
  Openthefile1 =
      PopupMenu1->AddItem(L"Open file", [this](TObject* sender) { Openthefile1Click(sender); });
  Openthefile1->SetName(L"Openthefile1");
  VxGrid1->SetPopupMenu(PopupMenu1);

  Label2 = MakeBarLabel(L"Label2", FxPanel4, alTop, 13);
  FxProgressBar1 = MakeProgressBar(L"FxProgressBar1", FxPanel4);
  FxButton2 =
      MakeButton(L"FxButton2", FxPanel4, 7, 55, L"Next", L"GLYPH_NEXT", &TForm1::FxButton2Click);
  FxButton3 =
      MakeButton(L"FxButton3", FxPanel4, 85, 55, L"Back", L"GLYPH_BACK", &TForm1::FxButton3Click);
  Label3 = MakeBarLabel(L"Label3", FxPanel4, alRight, 229);
  Label3->SetAlignment(taCenter);
}

void TForm1::CreateDeletedFilesPage() {
  FxPanel5 = MakePanel(L"FxPanel5", TabSheet3, alBottom, 85, L"");
  FxPanel6 = MakePanel(L"FxPanel6", TabSheet3, alClient, 0, L"");

  Memo1 = Make<TMemo>();
  Memo1->SetName(L"Memo1");
  Memo1->SetParent(FxPanel6);
  Memo1->SetAlign(alClient);
  Memo1->SetScrollBars(ssBoth);
  Memo1->SetWordWrap(false);
  // The log says what the run did; the user may copy from it, never rewrite it.
  Memo1->SetReadOnly(true);

  Label1 = MakeBarLabel(L"Label1", FxPanel5, alTop, 13);
  FxProgressBar2 = MakeProgressBar(L"FxProgressBar2", FxPanel5);
  FxButton4 =
      MakeButton(L"FxButton4", FxPanel5, 7, 55, L"Exit", L"GLYPH_EXIT", &TForm1::FxButton4Click);
  FxButton5 =
      MakeButton(L"FxButton5", FxPanel5, 85, 55, L"Back", L"GLYPH_BACK", &TForm1::FxButton5Click);
  Label4 = MakeBarLabel(L"Label4", FxPanel5, alRight, 229);
  Label4->SetAlignment(taCenter);
}
