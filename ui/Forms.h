#pragma once
#include "ui/Control.h"

#include <functional>

enum TPosition : uint8_t {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};

// What closing a form does: nothing, hide it, free its window, or minimise it.
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// A top-level window. It is hidden until Show; Position places it when its window is made.
// Closing the application's main form, or its window going by any other way, ends the
// application's message loop; a main form that is freed stops being the main form. The focus
// returns to the control that had it when the form is activated again.
class TForm : public TWinControl {
public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  // Sets the outer size so that the client area gets this size.
  void SetClientWidth(int value);
  void SetClientHeight(int value);

  // Lays the form out for dpi: every control takes it (ChangeDpi), the window takes bounds when
  // given (the system's suggestion on a DPI change) or else keeps its client area, scaled by
  // the change, inside the frame the system draws at dpi; then LayoutForDpi places the
  // controls. The form takes its window's DPI when the window is made, and follows it when the
  // window moves to a monitor of another scale.
  void ScaleToDpi(int dpi, const RECT* bounds = nullptr);

  // The control that has (or last had) the focus on this form.
  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* control);

  // Asks OnCloseQuery, then OnClose, and carries out the action (see TCloseAction).
  void Close();
  // Raises OnCreate, once; EndLoading of the form's layout does it by itself.
  void DoCreate();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

protected:
  // Places the controls for Dpi() from their lengths at 96 DPI; runs after each DPI change,
  // once every control has taken the new DPI and the form its new bounds.
  virtual void LayoutForDpi() {}
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void VisibleChanged() override;
  void Loaded() override;
  void ControlRemoving(TWinControl* control) override;

private:
  POINT PlacedPosition() const;
  RECT FrameAt(int dpi);
  bool OwnsControl(const TWinControl* control) const;

  TBorderStyle borderStyle_ = bsSizeable;
  TPosition position_ = poDesigned;
  TWinControl* activeControl_ = nullptr;
  bool created_ = false;
  bool placed_ = false;
};
