#include "styled/FxButton.h"
#include "styled/FxCheckBox.h"
#include "styled/FxPanel.h"

#include "TestHost.h"

#include <gtest/gtest.h>

// The scene of the pictures: a captioned panel with three check boxes (one ticked, one
// disabled) and two buttons with glyphs, the second under the mouse, laid out for dpi as the
// window's owner lays out its controls. Answers the picture.
void PaintScene(TTestHost& host, TBitmap& picture, int dpi) {
  host.ChangeDpi(dpi);
  auto place = [dpi](TWinControl& control, int x, int y, int w, int h) {
    control.SetBounds(ScaleForDpi(x, dpi), ScaleForDpi(y, dpi), ScaleForDpi(w, dpi),
                      ScaleForDpi(h, dpi));
  };
  place(host, 0, 0, 260, 160);
  TFxPanel* panel = host.Make<TFxPanel>();
  panel->SetParent(&host);
  panel->SetAlign(alClient);
  panel->SetCaption(L"Types of cleaning:");
  const wchar_t* captions[] = {L"Temporary files", L"Recycle Bin", L"Old Prefetch Data"};
  TFxCheckBox* boxes[3];
  for (int i = 0; i < 3; ++i) {
    boxes[i] = host.Make<TFxCheckBox>();
    boxes[i]->SetParent(panel);
    place(*boxes[i], 11, 24 + 16 * i, 230, 17);
    boxes[i]->SetCaption(captions[i]);
  }
  boxes[0]->SetChecked(true);
  boxes[2]->SetEnabled(false);
  const wchar_t* glyphs[] = {L"GLYPH_FIND", L"GLYPH_NEXT"};
  const wchar_t* names[] = {L"Find", L"Next"};
  TFxButton* buttons[2];
  for (int i = 0; i < 2; ++i) {
    buttons[i] = host.Make<TFxButton>();
    buttons[i]->SetParent(panel);
    place(*buttons[i], 7 + 80 * i, 110, 75, 25);
    buttons[i]->SetCaption(names[i]);
    buttons[i]->SetGlyphResource(glyphs[i]);
  }
  SendMouse(*buttons[1], WM_MOUSEMOVE);
  RunFade(*buttons[1]);
  ASSERT_EQ(buttons[1]->HoverLevel(), 100);

  picture.SetSize(host.Width(), host.Height());
  picture.Fill(clBtnFace);
  host.PaintTo(picture.Canvas().Handle(), 0, 0);
}

// Saved as styled_controls.bmp and, laid out and drawn for 192 DPI, styled_controls_192dpi.bmp
// in the folder the test runs in, for people to judge.
TEST(StyledPictureTest, SavesAPanelWithCheckBoxesAndButtons) {
  const struct {
    int dpi;
    const wchar_t* file;
  } pictures[] = {{96, L"styled_controls.bmp"}, {192, L"styled_controls_192dpi.bmp"}};
  for (const auto& p : pictures) {
    TTestHost host;
    TBitmap picture;
    PaintScene(host, picture, p.dpi);
    picture.SaveToFile(p.file);
    TBitmap saved;
    saved.LoadFromFile(p.file);
    EXPECT_EQ(saved.Width(), 260 * p.dpi / 96);
    EXPECT_EQ(saved.Pixel(130, 80), picture.Pixel(130, 80));
  }
}
