#pragma once
#include "ui/Control.h"

#include <string>
#include <vector>

enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

// A line of text. AutoSize fits the bounds to the text (keeping the right edge for right-
// justified text); WordWrap breaks lines at the width. Transparent shows the parent's painting
// behind the text. With ShowAccelChar an ampersand underlines the next letter ("&&" shows one).
// The label takes its parent's colour by default and never takes the focus.
class TLabel : public TWinControl {
public:
  explicit TLabel(TComponent* owner);

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);

  // The DrawTextW flags the label draws with.
  UINT TextFlags() const;
  // The size the text needs with the current font (at the current width when wrapping).
  SIZE TextSize();
  // Draws the text as the label shows it into canvas, within rect.
  void DrawCaption(TCanvas& canvas, const RECT& rect);

protected:
  void Paint(TCanvas& canvas) override;
  void CaptionChanged() override;
  void FontChanged() override;
  void Resize() override;
  void Loaded() override;
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
  void AdjustBounds();

  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool transparent_ = false;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
};

enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo;

// The lines of a memo. While the memo's window exists they live in it (what the user typed
// included); before that they are kept here and handed to the window when it is made.
class TMemoLines {
public:
  explicit TMemoLines(TMemo& memo) : memo_(memo) {}
  int Count() const;
  std::wstring Strings(int index) const;
  void Add(const std::wstring& line);
  // Appends the lines in one change of the window's text: an edit control's work for an append
  // grows with the text it already holds, so a long log is best handed over in batches.
  void AddLines(const std::vector<std::wstring>& lines);
  void Clear();
  // Every line followed by CR LF.
  std::wstring Text() const;
  void SetText(const std::wstring& text);

private:
  friend class TMemo;
  TMemo& memo_;
  std::vector<std::wstring> lines_;
};

// A multi-line edit box (the system's EDIT class).
class TMemo : public TWinControl {
public:
  explicit TMemo(TComponent* owner);

  TMemoLines& Lines() { return lines_; }
  const TMemoLines& Lines() const { return lines_; }
  // The whole text (as Lines().Text()).
  std::wstring Text() const { return lines_.Text(); }
  void SetText(const std::wstring& text) { lines_.SetText(text); }

  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  // Tab and Enter: typed into the text, or left to the window (focus move, default button).
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }

protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
  friend class TMemoLines;
  TMemoLines lines_{*this};
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool readOnly_ = false;
  TBorderStyle borderStyle_ = bsSingle;
  bool wantTabs_ = false;
  bool wantReturns_ = true;
};
