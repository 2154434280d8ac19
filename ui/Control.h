#pragma once
#include "ui/Canvas.h"
#include "ui/Classes.h"
#include "ui/Color.h"
#include "ui/Dpi.h"
#include "ui/Font.h"
#include "ui/Types.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TPopupMenu;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;

// One child as the alignment sees it: its Align and its bounds in the parent's client
// coordinates (only the size matters on input, and the position for the order).
struct TAlignEntry {
  TAlign Align;
  RECT Bounds;
};

// Lays out aligned children inside client: first alTop (stacked from the top, in order of their
// Top), then alBottom (from the bottom, lowest first), alLeft, alRight, and alClient takes what
// is left. Ties keep the order of the entries. alNone entries are not moved. Each aligned entry
// keeps its height (top/bottom) or width (left/right).
void ArrangeAligned(const RECT& client, std::vector<TAlignEntry>& entries);

// What CreateParams fills in for the window of a control. ClassName may name a system class
// ("EDIT", "SysTabControl32"): the window is then subclassed, and messages the control does
// not handle go to the system class's own procedure.
struct TCreateParams {
  std::wstring ClassName;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  UINT ClassStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
};

// The base of every control with a window.
//
// Ownership: the owner (a TComponent, usually the form) frees the control; the parent is a
// plain pointer to the control whose client area shows this one. A control's window is created
// when it gets a parent whose window exists, when its parent's window is created, or on demand
// (Handle()). A control without a parent gets a top-level window.
//
// Messages arrive in HandleMessage, which answers whether it handled the message; the rest
// goes to the default procedure. Derived controls override HandleMessage for messages of their
// own (calling the base for the others) and the hooks below for the usual events. An
// exception thrown by a handler is caught at dispatch and shown by the application's error box.
class TWinControl : public TComponent {
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The control whose window owns this one; null for a top-level control.
  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TWinControl* Controls(int index) const { return controls_.at(index); }
  // The top-level control above this one (itself when it has no parent).
  TWinControl* TopLevel();

  // The window, created on first use (with the windows of its parents).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Makes the window again when it exists (CreateParams is asked again; children follow).
  void RecreateWnd();
  static TWinControl* FromHandle(HWND window);

  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return RectWidth(bounds_); }
  int Height() const { return RectHeight(bounds_); }
  void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
  void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
  void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
  void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return bounds_; }
  // The client area in client coordinates: from the window when it exists, else the size less
  // the frame the window would get.
  RECT ClientRect();
  int ClientWidth() { return RectWidth(ClientRect()); }
  int ClientHeight() { return RectHeight(ClientRect()); }

  // The DPI the control is laid out and drawn for (96 until told otherwise). A control takes
  // its parent's when it gets one; ChangeDpi sets it for the control and every control below.
  int Dpi() const { return dpi_; }
  void ChangeDpi(int dpi);
  // A length written for 96 DPI, at the control's DPI.
  int Scaled(int value) const { return ScaleForDpi(value, dpi_); }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  // Lays out the aligned children again (done by itself on every change that matters).
  void Realign();

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible, and so are all its parents.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& caption);

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // While set, the control takes its parent's colour (setting Color clears it).
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);

  // Changing the font's attributes is seen by the control (FontChanged).
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  // Takes the font's attributes; the control keeps its own DPI.
  void SetFont(const TFont& font);
  // While set, the control follows its parent's font (changing Font clears it).
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  // A screen cursor number (crDefault, crHandPoint, or one registered with the screen).
  int Cursor() const { return cursor_; }
  void SetCursor(int cursor);

  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value) { tabStop_ = value; }
  // Position among the parent's children for Tab; setting it moves the control there.
  int TabOrder() const;
  void SetTabOrder(int order);
  // Visible, enabled, and so are all its parents.
  bool CanFocus() const;
  void SetFocus();
  bool Focused() const;
  // The next (or previous) control after current, in tab order over this control's whole
  // tree, that can take the focus; wraps around; null when there is none.
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop);
  // Moves the focus from the focused control to the next one in tab order.
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

  // Paints through an off-screen bitmap (no flicker, no background erase).
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }

  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

  // Puts the window above (or below) its siblings.
  void BringToFront();
  void SendToBack();

  void Invalidate();
  void InvalidateRect(const RECT& rect);
  // Invalidate and paint now.
  void Repaint();
  // Paints what is invalid now.
  void Update();
  // Draws the control and every visible control below it into dc with the client area's
  // top-left corner at (x, y), without the screen: for pictures of a window in tests and
  // print-outs. System-class windows are asked to print themselves.
  void PaintTo(HDC dc, int x, int y);

  bool MouseCapture() const;
  void SetMouseCapture(bool capture);
  // The mouse is over the control (between MouseEnter and MouseLeave).
  bool MouseInClient() const { return mouseInside_; }

  POINT ClientToScreen(POINT point);
  POINT ScreenToClient(POINT point);

  // Tab and the dialog keys: answered by the message loop for the focused control.
  // Offers key to this control and then to every control below it; true when one took it.
  bool BroadcastDialogKey(WORD key, TShiftState shift);
  // Re-sends a message to this control's window procedure as if it came from the system.
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // The shift state of the keyboard now, for events that do not carry one.
  static TShiftState KeyboardShiftState();

  // Tells whether the control still exists after raising an event whose handler may free it
  // (a click that closes the window): take one before the event, ask after.
  class TLifeGuard {
  public:
    explicit TLifeGuard(const TWinControl& control) : alive_(control.life_) {}
    bool Alive() const { return !alive_.expired(); }

  private:
    std::weak_ptr<const int> alive_;
  };

protected:
  // Window class and styles of the control's window. The base asks for a child window
  // (WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, visible when Visible), or a popup without a
  // parent; a window class of its own per C++ class, with double clicks and full redraw on
  // resize (CS_HREDRAW | CS_VREDRAW; clear them in ClassStyle to repaint only what is new).
  virtual void CreateParams(TCreateParams& params);
  // Runs right after the window exists: the place to set up what needs the window.
  virtual void CreateWnd() {}
  // Runs just before the window goes (RecreateWnd or destruction).
  virtual void DestroyWnd() {}

  // The message handler; answer true when handled (result is then returned), false to let the
  // default procedure run. Call the base for messages you do not handle.
  virtual bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The default procedure for the current message (DefWindowProcW or the system class's).
  LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);

  // Painting: the one place a control draws itself. The canvas comes with the control's Font,
  // a solid brush of Color and a black one-pixel pen, clipped to the invalid area. The
  // background is filled with Color first unless Opaque is set (a control that paints every
  // pixel sets it: no erase, no flicker).
  virtual void Paint(TCanvas& canvas);
  bool Opaque() const { return opaque_; }
  void SetOpaque(bool value) { opaque_ = value; }

  // Input. The Mouse and Key hooks raise the matching On... event; override and call the base.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  // Wheel delta in WHEEL_DELTA units; answer true when it was used.
  virtual bool MouseWheel(TShiftState shift, int delta, POINT screenPoint);
  virtual void MouseEnter();
  virtual void MouseLeave();
  // Setting key to 0 swallows it.
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void KeyPress(wchar_t& key);
  // A key the focused control did not want (Enter, Escape, ...); answer true when taken.
  virtual bool DialogKey(WORD key, TShiftState shift);
  // The keys the control wants itself (DLGC_ flags); Tab moves the focus unless DLGC_WANTTAB.
  virtual UINT DialogCode(UINT defaultCode) { return defaultCode; }
  virtual void Click();
  virtual void DblClick();

  // Notifications, raised after the change; the base versions repaint where needed.
  virtual void DoEnter();
  virtual void DoExit();
  virtual void EnabledChanged();
  virtual void VisibleChanged();
  // The size changed (the children are already realigned); raises OnResize.
  virtual void Resize();
  virtual void CaptionChanged();
  virtual void FontChanged();
  virtual void ColorChanged();
  // The parent's colour changed (after this control took it, when ParentColor is set).
  virtual void ParentColorChanged();
  // The application became active or inactive (another application took the foreground).
  virtual void ApplicationActivateChanged(bool active);
  // The control's DPI changed (told to each control, parents before their children): the
  // place to make DPI-dependent resources again. Layout is the owner's business.
  virtual void DpiChanged(int oldDpi, int newDpi);
  // Colours of a system-class window (EDIT and the like) before it paints: sets the DC's text
  // and background colours and answers the background brush. The base uses Font and Color.
  virtual HBRUSH ControlColors(HDC dc);
  // Paints what the parent shows under this control, for see-through controls: the parent's
  // background colour and its Paint, shifted to this control's position.
  void PaintParentBackground(TCanvas& canvas);
  // A WM_NOTIFY that this control's system-class window sent to its parent, handed back to
  // the control; answer true when handled.
  virtual bool Notification(const NMHDR& header, LRESULT& result);
  // A control below this one is being freed or taken away (told to every ancestor).
  virtual void ControlRemoving(TWinControl* control);
  // The part of the client area that aligned children share (panels leave their frame out).
  virtual void AdjustClientRect(RECT& rect);
  void Loaded() override;

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
  void CreateHandle();
  void DestroyHandle();
  void UpdateBoundsFromWindow(const WINDOWPOS& pos);
  void RequestParentRealign();
  void PaintMessage();
  void PrepareCanvas(TCanvas& canvas);
  void CollectTabOrder(std::vector<TWinControl*>& list);
  void NotifyFontToChildren();
  void NotifyColorToChildren();
  void BroadcastActivate(bool active);

  friend class TApplication;

  TWinControl* parent_ = nullptr;
  std::vector<TWinControl*> controls_; // creation order: alignment ties, painting
  std::vector<TWinControl*> tabList_;  // tab order
  HWND handle_ = nullptr;
  WNDPROC systemProc_ = nullptr; // the system class's procedure of a subclassed window
  RECT bounds_{0, 0, 0, 0};
  TAlign align_ = alNone;
  int dpi_ = kDesignDpi;
  bool visible_ = true;
  bool enabled_ = true;
  std::wstring caption_;
  TColor color_ = clBtnFace;
  bool parentColor_ = false;
  TFont font_;
  bool parentFont_ = true;
  bool takingParentFont_ = false;
  bool changingDpi_ = false;
  int cursor_ = 0;
  bool tabStop_ = false;
  bool doubleBuffered_ = false;
  bool opaque_ = false;
  bool mouseInside_ = false;
  bool aligning_ = false;
  bool realignPending_ = false;
  TPopupMenu* popupMenu_ = nullptr;
  std::unique_ptr<TBitmap> paintBuffer_;
  TGdiObject colorBrush_;
  TColor colorBrushColor_ = clNone;
  std::shared_ptr<const int> life_ = std::make_shared<const int>(0);
};
