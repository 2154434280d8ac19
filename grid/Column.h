#pragma once
#include "grid/GridTypes.h"
#include "ui/DpiLength.h"
#include "ui/Dpi.h"
#include "ui/Classes.h"
#include "ui/Color.h"
#include "ui/Font.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TColumnDisplay;
class TColumnPlay;
class TImageList;
class TVxColumns;
class TVxCustomColumn;
class TVxEdit;
class TWinControl;

// What changed in the column collection, as the grid hears it: one column's property (the
// grid redraws, re-lays out, sorts or resizes accordingly) or the collection itself (the row
// store adds or drops the column's cells).
enum TColumnChangeKind : uint8_t {
  ckPosition = 2,
  ckSorted = 4,
  ckSortKind = 5,
  ckAppearance = 6,
  ckVisibility = 7,
  ckUnsorted = 8,
  ckWidth = 9,
  ckAdding,
  ckInserting,
  ckRemoving,
  ckAdded,
  ckInserted,
  ckRemoved
};

// What a change listener (an editor or a display) hears about.
enum TColumnListenedChange : uint8_t { lcCaption, lcAlignment, lcOptions, lcVisible };
using TColumnListener = std::function<void(TVxCustomColumn& column, TColumnListenedChange what)>;

// Common part of a column's header and footer.
class TColumnPart {
public:
  TColumnPart(TVxCustomColumn& column, TColor color);
  virtual ~TColumnPart();
  TColumnPart(const TColumnPart&) = delete;
  TColumnPart& operator=(const TColumnPart&) = delete;

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& value);
  TDisplayMode DisplayMode() const { return displayMode_; }
  void SetDisplayMode(TDisplayMode value);
  // The picture; null until one is set. It is drawn transparent, the colour of its bottom-left
  // pixel left out.
  const TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(const TBitmap& value);
  const std::wstring& Hint() const { return hint_; }
  void SetHint(const std::wstring& value) { hint_ = value; }

  std::function<void(TColumnPart& sender)> OnChange;

protected:
  virtual void Changed();
  TVxCustomColumn& column_;

private:
  TColor color_;
  std::wstring caption_;
  TDisplayMode displayMode_ = dmTextOnly;
  std::unique_ptr<TBitmap> glyph_;
  std::wstring hint_;
};

class TColumnHeader : public TColumnPart {
public:
  explicit TColumnHeader(TVxCustomColumn& column) : TColumnPart(column, clBtnFace) {}
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool HideArrow() const { return hideArrow_; }
  void SetHideArrow(bool value);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);
  THeaderOrientation Orientation() const { return orientation_; }
  void SetOrientation(THeaderOrientation value);

private:
  TAlignment alignment_ = taLeftJustify;
  bool hideArrow_ = true;
  bool multiLine_ = false;
  THeaderOrientation orientation_ = hoHorizontal;
};

class TColumnFooter : public TColumnPart {
public:
  explicit TColumnFooter(TVxCustomColumn& column) : TColumnPart(column, clWindow) {}
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  const std::wstring& TextAfter() const { return textAfter_; }
  void SetTextAfter(const std::wstring& value);
  const std::wstring& TextBefore() const { return textBefore_; }
  void SetTextBefore(const std::wstring& value);
  TFormulaKind FormulaKind() const { return formulaKind_; }
  void SetFormulaKind(TFormulaKind value);
  const std::wstring& FormatMask() const { return formatMask_; }
  void SetFormatMask(const std::wstring& value);
  TFormatMaskKind FormatMaskKind() const { return formatMaskKind_; }
  void SetFormatMaskKind(TFormatMaskKind value);

protected:
  void Changed() override;

private:
  TAlignment alignment_ = taLeftJustify;
  std::wstring textAfter_, textBefore_;
  TFormulaKind formulaKind_ = fkNone;
  std::wstring formatMask_;
  TFormatMaskKind formatMaskKind_ = mkText;
};

// Where a column's cell lies inside a slide (slides style only).
class TVxSlideBounds {
public:
  explicit TVxSlideBounds(TVxCustomColumn& column) : column_(column) {}
  int Left() const { return left_; }
  void SetLeft(int value) { Set(left_, value); }
  int Top() const { return top_; }
  void SetTop(int value) { Set(top_, value); }
  int Width() const { return width_; }
  void SetWidth(int value) { Set(width_, value); }
  int Height() const { return height_; }
  void SetHeight(int value) { Set(height_, value); }

private:
  void Set(int& field, int value);
  TVxCustomColumn& column_;
  int left_ = 8, top_ = 8, width_ = 80, height_ = 16;
};

// Whether a column can be edited in place (edit) and take input-line input (input).
enum TEditorUse : uint8_t { euEdit, euInput };
using TEditorUses = TSet<TEditorUse, uint8_t>;

// Class capability bits (one byte per column class).
constexpr uint8_t kCapPlayWithoutEditing = 1 << 0;
constexpr uint8_t kCapInplaceEditor = 1 << 1;
constexpr uint8_t kCapRefusesSort = 1 << 2;
constexpr uint8_t kCapAutoFit = 1 << 3;
constexpr uint8_t kCapTextColumn = 1 << 5;

// A column of the grid; its component name (e.g. FileName) is how the grid finds it. The column
// collection owns the columns added to it.
class TVxCustomColumn : public TComponent {
public:
  explicit TVxCustomColumn(TComponent* owner = nullptr);
  ~TVxCustomColumn() override;

  virtual const char* ClassName() const { return "TVxCustomColumn"; }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Cursor() const { return cursor_; }
  void SetCursor(int value) { cursor_ = value; }
  const std::wstring& DefaultValue() const { return defaultValue_; }
  void SetDefaultValue(const std::wstring& value) { defaultValue_ = value; }
  int DefaultWidth() const { return defaultWidth_; }
  void SetDefaultWidth(int value) { defaultWidth_ = value; }
  TDrawingOptions DrawingOptions() const { return drawingOptions_; }
  void SetDrawingOptions(TDrawingOptions value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  // A change of the column's own font ends its use of the grid's font.
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }
  TColumnFooter& Footer() { return footer_; }
  const TColumnFooter& Footer() const { return footer_; }
  TColumnHeader& Header() { return header_; }
  const TColumnHeader& Header() const { return header_; }
  // An editor control used instead of the column's own; not owned.
  TWinControl* InplaceEdit() const { return inplaceEdit_; }
  void SetInplaceEdit(TWinControl* value) { inplaceEdit_ = value; }
  const std::wstring& InputCaption() const { return inputCaption_; }
  void SetInputCaption(const std::wstring& value) { inputCaption_ = value; }
  const std::wstring& InputValue() const { return inputValue_; }
  void SetInputValue(const std::wstring& value) { inputValue_ = value; }
  int MinWidth() const { return minWidth_; }
  // A minimum above the current width widens the column to it.
  void SetMinWidth(int value);
  TColumnOptions Options() const { return options_; }
  void SetOptions(TColumnOptions value);
  int Padding() const { return padding_; }
  void SetPadding(int value);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);
  bool ParentCellColor() const { return parentCellColor_; }
  void SetParentCellColor(bool value);
  int Position() const { return position_; }
  void SetPosition(int value);
  TVxSlideBounds& SlideBounds() { return slideBounds_; }
  const TVxSlideBounds& SlideBounds() const { return slideBounds_; }
  // The slide caption and its place redraw the slides, as the slide bounds do.
  const std::wstring& SlideCaption() const { return slideCaption_; }
  void SetSlideCaption(const std::wstring& value);
  TSlideCatpionLocation SlideCaptionLocation() const { return slideCaptionLocation_; }
  void SetSlideCaptionLocation(TSlideCatpionLocation value);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  TSortKind SortKind() const { return sortKind_; }
  void SetSortKind(TSortKind value);
  TSortType SortType() const { return sortType_; }
  void SetSortType(TSortType value);
  const std::wstring& StyleClass() const { return styleClass_; }
  void SetStyleClass(const std::wstring& value) { styleClass_ = value; }
  LONG_PTR Tag() const { return tag_; }
  void SetTag(LONG_PTR value) { tag_ = value; }
  TVerticalAlignment VerticalAlignment() const { return verticalAlignment_; }
  void SetVerticalAlignment(TVerticalAlignment value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  int Width() const { return width_; }
  void SetWidth(int value);
  TWrapKind WrapKind() const { return wrapKind_; }
  void SetWrapKind(TWrapKind value);

  // What draws the column's cells, and what reacts to input in them (none for some classes).
  TColumnDisplay& Display() const { return *display_; }
  TColumnPlay* Play() const { return play_.get(); }

  // Run-time state.
  TVxColumns* Collection() const { return collection_; }
  uint8_t DataKind() const { return dataKind_; }
  int Left() const { return left_; }
  int VisibleIndex() const { return visibleIndex_; }
  // The column's index in its collection (-1 outside one).
  int Index() const;

  // Listeners (in-place editors, displays) hear of caption, alignment and option changes.
  int AddChangeListener(TColumnListener listener);
  void RemoveChangeListener(int id);

  // Whether the class has an in-place editor of its own, and that editor (hidden until used).
  virtual bool HasEditorClass() const { return false; }
  TVxEdit* OwnEditor() const { return editor_.get(); }
  // Copies the column's settings that the own editor shows (alignment; the text column adds
  // the length limit and the password character).
  virtual void PrepareEditor(TVxEdit& editor) const;
  // The editor and input-line uses the column allows now.
  virtual TEditorUses CanUseEditor() const;
  virtual uint8_t ClassCapabilities() const { return 0; }
  virtual void SetDataKind(uint8_t value) { dataKind_ = value; }
  virtual bool IsMultiLine() const { return false; }
  // The text drawn for a cell holding cellText.
  virtual std::wstring DisplayText(const std::wstring& cellText) const { return cellText; }
  virtual std::wstring InputDisplayValue() const { return inputValue_; }
  virtual std::wstring InputEditValue() const { return inputValue_; }
  virtual bool AcceptsKey(wchar_t key) const;
  // Narrows a cell's edit area (the tree column indents by the row's level).
  virtual void AdjustContentRect(RECT& rect, int level, int dpi) const;
  // The text of a virtual cell of this column at (column, row); the base column has none.
  virtual std::wstring VirtualText(int column, int row) const;
  virtual void SetVirtualText(int column, int row, const std::wstring& text);

  // The grid hands over its font to a column that follows it.
  void TakeGridFont(const TFont& font);
  // Called by the header, footer and slide bounds when they change.
  void PartChanged(bool captionChanged);

private:
  friend class TVxColumns;
  void Notify(TColumnChangeKind kind, int value = 0);
  void Tell(TColumnListenedChange what);
  // The window layout is being read (the column's own or its collection's loading).
  bool ReadingLayout() const;
  void FontChanged();
  // Width change made by the auto-size pass: no further redistribution.
  void ApplyWidth(int value, bool redistribute);
  // The DPI of the grid the column belongs to (96 outside one).
  int Dpi() const;
  // The lengths set on the column follow its grid to another DPI (no notification: the
  // collection lays out once for all).
  void RescaleForDpi(int dpi);

  TAlignment alignment_ = taLeftJustify;
  TBiDiMode biDiMode_ = bdLeftToRight;
  TColor color_ = clWindow;
  int cursor_ = 0;
  std::wstring defaultValue_;
  int defaultWidth_ = 80;
  TDrawingOptions drawingOptions_ = doNormal;
  bool enabled_ = true;
  TFont font_;
  bool takingGridFont_ = false;
  TColumnFooter footer_;
  TColumnHeader header_;
  TWinControl* inplaceEdit_ = nullptr;
  std::wstring inputCaption_, inputValue_;
  TDpiLength minWidth_{8};
  TDpiLength padding_{0};
  bool parentFont_ = true;
  bool parentCellColor_ = false;
  int position_ = 0;
  TVxSlideBounds slideBounds_;
  std::wstring slideCaption_;
  TSlideCatpionLocation slideCaptionLocation_ = clTop;
  bool sorted_ = false;
  TSortKind sortKind_ = skAscending;
  std::wstring styleClass_;
  LONG_PTR tag_ = 0;
  TVerticalAlignment verticalAlignment_ = taVerticalCenter;
  bool visible_ = true;
  TDpiLength width_{80};
  TWrapKind wrapKind_ = wkEllipsis;

  TVxColumns* collection_ = nullptr;
  uint8_t dataKind_ = dkText;
  int left_ = 0;
  int visibleIndex_ = -1;
  std::vector<std::pair<int, TColumnListener>> listeners_;
  int nextListenerId_ = 1;

  std::unique_ptr<TColumnDisplay> display_;
  std::unique_ptr<TColumnPlay> play_;
  std::unique_ptr<TVxEdit> editor_;

protected:
  // A column class with an editor class makes its own editor when it is made.
  void CreateOwnEditor();
  // Each column class sets its display and play when it is made.
  void SetElements(std::unique_ptr<TColumnDisplay> display, std::unique_ptr<TColumnPlay> play);
  TColumnOptions options_{coCanClick, coCanInput, coCanSort, coPublicUsing};
  TSortType sortType_ = stAlphabetic;
  void SetInitialDefaultValue(const std::wstring& value) { defaultValue_ = value; }
};

class TVxTextColumn : public TVxCustomColumn {
public:
  explicit TVxTextColumn(TComponent* owner = nullptr);
  const char* ClassName() const override { return "TVxTextColumn"; }
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value) { maxLength_ = value; }
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);
  wchar_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(wchar_t value);
  const std::wstring& TextAfter() const { return textAfter_; }
  void SetTextAfter(const std::wstring& value);
  const std::wstring& TextBefore() const { return textBefore_; }
  void SetTextBefore(const std::wstring& value);

  bool HasEditorClass() const override { return true; }
  uint8_t ClassCapabilities() const override {
    return kCapInplaceEditor | kCapAutoFit | kCapTextColumn;
  }
  bool IsMultiLine() const override { return multiLine_; }
  std::wstring DisplayText(const std::wstring& cellText) const override;
  bool AcceptsKey(wchar_t key) const override { return key > 32; }
  void PrepareEditor(TVxEdit& editor) const override;

private:
  int maxLength_ = 0;
  bool multiLine_ = false;
  wchar_t passwordChar_ = 0;
  std::wstring textAfter_, textBefore_;
};

class TVxImageColumn : public TVxCustomColumn {
public:
  explicit TVxImageColumn(TComponent* owner = nullptr);
  const char* ClassName() const override { return "TVxImageColumn"; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { transparent_ = value; }
  // The images the cells' numbers pick from; not owned.
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  uint8_t ClassCapabilities() const override { return kCapAutoFit; }

private:
  bool transparent_ = true;
  TImageList* images_ = nullptr;
};

class TVxTreeColumn : public TVxCustomColumn {
public:
  explicit TVxTreeColumn(TComponent* owner = nullptr);
  const char* ClassName() const override { return "TVxTreeColumn"; }
  bool ExpandLock() const { return expandLock_; }
  void SetExpandLock(bool value) { expandLock_ = value; }
  bool HighlightButton() const { return highlightButton_; }
  void SetHighlightButton(bool value);
  bool ShowButtons() const { return showButtons_; }
  void SetShowButtons(bool value);
  bool ShowLines() const { return showLines_; }
  void SetShowLines(bool value);

  bool HasEditorClass() const override { return true; }
  uint8_t ClassCapabilities() const override {
    return kCapPlayWithoutEditing | kCapInplaceEditor | kCapRefusesSort | kCapAutoFit;
  }
  bool AcceptsKey(wchar_t key) const override { return key > 32; }
  void AdjustContentRect(RECT& rect, int level, int dpi) const override;

  // The tree indents each level by this many pixels, plus the button's width (at 96 DPI).
  static constexpr int kLevelIndent = 19;
  static constexpr int kButtonIndent = 16;

private:
  bool expandLock_ = false;
  bool highlightButton_ = false;
  bool showButtons_ = true;
  bool showLines_ = false;
};

class TVxCheckBoxColumn : public TVxCustomColumn {
public:
  explicit TVxCheckBoxColumn(TComponent* owner = nullptr);
  const char* ClassName() const override { return "TVxCheckBoxColumn"; }
  uint8_t ClassCapabilities() const override { return kCapInplaceEditor | kCapAutoFit; }
};
