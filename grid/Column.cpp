#include "grid/Column.h"

#include "grid/ColumnPlay.h"
#include "grid/Columns.h"
#include "grid/InplaceEdit.h"
#include "ui/Bitmap.h"

#include <algorithm>

TColumnPart::TColumnPart(TVxCustomColumn& column, TColor color) : column_(column), color_(color) {}

TColumnPart::~TColumnPart() = default;

void TColumnPart::SetGlyph(const TBitmap& value) {
  if (!glyph_) glyph_ = std::make_unique<TBitmap>();
  glyph_->Assign(value);
  if (!glyph_->Empty()) glyph_->SetTransparentColor(glyph_->Pixel(0, glyph_->Height() - 1));
  glyph_->SetTransparent(true);
  column_.PartChanged(false);
  Changed();
}

void TColumnPart::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  Changed();
}

void TColumnPart::SetCaption(const std::wstring& value) {
  if (caption_ == value) return;
  caption_ = value;
  column_.PartChanged(true);
  Changed();
}

void TColumnPart::SetDisplayMode(TDisplayMode value) {
  if (displayMode_ == value) return;
  displayMode_ = value;
  Changed();
}

void TColumnPart::Changed() {}

void TColumnHeader::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  column_.PartChanged(false);
}

void TColumnHeader::SetHideArrow(bool value) {
  if (hideArrow_ == value) return;
  hideArrow_ = value;
  column_.PartChanged(false);
}

void TColumnHeader::SetMultiLine(bool value) {
  if (multiLine_ == value) return;
  multiLine_ = value;
  column_.PartChanged(false);
}

void TColumnHeader::SetOrientation(THeaderOrientation value) {
  if (orientation_ == value) return;
  orientation_ = value;
  column_.PartChanged(false);
}

void TColumnFooter::Changed() {
  if (OnChange) OnChange(*this);
}

void TColumnFooter::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Changed();
}

void TColumnFooter::SetTextAfter(const std::wstring& value) {
  if (textAfter_ == value) return;
  textAfter_ = value;
  Changed();
}

void TColumnFooter::SetTextBefore(const std::wstring& value) {
  if (textBefore_ == value) return;
  textBefore_ = value;
  Changed();
}

void TColumnFooter::SetFormulaKind(TFormulaKind value) {
  if (formulaKind_ == value) return;
  formulaKind_ = value;
  Changed();
}

void TColumnFooter::SetFormatMask(const std::wstring& value) {
  if (formatMask_ == value) return;
  formatMask_ = value;
  Changed();
}

void TColumnFooter::SetFormatMaskKind(TFormatMaskKind value) {
  if (formatMaskKind_ == value) return;
  formatMaskKind_ = value;
  Changed();
}

void TVxSlideBounds::Set(int& field, int value) {
  if (field == value) return;
  field = value;
  column_.PartChanged(false);
}

TVxCustomColumn::TVxCustomColumn(TComponent* owner)
    : TComponent(owner), footer_(*this), header_(*this), slideBounds_(*this),
      display_(std::make_unique<TTextColumnDisplay>(*this)) {
  font_.OnChange = [this](TObject*) { FontChanged(); };
}

void TVxCustomColumn::SetElements(std::unique_ptr<TColumnDisplay> display,
                                  std::unique_ptr<TColumnPlay> play) {
  display_ = std::move(display);
  play_ = std::move(play);
}

TVxCustomColumn::~TVxCustomColumn() = default;

int TVxCustomColumn::Index() const {
  return collection_ ? collection_->IndexOfColumn(this) : -1;
}

bool TVxCustomColumn::ReadingLayout() const {
  return Loading() || (collection_ && collection_->Loading());
}

void TVxCustomColumn::Notify(TColumnChangeKind kind, int value) {
  if (collection_) collection_->Tell(kind, this, value);
}

void TVxCustomColumn::Tell(TColumnListenedChange what) {
  // A listener may unregister itself while hearing; walk a copy.
  auto listeners = listeners_;
  for (auto& [id, listener] : listeners)
    listener(*this, what);
}

int TVxCustomColumn::AddChangeListener(TColumnListener listener) {
  listeners_.emplace_back(nextListenerId_, std::move(listener));
  return nextListenerId_++;
}

void TVxCustomColumn::RemoveChangeListener(int id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void TVxCustomColumn::PartChanged(bool captionChanged) {
  if (captionChanged) Tell(lcCaption);
  Notify(ckAppearance);
}

void TVxCustomColumn::SetSlideCaption(const std::wstring& value) {
  if (slideCaption_ == value) return;
  slideCaption_ = value;
  Notify(ckAppearance);
}

void TVxCustomColumn::SetSlideCaptionLocation(TSlideCatpionLocation value) {
  if (slideCaptionLocation_ == value) return;
  slideCaptionLocation_ = value;
  Notify(ckAppearance);
}

void TVxCustomColumn::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Tell(lcAlignment);
  Notify(ckAppearance);
}

void TVxCustomColumn::SetBiDiMode(TBiDiMode value) {
  if (biDiMode_ == value) return;
  biDiMode_ = value;
  Notify(ckAppearance);
}

void TVxCustomColumn::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  Notify(ckAppearance);
}

void TVxCustomColumn::SetDrawingOptions(TDrawingOptions value) {
  if (drawingOptions_ == value) return;
  drawingOptions_ = value;
  Notify(ckAppearance);
}

void TVxCustomColumn::FontChanged() {
  if (!takingGridFont_) parentFont_ = false;
  Notify(ckAppearance);
}

void TVxCustomColumn::TakeGridFont(const TFont& font) {
  takingGridFont_ = true;
  font_.Assign(font);
  takingGridFont_ = false;
}

void TVxCustomColumn::SetOptions(TColumnOptions value) {
  if (options_ == value) return;
  const bool hadAutoSize = options_.Contains(coAutoSize);
  const bool newSearch = value.Contains(coSearchColumn) && !options_.Contains(coSearchColumn);
  options_ = value;
  if (newSearch && collection_) collection_->SearchColumnSet(*this);
  if (ReadingLayout()) return;
  if (collection_ && !(hadAutoSize && options_.Contains(coAutoSize)))
    collection_->AutoSize(TVxColumns::TAutoSizeStart::At, this);
  Notify(ckAppearance);
  Tell(lcOptions);
}

void TVxCustomColumn::SetPadding(int value) {
  if (padding_ == value) return;
  padding_.Set(value, Dpi());
  Notify(ckAppearance);
}

void TVxCustomColumn::SetParentFont(bool value) {
  if (parentFont_ == value) return;
  parentFont_ = value;
  if (value && collection_ && collection_->Host())
    TakeGridFont(collection_->Host()->ColumnsGridFont());
}

void TVxCustomColumn::SetParentCellColor(bool value) {
  if (parentCellColor_ == value) return;
  parentCellColor_ = value;
  Notify(ckAppearance);
}

void TVxCustomColumn::SetPosition(int value) {
  if (position_ == value) return;
  if (!collection_ || ReadingLayout()) {
    position_ = value;
    return;
  }
  const int last = collection_->ColumnCount() - 1;
  collection_->MoveColumn(position_, std::clamp(value, 0, last));
}

void TVxCustomColumn::SetSorted(bool value) {
  if (sorted_ == value) return;
  if (value) {
    if (ClassCapabilities() & kCapRefusesSort) return;
    TVxCustomColumn* previous = nullptr;
    for (int i = 0; collection_ && i < collection_->ColumnCount(); ++i)
      if (collection_->ColumnAt(i)->Sorted()) previous = collection_->ColumnAt(i);
    if (collection_) collection_->UnsortOthers(*this);
    sorted_ = true;
    try {
      Notify(ckSorted);
    } catch (...) {
      // A sort that fails (a value that does not convert) leaves the rows as they were, so
      // the header must go on showing the order they are in.
      sorted_ = false;
      if (previous) previous->sorted_ = true;
      throw;
    }
  } else {
    sorted_ = false;
    Notify(ckUnsorted);
  }
}

void TVxCustomColumn::SetSortKind(TSortKind value) {
  if (sortKind_ == value) return;
  const TSortKind old = sortKind_;
  sortKind_ = value;
  try {
    Notify(ckSortKind);
  } catch (...) {
    // As in SetSorted: the rows kept their order, and so does the header.
    sortKind_ = old;
    throw;
  }
}

void TVxCustomColumn::SetSortType(TSortType value) {
  if (sortType_ == value) return;
  sortType_ = value;
  Notify(ckSortKind);
}

void TVxCustomColumn::SetVerticalAlignment(TVerticalAlignment value) {
  if (verticalAlignment_ == value) return;
  verticalAlignment_ = value;
  Notify(ckAppearance);
}

void TVxCustomColumn::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Tell(lcVisible);
  if (collection_ && !ReadingLayout()) {
    collection_->Layout(true);
    collection_->AutoSize(TVxColumns::TAutoSizeStart::None, nullptr);
  }
  Notify(ckVisibility);
}

void TVxCustomColumn::SetMinWidth(int value) {
  if (minWidth_ == value) return;
  minWidth_.Set(value, Dpi());
  if (width_ < minWidth_) SetWidth(minWidth_);
}

int TVxCustomColumn::Dpi() const {
  return collection_ ? collection_->Dpi() : kDesignDpi;
}

void TVxCustomColumn::RescaleForDpi(int dpi) {
  for (TDpiLength* length : {&width_, &minWidth_, &padding_})
    length->Rescale(dpi);
  // A width rounded below a minimum rounded up must not break the rule between them.
  if (width_ < minWidth_) width_.Set(minWidth_, dpi);
}

void TVxCustomColumn::SetWidth(int value) {
  ApplyWidth(value, true);
}

void TVxCustomColumn::ApplyWidth(int value, bool redistribute) {
  if (value < minWidth_) value = minWidth_;
  if (width_ == value) return;
  const int difference = value - width_;
  width_.Set(value, Dpi());
  const bool loading = ReadingLayout();
  if (collection_ && !loading) collection_->Layout();
  Notify(ckWidth, difference);
  if (redistribute && collection_ && !loading)
    collection_->AutoSize(TVxColumns::TAutoSizeStart::After, this);
}

void TVxCustomColumn::SetWrapKind(TWrapKind value) {
  if (wrapKind_ == value) return;
  wrapKind_ = value;
  Notify(ckAppearance);
}

TEditorUses TVxCustomColumn::CanUseEditor() const {
  TEditorUses uses;
  if (!enabled_ || (!(ClassCapabilities() & kCapInplaceEditor) && !inplaceEdit_)) return uses;
  if (options_.Contains(coEditing)) uses.Include(euEdit);
  if (options_.Contains(coCanInput)) uses.Include(euInput);
  return uses;
}

bool TVxCustomColumn::AcceptsKey(wchar_t) const {
  return false;
}

void TVxCustomColumn::AdjustContentRect(RECT&, int, int) const {}

void TVxCustomColumn::CreateOwnEditor() {
  editor_ = std::make_unique<TVxEdit>();
}

void TVxCustomColumn::PrepareEditor(TVxEdit& editor) const {
  editor.SetAlignment(alignment_);
}

std::wstring TVxCustomColumn::VirtualText(int, int) const {
  return {};
}

void TVxCustomColumn::SetVirtualText(int, int, const std::wstring&) {}

TVxTextColumn::TVxTextColumn(TComponent* owner) : TVxCustomColumn(owner) {
  options_.Include(coShowTextFitHint);
  CreateOwnEditor();
}

void TVxTextColumn::PrepareEditor(TVxEdit& editor) const {
  TVxCustomColumn::PrepareEditor(editor);
  editor.SetMaxLength(maxLength_);
  editor.SetPasswordChar(passwordChar_);
}

void TVxTextColumn::SetMultiLine(bool value) {
  if (multiLine_ == value) return;
  multiLine_ = value;
  PartChanged(false);
}

void TVxTextColumn::SetPasswordChar(wchar_t value) {
  if (passwordChar_ == value) return;
  passwordChar_ = value;
  PartChanged(false);
}

void TVxTextColumn::SetTextAfter(const std::wstring& value) {
  if (textAfter_ == value) return;
  textAfter_ = value;
  PartChanged(false);
}

void TVxTextColumn::SetTextBefore(const std::wstring& value) {
  if (textBefore_ == value) return;
  textBefore_ = value;
  PartChanged(false);
}

std::wstring TVxTextColumn::DisplayText(const std::wstring& cellText) const {
  std::wstring text = textBefore_ + cellText + textAfter_;
  if (passwordChar_ != 0) return std::wstring(text.size(), passwordChar_);
  return text;
}

TVxImageColumn::TVxImageColumn(TComponent* owner) : TVxCustomColumn(owner) {
  SetElements(std::make_unique<TImageColumnDisplay>(*this), nullptr);
  SetDataKind(dkInteger);
  SetInitialDefaultValue(L"0");
  sortType_ = stNumeric;
}

void TVxImageColumn::SetImages(TImageList* value) {
  if (images_ == value) return;
  images_ = value;
  PartChanged(false);
}

TVxTreeColumn::TVxTreeColumn(TComponent* owner) : TVxCustomColumn(owner) {
  SetElements(std::make_unique<TTreeColumnDisplay>(*this),
              std::make_unique<TTreeColumnPlay>(*this));
  CreateOwnEditor();
}

void TVxTreeColumn::SetHighlightButton(bool value) {
  if (highlightButton_ == value) return;
  highlightButton_ = value;
  PartChanged(false);
}

void TVxTreeColumn::SetShowButtons(bool value) {
  if (showButtons_ == value) return;
  showButtons_ = value;
  PartChanged(false);
}

void TVxTreeColumn::SetShowLines(bool value) {
  if (showLines_ == value) return;
  showLines_ = value;
  PartChanged(false);
}

void TVxTreeColumn::AdjustContentRect(RECT& rect, int level, int dpi) const {
  rect.left += ScaleForDpi(kLevelIndent, dpi) * level + ScaleForDpi(kButtonIndent, dpi);
}

TVxCheckBoxColumn::TVxCheckBoxColumn(TComponent* owner) : TVxCustomColumn(owner) {
  SetElements(std::make_unique<TCheckBoxColumnDisplay>(*this),
              std::make_unique<TCheckBoxColumnPlay>(*this));
  SetDataKind(dkBoolean);
  sortType_ = stBoolean;
}
