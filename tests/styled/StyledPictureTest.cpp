#include "styled/FxButton.h"
#include "styled/FxCheckBox.h"
#include "styled/FxPanel.h"

#include "TestHost.h"

#include <gtest/gtest.h>

// A picture for people to judge: a captioned panel with three check boxes (one ticked, one
// disabled) and two buttons with glyphs, the second under the mouse. Saved as
// styled_controls.bmp in the folder the test runs in.
TEST(StyledPictureTest, SavesAPanelWithCheckBoxesAndButtons) {
  TTestHost host;
  host.SetBounds(0, 0, 260, 160);
  TFxPanel* panel = host.Make<TFxPanel>();
  panel->SetParent(&host);
  panel->SetAlign(alClient);
  panel->SetCaption(L"Types of cleaning:");
  const wchar_t* captions[] = {L"Temporary files", L"Recycle Bin", L"Old Prefetch Data"};
  TFxCheckBox* boxes[3];
  for (int i = 0; i < 3; ++i) {
    boxes[i] = host.Make<TFxCheckBox>();
    boxes[i]->SetParent(panel);
    boxes[i]->SetBounds(11, 24 + 16 * i, 230, 17);
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
    buttons[i]->SetBounds(7 + 80 * i, 110, 75, 25);
    buttons[i]->SetCaption(names[i]);
    TBitmap glyph;
    glyph.LoadFromResource(glyphs[i]);
    buttons[i]->SetGlyph(glyph);
  }
  SendMouse(*buttons[1], WM_MOUSEMOVE);
  RunFade(*buttons[1]);
  ASSERT_EQ(buttons[1]->HoverLevel(), 100);

  TBitmap picture(host.Width(), host.Height());
  picture.Fill(clBtnFace);
  host.PaintTo(picture.Canvas().Handle(), 0, 0);
  picture.SaveToFile(L"styled_controls.bmp");
  TBitmap saved;
  saved.LoadFromFile(L"styled_controls.bmp");
  EXPECT_EQ(saved.Width(), 260);
  EXPECT_EQ(saved.Pixel(130, 80), picture.Pixel(130, 80));
}
