#include "ui/Control.h"

#include <gtest/gtest.h>

namespace {

std::vector<TAlignEntry> Arrange(const RECT& client, std::vector<TAlignEntry> entries) {
  ArrangeAligned(client, entries);
  return entries;
}

void ExpectRect(const RECT& r, int l, int t, int rr, int b, const char* what) {
  EXPECT_EQ(r.left, l) << what;
  EXPECT_EQ(r.top, t) << what;
  EXPECT_EQ(r.right, rr) << what;
  EXPECT_EQ(r.bottom, b) << what;
}

} // namespace

TEST(AlignTest, BottomBarWithTopStackRightLabelAndClientFill) {
  // A page: a bottom bar of height 85 holding two top-aligned strips and a right-aligned label.
  auto page = Arrange(MakeRect(0, 0, 774, 410),
                      {{alClient, MakeRect(0, 0, 10, 10)}, {alBottom, MakeRect(0, 0, 100, 85)}});
  ExpectRect(page[1].Bounds, 0, 325, 774, 410, "bottom bar");
  ExpectRect(page[0].Bounds, 0, 0, 774, 325, "client fill");

  auto bar = Arrange(MakeRect(0, 0, 774, 85), {{alTop, MakeRect(0, 13, 50, 46)},
                                               {alTop, MakeRect(0, 0, 50, 13)},
                                               {alRight, MakeRect(0, 0, 229, 10)},
                                               {alNone, MakeRect(7, 55, 82, 80)}});
  ExpectRect(bar[1].Bounds, 0, 0, 774, 13, "first strip (the upper one)");
  ExpectRect(bar[0].Bounds, 0, 13, 774, 46, "second strip");
  ExpectRect(bar[2].Bounds, 545, 46, 774, 85, "right label below the strips");
  ExpectRect(bar[3].Bounds, 7, 55, 82, 80, "unaligned stays");
}

TEST(AlignTest, OrderOfSidesAndTies) {
  auto r = Arrange(MakeRect(10, 20, 110, 220), {{alLeft, MakeRect(50, 0, 60, 5)},
                                                {alLeft, MakeRect(0, 0, 20, 5)},
                                                {alBottom, MakeRect(0, 0, 5, 30)},
                                                {alBottom, MakeRect(0, 100, 5, 110)},
                                                {alRight, MakeRect(0, 0, 15, 5)},
                                                {alTop, MakeRect(0, 0, 5, 40)},
                                                {alTop, MakeRect(0, 0, 5, 10)}});
  ExpectRect(r[5].Bounds, 10, 20, 110, 60, "top, first of equal Top");
  ExpectRect(r[6].Bounds, 10, 60, 110, 70, "top, second of equal Top");
  ExpectRect(r[3].Bounds, 10, 210, 110, 220, "bottom: the lower one first");
  ExpectRect(r[2].Bounds, 10, 180, 110, 210, "bottom: then the upper");
  ExpectRect(r[1].Bounds, 10, 70, 30, 180, "left: leftmost first");
  ExpectRect(r[0].Bounds, 30, 70, 40, 180, "left: then the next");
  ExpectRect(r[4].Bounds, 95, 70, 110, 180, "right");
}

TEST(AlignTest, ClientNeverGetsNegativeSize) {
  auto r = Arrange(MakeRect(0, 0, 50, 50), {{alTop, MakeRect(0, 0, 1, 40)},
                                            {alBottom, MakeRect(0, 0, 1, 30)},
                                            {alClient, MakeRect(0, 0, 1, 1)}});
  EXPECT_EQ(RectHeight(r[2].Bounds), 0);
  EXPECT_GE(RectWidth(r[2].Bounds), 0);
}

TEST(AlignTest, ControlsAreLaidOutInTheirParentAndFollowItsSize) {
  TWinControl form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* bar = form.Make<TWinControl>();
  bar->SetHeight(35);
  bar->SetAlign(alBottom);
  bar->SetParent(&form);
  auto* fill = form.Make<TWinControl>();
  fill->SetAlign(alClient);
  fill->SetParent(&form);
  RECT client = form.ClientRect();
  EXPECT_EQ(bar->Top(), client.bottom - 35);
  EXPECT_EQ(bar->Width(), client.right);
  EXPECT_EQ(fill->Height(), client.bottom - 35);

  form.SetBounds(0, 0, 400, 300);
  client = form.ClientRect();
  EXPECT_EQ(bar->Top(), client.bottom - 35);
  EXPECT_EQ(fill->Width(), client.right);

  bar->SetVisible(false);
  EXPECT_EQ(fill->Height(), client.bottom) << "a hidden bar leaves its place";

  // While loading nothing moves; at the end everything is laid out once.
  form.BeginLoading();
  bar->SetVisible(true);
  EXPECT_EQ(fill->Height(), client.bottom);
  form.EndLoading();
  EXPECT_EQ(fill->Height(), client.bottom - 35);

  // The window, once made, agrees with the bounds.
  HWND h = fill->Handle();
  RECT wr;
  GetWindowRect(h, &wr);
  EXPECT_EQ(wr.bottom - wr.top, client.bottom - 35);
}
