// The styled controls' painting: a 75 x 25 button half-way through its hover fade (a frame it
// has shown before, and one it draws for the first time), a ticked check box half-way through
// its fade and a 600 x 300 antialiased panel, each per paint, against one BitBlt of the same
// area in the same run; and the panel's frame rendering on a resize, against drawing the whole
// frame three times larger and averaging it down.
#include "BenchTiming.h"
#include "styled/FxButton.h"
#include "styled/FxCheckBox.h"
#include "styled/FxPanel.h"
#include "styled/TestHost.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Fewer in a smoke run.
int Repeats() {
  return Sized(15, 1);
}

// Microseconds per call of work, over rounds calls.
double MicrosEach(const std::function<void()>& work, int rounds) {
  rounds = Sized(rounds, 1);
  double start = Seconds();
  for (int i = 0; i < rounds; ++i)
    work();
  ::GdiFlush();
  return (Seconds() - start) * 1e6 / rounds;
}

struct TResult {
  double micros, ratio;
};

// The subject and one BitBlt of its area take turns, so both see the same machine.
TResult AgainstBlit(int width, int height, const std::function<void()>& paint, int rounds) {
  TBitmap source(width, height), target(width, height);
  source.Fill(clWhite);
  auto blit = [&] {
    ::BitBlt(target.Canvas().Handle(), 0, 0, width, height, source.Canvas().Handle(), 0, 0,
             SRCCOPY);
  };
  std::vector<double> subject, baseline, ratios;
  for (int r = 0; r < Repeats(); ++r) {
    double b = MicrosEach(blit, rounds);
    double s = MicrosEach(paint, rounds);
    subject.push_back(s);
    baseline.push_back(b);
    ratios.push_back(s / b);
  }
  return {Median(subject), Median(ratios)};
}

// The plain way: the whole frame drawn three times larger, then averaged down.
void WholeFrame(TBitmap& target, const TPanelFrame& frame) {
  const int w = target.Width(), h = target.Height();
  TBitmap large(3 * w, 3 * h);
  TCanvas& canvas = large.Canvas();
  canvas.Brush().SetColor(frame.OuterColor);
  canvas.FillRect(RECT{0, 0, 3 * w, 3 * h});
  const int pen = 3 * frame.BorderWidth - 1;
  canvas.Pen().SetWidth(pen);
  canvas.Pen().SetColor(frame.BorderColor);
  canvas.Brush().SetColor(frame.Color);
  canvas.RoundRect(RECT{pen / 2, pen / 2, 3 * w - pen / 2, 3 * h - pen / 2}, 3 * frame.CornerWidth,
                   3 * frame.CornerWidth);
  ::GdiFlush();
  DownsampleEdges(target, large, 3, frame.Color, frame.CornerWidth + 20);
}

// A control whose painting the bench calls as the window's paint message does.
template <typename T> class TOpen : public T {
public:
  using T::Paint;
  using T::T;
};

// One paint as the framework runs it: the canvas takes the control's font and colour, then
// Paint (the three controls paint every pixel themselves).
template <typename T> std::function<void()> PaintOnce(TOpen<T>& control, TBitmap& target) {
  return [&control, &target] {
    TCanvas& canvas = target.Canvas();
    canvas.Font().Assign(control.Font());
    canvas.Brush().SetColor(control.Color());
    control.Paint(canvas);
  };
}

} // namespace

int main(int argc, char** argv) {
  ReadBenchArguments(argc, argv);
  TTestHost host;
  host.SetBounds(0, 0, 700, 400);

  TOpen<TFxButton> button(nullptr);
  button.SetParent(&host);
  button.SetCaption(L"Find");
  TBitmap glyph;
  glyph.LoadFromResource(L"GLYPH_FIND");
  button.SetGlyph(glyph);
  SendMouse(button, WM_MOUSEMOVE);
  for (int tick = 0; tick < 5; ++tick)
    ::SendMessageW(button.Handle(), WM_TIMER, TFxCustomControl::kFadeTimerId, 0);

  TOpen<TFxCheckBox> box(nullptr);
  box.SetParent(&host);
  box.SetCaption(L"Temporary files");
  box.SetChecked(true);
  SendMouse(box, WM_MOUSEMOVE);
  for (int tick = 0; tick < 5; ++tick)
    ::SendMessageW(box.Handle(), WM_TIMER, TFxCustomControl::kFadeTimerId, 0);

  TOpen<TFxPanel> panel(nullptr);
  panel.SetParent(&host);
  panel.SetBounds(0, 0, 600, 300);
  panel.SetCaption(L"Found files");

  TBitmap buttonTarget(75, 25), boxTarget(130, 17), panelTarget(600, 300);
  TResult b = AgainstBlit(75, 25, PaintOnce(button, buttonTarget), 400);
  // The first paint of a fade frame draws it; the bench makes every paint a first one.
  bool flip = false;
  TResult cold = AgainstBlit(
      75, 25,
      [&] {
        button.SetSpacing((flip = !flip) ? 2 : 3);
        PaintOnce(button, buttonTarget)();
      },
      200);
  TResult c = AgainstBlit(130, 17, PaintOnce(box, boxTarget), 400);
  TResult p = AgainstBlit(600, 300, PaintOnce(panel, panelTarget), 40);
  Figure("styled_paint_us", b.micros);
  Figure("styled_paint_button_in_blits", b.ratio);
  Figure("styled_paint_button_first_us", cold.micros);
  Figure("styled_paint_button_first_in_blits", cold.ratio);
  Figure("styled_paint_checkbox_us", c.micros);
  Figure("styled_paint_checkbox_in_blits", c.ratio);
  Figure("styled_paint_panel_us", p.micros);
  Figure("styled_paint_panel_in_blits", p.ratio);

  // A resize renders the frame again: only its band, against the whole area.
  TPanelFrame frame;
  TBitmap whole(600, 300), banded(600, 300);
  std::vector<double> resize, plain, ratios;
  for (int r = 0; r < Repeats(); ++r) {
    double w = MicrosEach([&] { WholeFrame(whole, frame); }, 10);
    double s = MicrosEach([&] { RenderPanelFrame(banded, frame); }, 10);
    resize.push_back(s);
    plain.push_back(w);
    ratios.push_back(w / s);
  }
  Figure("styled_panel_render_us", Median(resize));
  Figure("styled_panel_render_whole_us", Median(plain));
  Figure("styled_panel_render_speedup", Median(ratios));
  return Done("bench_styled");
}
