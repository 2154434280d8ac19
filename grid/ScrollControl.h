#pragma once
#include <string>

enum TScrollBarKind : unsigned char { sbHorizontal, sbVertical };

// The scrolling base of the grid: the window's two scroll bars and how a scroll position
// becomes a shift of the contents. The window part joins when the control base is attached.
class TVxCustomScrollControl {
public:
  TVxCustomScrollControl() = default;
  virtual ~TVxCustomScrollControl() = default;
  TVxCustomScrollControl(const TVxCustomScrollControl&) = delete;
  TVxCustomScrollControl& operator=(const TVxCustomScrollControl&) = delete;

  // Component name (VxGrid1) and class name (TVxGrid), as error texts show them.
  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& value) { name_ = value; }
  virtual const char* ClassName() const { return "TVxCustomScrollControl"; }

  int Width() const { return width_; }
  void SetWidth(int value) { width_ = value; }
  int Height() const { return height_; }
  void SetHeight(int value) { height_ = value; }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }

protected:
  virtual int GetHorzScrollDelta(int oldPosition, int newPosition);
  virtual int GetVertScrollDelta(int oldPosition, int newPosition);
  virtual void AfterScroll(TScrollBarKind) {}
  virtual void BeforeScroll(TScrollBarKind) {}

private:
  std::wstring name_;
  int width_ = 250;
  int height_ = 150;
};

class TVxScrollControl : public TVxCustomScrollControl {
public:
  const char* ClassName() const override { return "TVxScrollControl"; }
  bool MouseWheelEnabled() const { return mouseWheelEnabled_; }
  void SetMouseWheelEnabled(bool value) { mouseWheelEnabled_ = value; }

private:
  bool mouseWheelEnabled_ = true;
};

inline int TVxCustomScrollControl::GetHorzScrollDelta(int, int) {
  return 0;
}
inline int TVxCustomScrollControl::GetVertScrollDelta(int, int) {
  return 0;
}
