#include "styled/FxColors.h"

#include "styled/FxCustomControl.h"
#include "styled/FxStyleManager.h"

#include "TestHost.h"

#include <gtest/gtest.h>

namespace {

class TOwner : public TFxCustomControl {
public:
  explicit TOwner(TWinControl* host) : TFxCustomControl(nullptr) { SetParent(host); }
  void UpdateImages() override { ++imageUpdates; }
  int imageUpdates = 0;
};

using TGetter = TColor (TFxControlColors::*)() const;
using TSetter = void (TFxControlColors::*)(TColor);
struct TColorField {
  const char* name;
  TGetter get;
  TSetter set;
  TColor defaultValue;
  bool rendersImages;
};

const TColorField kFields[] = {
    {"DefaultFrom", &TFxControlColors::DefaultFrom, &TFxControlColors::SetDefaultFrom, clWhite,
     true},
    {"DefaultTo", &TFxControlColors::DefaultTo, &TFxControlColors::SetDefaultTo,
     RGBColor(175, 190, 209), true},
    {"OverFrom", &TFxControlColors::OverFrom, &TFxControlColors::SetOverFrom, clWhite, true},
    {"OverTo", &TFxControlColors::OverTo, &TFxControlColors::SetOverTo, RGBColor(118, 148, 190),
     true},
    {"ClickedFrom", &TFxControlColors::ClickedFrom, &TFxControlColors::SetClickedFrom,
     RGBColor(214, 207, 198), true},
    {"ClickedTo", &TFxControlColors::ClickedTo, &TFxControlColors::SetClickedTo,
     RGBColor(247, 243, 235), true},
    {"HotTrack", &TFxControlColors::HotTrack, &TFxControlColors::SetHotTrack, clBlue, false},
    {"BorderColor", &TFxControlColors::BorderColor, &TFxControlColors::SetBorderColor, clGray,
     true},
    {"TextShadow", &TFxControlColors::TextShadow, &TFxControlColors::SetTextShadow, clWhite, false},
};

} // namespace

TEST(FxColorsTest, ControlColoursDefaultsAndWhichChangesRenderImages) {
  TTestHost host;
  TOwner owner(&host);
  for (const auto& f : kFields) {
    TFxControlColors colors(&owner);
    EXPECT_EQ((colors.*f.get)(), f.defaultValue) << f.name;
    owner.imageUpdates = 0;
    (colors.*f.set)(f.defaultValue);
    EXPECT_EQ(owner.imageUpdates, 0) << f.name << ": the current value changes nothing";
    (colors.*f.set)(RGBColor(1, 2, 3));
    EXPECT_EQ((colors.*f.get)(), RGBColor(1, 2, 3)) << f.name;
    EXPECT_EQ(owner.imageUpdates, f.rendersImages ? 1 : 0) << f.name;
  }
  // The style component's set has no owner: changing it touches no control.
  TFxControlColors ownerless(nullptr);
  ownerless.SetDefaultTo(clRed);
  ownerless.SetHotTrack(clRed);
  EXPECT_EQ(ownerless.DefaultTo(), clRed);
}

TEST(FxColorsTest, SplitterColoursDefaults) {
  TFxSplitterColors colors(nullptr);
  EXPECT_EQ(colors.DefaultFrom(), clBtnFace);
  EXPECT_EQ(colors.DefaultTo(), clBtnFace);
  EXPECT_EQ(colors.OverFrom(), clWhite);
  EXPECT_EQ(colors.OverTo(), 12489846u);
}

TEST(FxColorsTest, CopyTakesNineColoursBetweenControlSetsElseFour) {
  TTestHost host;
  TOwner owner(&host);
  TFxControlColors source(nullptr);
  for (const auto& f : kFields)
    (source.*f.set)(RGBColor(10, 20, 30));

  TFxControlColors target(&owner);
  target.Assign(source);
  for (const auto& f : kFields)
    EXPECT_EQ((target.*f.get)(), RGBColor(10, 20, 30)) << f.name;
  EXPECT_EQ(owner.imageUpdates, 1) << "one re-rendering for the whole copy";
  target.Assign(source);
  EXPECT_EQ(owner.imageUpdates, 1) << "an identical copy changes nothing";

  TFxSplitterColors splitter(nullptr);
  splitter.Assign(source);
  EXPECT_EQ(splitter.DefaultFrom(), RGBColor(10, 20, 30));
  EXPECT_EQ(splitter.OverTo(), RGBColor(10, 20, 30));

  // From a four-colour set only those four arrive; the control's own five stay.
  TFxSplitterColors four(nullptr);
  TFxControlColors fresh(nullptr);
  fresh.Assign(four);
  EXPECT_EQ(fresh.DefaultFrom(), clBtnFace);
  EXPECT_EQ(fresh.ClickedFrom(), RGBColor(214, 207, 198));
  EXPECT_EQ(fresh.HotTrack(), clBlue);
}

TEST(FxStyleManagerTest, DefaultsAndValuesThatChangeNoControl) {
  TTestHost host;
  TOwner control(&host);
  TFxStyleManager manager(nullptr);
  EXPECT_TRUE(manager.ShowFocusRect());
  EXPECT_FALSE(manager.HotTrack());
  EXPECT_TRUE(manager.GradientBorder());
  EXPECT_TRUE(manager.TextShadow());
  EXPECT_EQ(manager.CheckColor(), clGreen);
  EXPECT_EQ(manager.FadeSpeed(), fsMedium);
  EXPECT_EQ(manager.PanelColor(), RGBColor(223, 223, 227));
  EXPECT_EQ(manager.BorderColor(), clGray);
  EXPECT_EQ(manager.Colors().Owner(), nullptr);
  EXPECT_EQ(manager.Colors().OverTo(), 12489846u);
  EXPECT_EQ(manager.SplitterColors().DefaultFrom(), clBtnFace);

  control.SetFxStyleManager(&manager);
  manager.SetTextShadow(false);
  manager.SetFadeSpeed(fsSlow);
  manager.Colors().SetDefaultFrom(clRed);
  EXPECT_TRUE(control.TextShadow());
  EXPECT_EQ(control.FadeSpeed(), fsMedium);
  EXPECT_EQ(control.imageUpdates, 0);
}

TEST(FxStyleManagerTest, ControlListFollowsTheReferences) {
  TTestHost host;
  TFxStyleManager first(nullptr), second(nullptr);
  TOwner a(&host);
  {
    TOwner b(&host);
    a.SetFxStyleManager(&first);
    a.SetFxStyleManager(&first);
    b.SetFxStyleManager(&first);
    EXPECT_EQ(first.ControlList(), (std::vector<TFxCustomControl*>{&a, &b}));
    a.SetFxStyleManager(&second);
    EXPECT_EQ(first.ControlList(), (std::vector<TFxCustomControl*>{&b}));
    EXPECT_EQ(second.ControlList(), (std::vector<TFxCustomControl*>{&a}));
  }
  EXPECT_TRUE(first.ControlList().empty()) << "a destroyed control leaves the list";
  a.SetFxStyleManager(nullptr);
  EXPECT_TRUE(second.ControlList().empty());

  auto doomed = std::make_unique<TFxStyleManager>(nullptr);
  a.SetFxStyleManager(doomed.get());
  doomed.reset();
  EXPECT_EQ(a.FxStyleManager(), nullptr) << "a freed component is dropped";
}

TEST(FxStyleManagerTest, CopyTakesValuesColoursAndFont) {
  TFxStyleManager source(nullptr), target(nullptr);
  source.SetShowFocusRect(false);
  source.SetHotTrack(true);
  source.SetGradientBorder(false);
  source.SetTextShadow(false);
  source.SetCheckColor(clRed);
  source.SetFadeSpeed(fsVeryFast);
  source.SetPanelColor(clAqua);
  source.SetBorderColor(clNavy);
  source.Colors().SetClickedTo(clLime);
  source.SplitterColors().SetOverFrom(clYellow);
  source.Font().SetName(L"Tahoma");
  target.Assign(source);
  EXPECT_FALSE(target.ShowFocusRect());
  EXPECT_TRUE(target.HotTrack());
  EXPECT_FALSE(target.GradientBorder());
  EXPECT_FALSE(target.TextShadow());
  EXPECT_EQ(target.CheckColor(), clRed);
  EXPECT_EQ(target.FadeSpeed(), fsVeryFast);
  EXPECT_EQ(target.PanelColor(), clAqua);
  EXPECT_EQ(target.BorderColor(), clNavy);
  EXPECT_EQ(target.Colors().ClickedTo(), clLime);
  EXPECT_EQ(target.SplitterColors().OverFrom(), clYellow);
  EXPECT_EQ(target.Font().Name(), L"Tahoma");
}
