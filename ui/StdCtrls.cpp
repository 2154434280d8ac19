#include "ui/StdCtrls.h"

#include <algorithm>

// ---- TLabel --------------------------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {
  SetParentColor(true);
  SetBounds(0, 0, 65, 17);
}

void TLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TLabel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Invalidate();
}

void TLabel::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
  if (value == showAccelChar_) return;
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

UINT TLabel::TextFlags() const {
  static const UINT horizontal[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = DT_EXPANDTABS | horizontal[alignment_ <= taCenter ? alignment_ : taLeftJustify];
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  return flags;
}

namespace {
// An empty text still takes the height of a line.
std::wstring MeasuredText(const std::wstring& caption, bool showAccelChar) {
  if (caption.empty() || (showAccelChar && caption == L"&")) return caption + L" ";
  return caption;
}
} // namespace

SIZE TLabel::TextSize() {
  TWindowDC screen;
  TCanvas canvas(screen.Get());
  canvas.Font().Assign(Font());
  RECT r{0, 0, wordWrap_ ? std::max(Width(), 1) : 0, 0};
  canvas.DrawTextW(MeasuredText(Caption(), showAccelChar_), r, TextFlags() | DT_CALCRECT);
  return SIZE{RectWidth(r), RectHeight(r)};
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || Loading()) return;
  SIZE size = TextSize();
  int left = Left();
  if (alignment_ == taRightJustify) left += Width() - size.cx;
  SetBounds(left, Top(), size.cx, size.cy);
}

void TLabel::DrawCaption(TCanvas& canvas, const RECT& rect) {
  RECT r = rect;
  UINT flags = TextFlags();
  if (layout_ != tlTop) {
    RECT measure = r;
    canvas.DrawTextW(MeasuredText(Caption(), showAccelChar_), measure, flags | DT_CALCRECT);
    int free = RectHeight(r) - RectHeight(measure);
    r.top += layout_ == tlCenter ? free / 2 : free;
  }
  canvas.Brush().SetStyle(bsClear);
  if (Enabled()) {
    canvas.Font().SetColor(Font().Color());
    canvas.DrawTextW(Caption(), r, flags);
    return;
  }
  // Disabled text is engraved: a highlight copy one pixel down-right, the shadow on top.
  RECT shifted = r;
  ::OffsetRect(&shifted, 1, 1);
  canvas.Font().SetColor(clBtnHighlight);
  canvas.DrawTextW(Caption(), shifted, flags);
  canvas.Font().SetColor(clBtnShadow);
  canvas.DrawTextW(Caption(), r, flags);
}

void TLabel::Paint(TCanvas& canvas) {
  RECT client = ClientRect();
  if (transparent_) {
    PaintParentBackground(canvas);
    canvas.Font().Assign(Font());
  } else {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
  }
  DrawCaption(canvas, client);
}

bool TLabel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // Paint covers the whole surface (the parent's picture when transparent): no erase.
  if (msg == WM_ERASEBKGND) {
    result = 1;
    return true;
  }
  return TWinControl::HandleMessage(msg, wParam, lParam, result);
}

void TLabel::CaptionChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::FontChanged() {
  AdjustBounds();
  TWinControl::FontChanged();
}

void TLabel::Resize() {
  Invalidate();
  TWinControl::Resize();
}

void TLabel::Loaded() {
  TWinControl::Loaded();
  AdjustBounds();
}

// ---- TMemo ---------------------------------------------------------------------------------

namespace {

std::vector<std::wstring> SplitLines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n') ? 2 : 1);
  }
  return lines;
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const auto& line : lines)
    text += line + L"\r\n";
  return text;
}

std::wstring WindowText(HWND window) {
  int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int got = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(got, 0)));
  return text;
}

} // namespace

int TMemoLines::Count() const {
  if (!memo_.HandleAllocated()) return static_cast<int>(lines_.size());
  return static_cast<int>(SplitLines(WindowText(const_cast<TMemo&>(memo_).Handle())).size());
}

std::wstring TMemoLines::Strings(int index) const {
  if (!memo_.HandleAllocated()) return lines_.at(static_cast<size_t>(index));
  return SplitLines(WindowText(const_cast<TMemo&>(memo_).Handle())).at(static_cast<size_t>(index));
}

void TMemoLines::Add(const std::wstring& line) {
  AddLines({line});
}

void TMemoLines::AddLines(const std::vector<std::wstring>& lines) {
  if (lines.empty()) return;
  if (!memo_.HandleAllocated()) {
    lines_.insert(lines_.end(), lines.begin(), lines.end());
    return;
  }
  // Appending through the selection keeps the caret, and the view, at the end of the log.
  HWND window = memo_.Handle();
  std::wstring insert = JoinLines(lines);
  // The text so far ends with a line break exactly when its last line is empty.
  LRESULT lastLine = ::SendMessageW(window, EM_GETLINECOUNT, 0, 0) - 1;
  LRESULT lastStart = ::SendMessageW(window, EM_LINEINDEX, lastLine, 0);
  if (::SendMessageW(window, EM_LINELENGTH, lastStart, 0) > 0) insert = L"\r\n" + insert;
  int end = ::GetWindowTextLengthW(window);
  ::SendMessageW(window, EM_SETSEL, end, end);
  ::SendMessageW(window, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(insert.c_str()));
}

void TMemoLines::Clear() {
  lines_.clear();
  if (memo_.HandleAllocated()) ::SetWindowTextW(memo_.Handle(), L"");
}

std::wstring TMemoLines::Text() const {
  if (!memo_.HandleAllocated()) return JoinLines(lines_);
  return JoinLines(SplitLines(WindowText(const_cast<TMemo&>(memo_).Handle())));
}

void TMemoLines::SetText(const std::wstring& text) {
  lines_ = SplitLines(text);
  if (memo_.HandleAllocated()) ::SetWindowTextW(memo_.Handle(), JoinLines(lines_).c_str());
}

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
  SetColor(clWindow);
  SetTabStop(true);
  SetBounds(0, 0, 185, 89);
}

void TMemo::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.ClassName = L"EDIT";
  params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | WS_TABSTOP;
  if (!wordWrap_) params.Style |= ES_AUTOHSCROLL;
  if (readOnly_) params.Style |= ES_READONLY;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
  if ((scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && !wordWrap_)
    params.Style |= WS_HSCROLL;
  if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TMemo::CreateWnd() {
  ::SendMessageW(Handle(), EM_LIMITTEXT, 0, 0); // no 32 K limit on the log
  ::SetWindowTextW(Handle(), JoinLines(lines_.lines_).c_str());
}

void TMemo::DestroyWnd() {
  lines_.lines_ = SplitLines(WindowText(Handle()));
}

void TMemo::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_) return;
  scrollBars_ = value;
  RecreateWnd();
}

void TMemo::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  RecreateWnd();
}

void TMemo::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  if (HandleAllocated()) ::SendMessageW(Handle(), EM_SETREADONLY, value, 0);
}

void TMemo::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateWnd();
}

bool TMemo::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_GETDLGCODE) {
    result = DefaultHandler(msg, wParam, lParam);
    if (wParam == VK_TAB && !wantTabs_) result &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    if (wParam == VK_RETURN && !wantReturns_) result &= ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
    return true;
  }
  return TWinControl::HandleMessage(msg, wParam, lParam, result);
}
