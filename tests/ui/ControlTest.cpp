#include "ui/Application.h"
#include "ui/Bitmap.h"
#include "ui/Control.h"
#include "ui/Exception.h"
#include "ui/Menus.h"
#include "ui/Screen.h"
#include "ui/Timer.h"

#include <windows.h>

#include "Pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

// Captures what the error box would show.
class ErrorBoxCapture {
public:
  ErrorBoxCapture() {
    Application().MessageHook = [this](const std::wstring& text, const std::wstring& caption,
                                       UINT flags) {
      shown.push_back(text);
      captions.push_back(caption);
      this->flags = flags;
      return IDOK;
    };
  }
  ~ErrorBoxCapture() { Application().MessageHook = nullptr; }
  std::vector<std::wstring> shown, captions;
  UINT flags = 0;
};

class TProbe : public TWinControl {
public:
  using TWinControl::TWinControl;
  std::vector<std::string> log;
  bool throwOnPaint = false;
  UINT dialogCode = 0;

protected:
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg == WM_APP + 1) {
      result = static_cast<LRESULT>(wParam) * 2;
      return true;
    }
    if (msg == WM_APP + 2) throw EConvertError("'x' is not a valid integer value");
    if (msg == WM_APP + 3) throw std::bad_alloc();
    return TWinControl::HandleMessage(msg, wParam, lParam, result);
  }
  void Paint(TCanvas& canvas) override {
    log.push_back("paint");
    if (throwOnPaint) throw Exception("paint failed");
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(ClientRect());
  }
  void DoEnter() override {
    log.push_back("enter");
    TWinControl::DoEnter();
  }
  void DoExit() override {
    log.push_back("exit");
    TWinControl::DoExit();
  }
  void Resize() override {
    log.push_back("resize");
    TWinControl::Resize();
  }
  void CaptionChanged() override { log.push_back("caption"); }
  void EnabledChanged() override { log.push_back("enabled"); }
  void KeyDown(WORD& key, TShiftState shift) override {
    log.push_back("key " + std::to_string(key));
    TWinControl::KeyDown(key, shift);
  }
  bool DialogKey(WORD key, TShiftState) override {
    log.push_back("dialog " + std::to_string(key));
    return key == VK_RETURN;
  }
  UINT DialogCode(UINT code) override { return code | dialogCode; }
};

} // namespace

TEST(ControlTest, OneWindowProcedureDispatchesToTheObject) {
  TProbe probe(nullptr);
  probe.SetBounds(10, 10, 50, 40);
  HWND h = probe.Handle();
  ASSERT_TRUE(h);
  EXPECT_EQ(TWinControl::FromHandle(h), &probe);
  EXPECT_EQ(SendMessageW(h, WM_APP + 1, 21, 0), 42);
  // Unhandled messages reach the default procedure.
  EXPECT_EQ(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0), 0);
  probe.SetCaption(L"abc");
  EXPECT_EQ(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0), 3);
  EXPECT_EQ(probe.log.back(), "caption");
  probe.SetCaption(L"abc");
  probe.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(h));
  EXPECT_EQ(probe.log.back(), "enabled");
}

TEST(ControlTest, AnExceptionInAHandlerReachesTheErrorBoxNotTheCaller) {
  ErrorBoxCapture box;
  Application().SetTitle(L"Varnox");
  TProbe probe(nullptr);
  HWND h = probe.Handle();
  EXPECT_NO_THROW(SendMessageW(h, WM_APP + 2, 0, 0));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0], L"'x' is not a valid integer value.");
  EXPECT_EQ(box.captions[0], L"Varnox");
  EXPECT_EQ(box.flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  // Running out of memory is said in words, not by the C++ library's type name.
  SendMessageW(h, WM_APP + 3, 0, 0);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[1], L"Not enough memory: the last action could not finish.");
  box.shown.pop_back();

  // A failing paint is reported once, and the window is validated all the same.
  probe.throwOnPaint = true;
  probe.SetBounds(0, 0, 30, 30);
  probe.Repaint();
  // Validated, so no further paint message comes to fail again.
  EXPECT_TRUE(
      PumpUntil([&] { return box.shown.size() >= 2 && !::GetUpdateRect(h, nullptr, FALSE); }));
  Application().ProcessMessages();
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[1], L"paint failed.");

  // OnException replaces the box.
  std::string seen;
  Application().OnException = [&](TObject*, const std::exception& e) { seen = e.what(); };
  SendMessageW(h, WM_APP + 2, 0, 0);
  Application().OnException = nullptr;
  EXPECT_EQ(seen, "'x' is not a valid integer value");
  EXPECT_EQ(box.shown.size(), 2u);
}

TEST(ControlTest, PaintsThroughTheCanvasAndDoubleBuffer) {
  for (bool buffered : {false, true}) {
    TProbe probe(nullptr);
    probe.SetDoubleBuffered(buffered);
    probe.SetBounds(0, 0, 40, 30);
    HWND h = probe.Handle();
    probe.Repaint();
    EXPECT_FALSE(probe.log.empty());
    EXPECT_EQ(probe.log.back(), "paint") << buffered;
    HDC dc = GetDC(h);
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0)) << buffered;
    ReleaseDC(h, dc);
  }
}

TEST(ControlTest, ProcessMessagesRunsWhatIsPending) {
  TProbe probe(nullptr);
  int calls = 0;
  probe.OnKeyDown = [&](TObject* sender, WORD& key, TShiftState) {
    EXPECT_EQ(sender, &probe);
    calls += key == 'A';
  };
  PostMessageW(probe.Handle(), WM_KEYDOWN, 'A', 0);
  PostMessageW(probe.Handle(), WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(calls, 0);
  Application().ProcessMessages();
  EXPECT_EQ(calls, 2);
}

TEST(ControlTest, TabMovesFocusInTabOrderAndDialogKeysAreOffered) {
  TWinControl form(nullptr);
  form.SetBounds(0, 0, 200, 200);
  std::vector<TProbe*> boxes;
  for (int i = 0; i < 4; ++i) {
    auto* p = form.Make<TProbe>();
    p->SetBounds(0, i * 20, 50, 20);
    p->SetTabStop(i != 2);
    p->SetParent(&form);
    boxes.push_back(p);
  }
  boxes[3]->SetTabOrder(0); // order now: 3, 0, 1, 2
  EXPECT_EQ(boxes[3]->TabOrder(), 0);
  EXPECT_EQ(boxes[0]->TabOrder(), 1);
  SetForegroundWindow(form.Handle());
  boxes[3]->SetFocus();
  EXPECT_TRUE(boxes[3]->Focused());
  EXPECT_EQ(boxes[3]->log.back(), "enter");

  auto tab = [&] {
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    Application().ProcessMessages();
  };
  tab();
  EXPECT_TRUE(boxes[0]->Focused());
  EXPECT_NE(std::find(boxes[3]->log.begin(), boxes[3]->log.end(), "exit"), boxes[3]->log.end());
  tab();
  EXPECT_TRUE(boxes[1]->Focused());
  tab();
  EXPECT_TRUE(boxes[3]->Focused()) << "2 has no tab stop; the order wraps";
  boxes[0]->SetEnabled(false);
  tab();
  EXPECT_TRUE(boxes[1]->Focused()) << "a disabled control is skipped";

  // A control that wants Tab gets it as a key.
  boxes[1]->dialogCode = DLGC_WANTTAB;
  tab();
  EXPECT_TRUE(boxes[1]->Focused());
  EXPECT_EQ(boxes[1]->log.back(), "key 9");

  // Enter, unwanted by the focused control, is offered as a dialog key until one takes it.
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
  Application().ProcessMessages();
  EXPECT_EQ(boxes[1]->log.back(), "dialog 13");
  EXPECT_NE(boxes[3]->log.back(), "dialog 13") << "the first taker ends the offer";

  EXPECT_THROW(boxes[0]->SetFocus(), EInvalidOperation);
}

TEST(ControlTest, ParentFontAndColourFlowDownUntilSetLocally) {
  TWinControl parent(nullptr);
  auto* child = parent.Make<TWinControl>();
  auto* grandchild = parent.Make<TWinControl>();
  child->SetParent(&parent);
  grandchild->SetParent(child);
  grandchild->SetParentColor(true);
  parent.Font().SetName(L"Tahoma");
  parent.Font().SetColor(clBlue);
  EXPECT_EQ(grandchild->Font().Name(), L"Tahoma");
  EXPECT_EQ(grandchild->Font().Color(), clBlue);
  grandchild->Font().SetSize(12);
  EXPECT_FALSE(grandchild->ParentFont());
  parent.Font().SetName(L"Arial");
  EXPECT_EQ(child->Font().Name(), L"Arial");
  EXPECT_EQ(grandchild->Font().Name(), L"Tahoma");

  child->SetColor(clWhite);
  EXPECT_EQ(grandchild->Color(), clWhite);
  grandchild->SetColor(clRed);
  EXPECT_FALSE(grandchild->ParentColor());
  child->SetColor(clGray);
  EXPECT_EQ(grandchild->Color(), clRed);
}

class TDpiProbe : public TWinControl {
public:
  using TWinControl::TWinControl;
  std::vector<std::pair<int, int>> changes;

protected:
  void DpiChanged(int oldDpi, int newDpi) override { changes.emplace_back(oldDpi, newDpi); }
};

TEST(ControlTest, DpiFlowsDownToEveryChildAndEachChangeIsToldOnce) {
  TWinControl form(nullptr);
  auto* panel = form.Make<TDpiProbe>();
  panel->SetParent(&form);
  form.ChangeDpi(144);
  auto* late = form.Make<TDpiProbe>();
  late->SetParent(panel);
  EXPECT_EQ(late->Dpi(), 144) << "a control takes its parent's DPI";
  EXPECT_EQ(late->Scaled(19), 29) << "19 * 1.5 = 28.5, halves away from zero";
  form.ChangeDpi(144);
  late->Font().SetName(L"Tahoma");
  form.ChangeDpi(192);
  using TChanges = std::vector<std::pair<int, int>>;
  EXPECT_EQ(panel->changes, (TChanges{{96, 144}, {144, 192}}));
  EXPECT_EQ(late->changes, (TChanges{{96, 144}, {144, 192}}));
  EXPECT_EQ(late->Scaled(-3), -6);
  // Every font follows, and following is no font of the control's own.
  EXPECT_EQ(panel->Font().Dpi(), 192);
  EXPECT_TRUE(panel->ParentFont());
  EXPECT_EQ(late->Font().Dpi(), 192);
  TFont designed;
  late->SetFont(designed);
  EXPECT_EQ(late->Font().Dpi(), 192) << "a font given to a control is drawn at its DPI";
}

TEST(ControlTest, OwnerFreesChildrenAndWindowsGoWithTheirParents) {
  auto form = std::make_unique<TWinControl>(nullptr);
  auto* panel = form->Make<TWinControl>();
  panel->SetParent(form.get());
  auto* inner = form->Make<TWinControl>();
  inner->SetParent(panel);
  HWND innerWindow = inner->Handle();
  EXPECT_TRUE(panel->HandleAllocated()) << "a child's window needs its parent's";
  EXPECT_TRUE(form->HandleAllocated());
  EXPECT_EQ(GetParent(innerWindow), panel->Handle());

  // A control owned elsewhere loses its parent when the parent dies.
  TWinControl outsider(nullptr);
  outsider.SetParent(panel);
  HWND outsiderWindow = outsider.Handle();
  form.reset();
  EXPECT_FALSE(IsWindow(innerWindow));
  EXPECT_FALSE(IsWindow(outsiderWindow));
  EXPECT_EQ(outsider.Parent(), nullptr);
  EXPECT_FALSE(outsider.HandleAllocated());
}

TEST(TimerTest, FiresRepeatedlyAndRestartsWithANewInterval) {
  TComponent owner(nullptr);
  auto* timer = owner.Make<TTimer>();
  int ticks = 0;
  timer->OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, timer);
    ++ticks;
  };
  timer->SetInterval(20);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));

  timer->SetEnabled(false);
  ticks = 0;
  // Until a timer started later than a tick would be due has fired.
  ASSERT_TRUE(PumpPastTimer(100));
  EXPECT_EQ(ticks, 0) << "a disabled timer is silent";

  // A long interval set after a short one replaces it: no tick comes early.
  timer->SetInterval(10);
  timer->SetEnabled(true);
  timer->SetInterval(5000);
  ASSERT_TRUE(PumpPastTimer(100));
  EXPECT_EQ(ticks, 0);
  timer->SetInterval(15);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 1; }));
}

TEST(TimerTest, AnExceptionInOnTimerReachesTheErrorBox) {
  ErrorBoxCapture box;
  TTimer timer(nullptr);
  timer.SetInterval(10);
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    throw EListError("List index out of bounds (5)");
  };
  EXPECT_TRUE(PumpUntil([&] { return !box.shown.empty(); }));
  EXPECT_EQ(box.shown[0], L"List index out of bounds (5)") << "no full stop after a bracket";
}

namespace {
class TChoosingMenu : public TPopupMenu {
public:
  using TPopupMenu::TPopupMenu;
  UINT choice = 0;
  std::vector<std::wstring> shown;

protected:
  UINT TrackMenu(HMENU menu, int, int, HWND) override {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t text[64] = {};
      GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
      shown.push_back(text);
    }
    return choice;
  }
};
} // namespace

TEST(MenuTest, TheChosenItemRunsAfterTheMenuCloses) {
  TChoosingMenu menu(nullptr);
  std::vector<std::string> clicks;
  menu.AddItem(L"Open file folder", [&](TObject*) { clicks.push_back("folder"); });
  TMenuItem* hidden = menu.AddItem(L"Hidden");
  hidden->SetVisible(false);
  menu.AddItem(L"Open file", [&](TObject*) { clicks.push_back("file"); });
  menu.choice = 3;
  menu.Popup(10, 10);
  EXPECT_EQ(menu.shown, (std::vector<std::wstring>{L"Open file folder", L"Open file"}));
  EXPECT_EQ(clicks, std::vector<std::string>{"file"});
  menu.choice = 0;
  menu.Popup(10, 10);
  EXPECT_EQ(clicks.size(), 1u) << "dismissed: nothing runs";

  // A right click on a control with the menu shows it for that control.
  TWinControl control(nullptr);
  control.SetPopupMenu(&menu);
  menu.choice = 1;
  SendMessageW(control.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control.Handle()),
               MAKELPARAM(5, 5));
  EXPECT_EQ(menu.PopupComponent(), &control);
  EXPECT_EQ(clicks.back(), "folder");
}

TEST(ApplicationTest, TitleDefaultsToTheProgramName) {
  TApplication fresh;
  EXPECT_EQ(fresh.Title(), L"test_ui");
}

namespace {
class TMouseProbe : public TWinControl {
public:
  using TWinControl::TWinControl;
  std::vector<std::string> log;

protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    log.push_back("down " + std::to_string(button) + " " + std::to_string(shift.ToInt()) + " " +
                  std::to_string(x) + "," + std::to_string(y));
    TWinControl::MouseDown(button, shift, x, y);
  }
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    log.push_back("up " + std::to_string(button) + " " + std::to_string(shift.ToInt()));
    TWinControl::MouseUp(button, shift, x, y);
  }
  void DblClick() override { log.push_back("dblclick"); }
  void MouseEnter() override { log.push_back("enter"); }
  void MouseLeave() override { log.push_back("leave"); }
  bool MouseWheel(TShiftState, int delta, POINT) override {
    log.push_back("wheel " + std::to_string(delta));
    return true;
  }
  void KeyPress(wchar_t& key) override {
    log.push_back("press " + std::to_string(key));
    if (key == L'x') key = 0;
  }
};
} // namespace

TEST(ControlTest, MouseAndKeyMessagesBecomeHooksWithButtonAndShiftState) {
  TMouseProbe probe(nullptr);
  probe.SetBounds(0, 0, 50, 50);
  HWND h = probe.Handle();
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 4));
  EXPECT_TRUE(probe.MouseInClient());
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(7, 8));
  SendMessageW(h, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(7, 8));
  SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(7, 8));
  SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL, MAKELPARAM(1, 2));
  SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(1, 2));
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(probe.MouseInClient());
  const unsigned shiftLeft = TShiftState{ssShift, ssLeft}.ToInt();
  const unsigned leftDouble = TShiftState{ssLeft, ssDouble}.ToInt();
  const unsigned ctrlRight = TShiftState{ssCtrl, ssRight}.ToInt();
  std::vector<std::string> expected = {"enter",
                                       "down 0 " + std::to_string(shiftLeft) + " 7,8",
                                       "up 0 " + std::to_string(TShiftState{ssShift}.ToInt()),
                                       "dblclick",
                                       "down 0 " + std::to_string(leftDouble) + " 7,8",
                                       "down 1 " + std::to_string(ctrlRight) + " 1,2",
                                       "wheel 120",
                                       "leave"};
  EXPECT_EQ(probe.log, expected);

  probe.log.clear();
  SendMessageW(h, WM_CHAR, L'a', 0);
  SendMessageW(h, WM_CHAR, L'x', 0);
  EXPECT_EQ(probe.log, (std::vector<std::string>{"press 97", "press 120"}));
}

TEST(ControlTest, CursorOfTheControlAndOfTheScreen) {
  TWinControl control(nullptr);
  control.SetBounds(0, 0, 50, 50);
  HWND h = control.Handle();
  HCURSOR custom = LoadCursorW(nullptr, IDC_CROSS);
  Screen().SetCursors(3000, custom);
  control.SetCursor(3000);
  EXPECT_EQ(SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, 0)),
            TRUE);
  EXPECT_EQ(GetCursor(), custom);
  Screen().SetCursor(crHourGlass);
  SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, 0));
  EXPECT_EQ(GetCursor(), Screen().Cursors(crHourGlass));
  Screen().SetCursor(crDefault);
  EXPECT_EQ(Screen().Cursors(4711), LoadCursorW(nullptr, IDC_ARROW)) << "unknown: the arrow";
  EXPECT_EQ(LoadCursorResource(L"NO_SUCH_CURSOR"), nullptr);
  Screen().SetCursors(3000, nullptr);
}

namespace {
class TFilled : public TWinControl {
public:
  TFilled(TComponent* owner, TColor color) : TWinControl(owner) { SetColor(color); }
  bool throws = false;

protected:
  void Paint(TCanvas& canvas) override {
    if (throws) throw Exception("paint failed");
    canvas.Pen().SetColor(clYellow);
    canvas.MoveTo(0, 0);
    canvas.LineTo(3, 0);
  }
};
} // namespace

TEST(ControlTest, PaintToDrawsTheControlAndItsChildrenWithoutTheScreen) {
  TFilled parent(nullptr, clRed);
  parent.SetVisible(false);
  parent.SetBounds(0, 0, 40, 30);
  auto* child = parent.Make<TFilled>(clBlue);
  child->SetParent(&parent);
  child->SetBounds(10, 5, 20, 10);
  auto* hidden = parent.Make<TFilled>(clLime);
  hidden->SetParent(&parent);
  hidden->SetBounds(0, 20, 5, 5);
  hidden->SetVisible(false);
  TBitmap shot(50, 40);
  shot.Fill(clWhite);
  parent.PaintTo(shot.Canvas().Handle(), 5, 5);
  GdiFlush();
  EXPECT_EQ(shot.Pixel(0, 0), clWhite) << "outside";
  EXPECT_EQ(shot.Pixel(6, 5), clYellow) << "the parent's own drawing";
  EXPECT_EQ(shot.Pixel(8, 8), clRed);
  EXPECT_EQ(shot.Pixel(16, 10), clYellow) << "the child's drawing at its place";
  EXPECT_EQ(shot.Pixel(20, 12), clBlue);
  EXPECT_EQ(shot.Pixel(34, 12), clBlue);
  EXPECT_EQ(shot.Pixel(35, 12), clRed) << "the child ends at its right edge";
  EXPECT_EQ(shot.Pixel(6, 27), clRed) << "a hidden child is left out";
  EXPECT_EQ(shot.Pixel(45, 12), clWhite) << "clipped to the parent";

  // The DC comes back with its origin and clipping, also when a Paint fails half-way.
  child->throws = true;
  HDC dc = shot.Canvas().Handle();
  EXPECT_THROW(parent.PaintTo(dc, 5, 5), Exception);
  POINT origin{-1, -1};
  GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  TGdiObject region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetClipRgn(dc, static_cast<HRGN>(region.Get())), 0) << "no clip region left behind";
}
