#include "styled/FxCustomControl.h"

#include "Pump.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A styled control with nothing of its own, its protected operations open to the tests.
class TProbe : public TFxCustomControl {
public:
  explicit TProbe(TWinControl* host) : TFxCustomControl(nullptr) { SetParent(host); }
  using TFxCustomControl::FadeIn;
  using TFxCustomControl::FadeOut;
  using TFxCustomControl::FadeOutStep;
  using TFxCustomControl::HandleMessage;
  using TFxCustomControl::SetHoverLevel;
  using TFxCustomControl::SetPressLevel;
  using TFxCustomControl::SetStateFlags;
  using TFxCustomControl::StartFade;

  void UpdateImages() override { ++imageUpdates; }

  int imageUpdates = 0;
  int leftDowns = 0, leftUps = 0, focusChanges = 0, resizes = 0;
  bool throwInStep = false;

  void FadeInStep() override {
    if (throwInStep) throw std::runtime_error("broken step");
    TFxCustomControl::FadeInStep();
  }

protected:
  void LeftButtonDown() override {
    ++leftDowns;
    TFxCustomControl::LeftButtonDown();
  }
  void LeftButtonUp() override { ++leftUps; }
  void FocusChanged() override { ++focusChanges; }
  void Resized() override { ++resizes; }
};

constexpr uint8_t kOver = TFxCustomControl::kMouseOver;
constexpr uint8_t kPressed = TFxCustomControl::kLeftPressed;

// Runs the current step until the control stops its timer; answers the number of steps.
int RunFade(TProbe& c, void (TProbe::*step)(), int limit = 100) {
  int steps = 0;
  while (c.FadeTimerInterval() != 0 && steps < limit) {
    (c.*step)();
    ++steps;
    EXPECT_LE(c.HoverLevel(), 100);
    EXPECT_LE(c.PressLevel(), 100);
  }
  return steps;
}

} // namespace

TEST(FxCustomControlTest, DefaultsOfTheBase) {
  TTestHost host;
  TProbe c(&host);
  EXPECT_TRUE(c.TextShadow());
  EXPECT_TRUE(c.ShowCaption());
  EXPECT_TRUE(c.TabStop());
  EXPECT_TRUE(c.DoubleBuffered());
  EXPECT_EQ(c.FxStyleManager(), nullptr);
  EXPECT_EQ(c.FadeSpeed(), fsMedium);
  EXPECT_EQ(c.HoverLevel(), 0);
  EXPECT_EQ(c.PressLevel(), 0);
  EXPECT_EQ(c.FadeTimerInterval(), 0u);
}

TEST(FxFadeTest, HoverFadeReaches100InTenStepsAtTwentyMs) {
  TTestHost host;
  TProbe c(&host);
  c.SetStateFlags(kOver);
  c.StartFade();
  EXPECT_EQ(c.FadeTimerInterval(), 20u);
  for (int i = 1; i <= 9; ++i) {
    c.FadeInStep();
    EXPECT_EQ(c.HoverLevel(), 10 * i);
    EXPECT_NE(c.FadeTimerInterval(), 0u) << "step " << i;
  }
  c.FadeInStep();
  EXPECT_EQ(c.HoverLevel(), 100);
  EXPECT_EQ(c.FadeTimerInterval(), 0u) << "the tenth step ends the fade";
}

TEST(FxFadeTest, PressFadeTakesFourStepsAndHoldsTheHover) {
  TTestHost host;
  TProbe c(&host);
  c.SetHoverLevel(100);
  c.SetStateFlags(kOver | kPressed);
  c.StartFade();
  const int expected[] = {25, 50, 75, 100};
  for (int level : expected) {
    c.FadeInStep();
    EXPECT_EQ(c.PressLevel(), level);
    EXPECT_EQ(c.HoverLevel(), 100);
    EXPECT_NE(c.FadeTimerInterval(), 0u);
  }
  c.FadeInStep(); // full: the next tick stops the timer
  EXPECT_EQ(c.PressLevel(), 100);
  EXPECT_EQ(c.FadeTimerInterval(), 0u);
}

TEST(FxFadeTest, ReleasingFadesThePressOutWhileTheHoverStays) {
  TTestHost host;
  TProbe c(&host);
  c.SetHoverLevel(100);
  c.SetPressLevel(100);
  c.SetStateFlags(kOver);
  c.StartFade();
  EXPECT_EQ(RunFade(c, &TProbe::FadeInStep), 4);
  EXPECT_EQ(c.PressLevel(), 0);
  EXPECT_EQ(c.HoverLevel(), 100);
}

TEST(FxFadeTest, FadeOutReturnsToRestIncludingTheStepBelowZero) {
  struct {
    int hover, press, steps;
  } cases[] = {{100, 0, 11}, {100, 100, 11}, {0, 50, 2}, {0, 0, 1}};
  for (const auto& c : cases) {
    TTestHost host;
    TProbe p(&host);
    p.SetHoverLevel(c.hover);
    p.SetPressLevel(c.press);
    p.StartFade();
    EXPECT_EQ(RunFade(p, &TProbe::FadeOutStep), c.steps) << c.hover << "/" << c.press;
    EXPECT_EQ(p.HoverLevel(), 0);
    EXPECT_EQ(p.PressLevel(), 0);
  }
  // Hover at rest, press half way: the first step takes the hover to -10 for one step.
  TTestHost host;
  TProbe p(&host);
  p.SetPressLevel(50);
  p.StartFade();
  p.FadeOutStep();
  EXPECT_EQ(p.PressLevel(), 25);
  EXPECT_EQ(p.HoverLevel(), -10);
  p.FadeOutStep();
  EXPECT_EQ(p.HoverLevel(), 0);
  EXPECT_EQ(p.FadeTimerInterval(), 0u);
}

TEST(FxFadeTest, SecondStartReplacesTheTimerWithTheCurrentInterval) {
  TTestHost host;
  TProbe c(&host);
  c.SetFadeSpeed(fsSlow);
  c.StartFade();
  EXPECT_EQ(c.FadeTimerInterval(), 40u);
  c.SetFadeSpeed(fsVeryFast);
  c.StartFade();
  EXPECT_EQ(c.FadeTimerInterval(), 8u);
  c.SetFadeSpeed(fsFast);
  c.StartFade();
  EXPECT_EQ(c.FadeTimerInterval(), 12u);
}

// The real window timer runs the chosen step; once the fade ends no further tick arrives.
TEST(FxFadeTest, WindowTimerRunsTheChosenStepUntilTheFadeEnds) {
  TTestHost host;
  TProbe c(&host);
  c.SetBounds(0, 0, 20, 20);
  c.SetStateFlags(kOver);
  c.SetFadeSpeed(fsVeryFast);
  c.FadeOut();
  c.FadeIn(); // the second start wins: its step and its interval
  EXPECT_EQ(c.FadeTimerInterval(), 8u);
  EXPECT_TRUE(PumpUntil([&] { return c.FadeTimerInterval() == 0; }));
  EXPECT_EQ(c.HoverLevel(), 100);

  // No timer is left behind: a further step would push the stopped fade on before a timer of
  // several fade intervals fires.
  c.SetHoverLevel(50);
  ASSERT_TRUE(PumpPastTimer(50));
  EXPECT_EQ(c.HoverLevel(), 50);

  c.SetHoverLevel(100);
  c.SetStateFlags(0);
  c.FadeOut();
  EXPECT_TRUE(PumpUntil([&] { return c.FadeTimerInterval() == 0; }));
  EXPECT_EQ(c.HoverLevel(), 0);
}

TEST(FxFadeTest, ExceptionInAStepIsSwallowed) {
  TTestHost host;
  TProbe c(&host);
  c.throwInStep = true;
  c.StartFade();
  LRESULT result = 0;
  EXPECT_NO_THROW(c.HandleMessage(WM_TIMER, TFxCustomControl::kFadeTimerId, 0, result));
}

TEST(FxCustomControlTest, NotificationsReachTheOperations) {
  TTestHost host;
  TProbe c(&host);
  c.SetBounds(0, 0, 40, 20);
  c.HandleNeeded();
  int enters = 0, leaves = 0;
  c.OnMouseEnter = [&](TObject* sender) {
    EXPECT_EQ(sender, &c);
    ++enters;
  };
  c.OnMouseLeave = [&](TObject*) { ++leaves; };
  c.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  c.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
  EXPECT_EQ(enters, 1) << "one enter, raised once";
  c.Perform(WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(leaves, 1);

  c.Perform(WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
  c.Perform(WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(c.leftDowns, 0);
  EXPECT_EQ(c.leftUps, 0);
  c.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  c.Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(c.leftDowns, 1);
  EXPECT_EQ(c.leftUps, 1);

  int resizesBefore = c.resizes;
  c.SetBounds(0, 0, 60, 20);
  EXPECT_GT(c.resizes, resizesBefore);
}
