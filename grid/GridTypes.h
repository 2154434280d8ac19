#pragma once
#include "ui/Font.h"
#include "ui/Set.h"
#include "ui/Types.h"

#include <cstdint>

// The enumerations shared by the grid's columns, rows and control. Their order is the stored
// order: sets keep bit n for the n-th value, and layouts store the ordinal.

enum TBiDiMode : uint8_t {
  bdLeftToRight,
  bdRightToLeft,
  bdRightToLeftNoAlign,
  bdRightToLeftReadingOnly
};
enum TDrawingOptions : uint8_t { doNormal, doBackgroundOnly, doCustom, doCustomOnly };
enum TSlideCatpionLocation : uint8_t { clLeft, clTop };
enum TSortKind : uint8_t { skAscending, skDescending };
enum TSortType : uint8_t {
  stAlphabetic,
  stBoolean,
  stCaseInsensitive,
  stCustom,
  stNumeric,
  stDate,
  stIP
};
// What Enter does in the input line: imAllways accepts the input and starts the line again,
// imEditing opens the input editor.
enum TInputEnterMode : uint8_t { imAllways, imEditing };
enum TWrapKind : uint8_t { wkNone, wkEllipsis, wkPathEllipsis, wkWordWrap };
enum TDisplayMode : uint8_t { dmImageOnly, dmTextAndImage, dmTextOnly };
enum THeaderOrientation : uint8_t { hoHorizontal, hoVertical };
enum TFormulaKind : uint8_t {
  fkNone,
  fkAverage,
  fkCount,
  fkDistinct,
  fkMaximum,
  fkMinimum,
  fkSum,
  fkCustom
};
enum TFormatMaskKind : uint8_t { mkText, mkFloat };

enum TColumnOption : uint8_t {
  coAutoSize,
  coCanClick,
  coCanInput,
  coCanSort,
  coDisableMoving,
  coDontHighlight,
  coEditing,
  coEditorAutoSelect,
  coFixedSize,
  coImageForIcon,
  coPublicUsing,
  coFullResort,
  coSearchColumn,
  coShowTextFitHint,
  coTextForCaption
};
using TColumnOptions = TSet<TColumnOption, uint16_t>;

enum TGridOption : uint8_t {
  goCanHideColumn,
  goDisableColumnMoving,
  goEscClearEdit,
  goFooter,
  goGrid,
  goHeader,
  goIndicator,
  goInput,
  goLockFixedCols,
  goMultiSelect,
  goRowResizing,
  goRowMoving,
  goSecondClickEdit,
  goSelectFullRow,
  goUseDefaultValues,
  goInplaceEditEvents
};
using TGridOptions = TSet<TGridOption, uint16_t>;

// Report: rows and columns. Slides: every row is one slide, its cells where the columns'
// slide bounds put them.
enum TGridStyle : uint8_t { gsReport, gsSlides };
enum TSlidesOption : uint8_t { soFrame, soHideSelection };
using TSlidesOptions = TSet<TSlidesOption, uint8_t>;

enum TGridLinesStyle : uint8_t {
  lsNormal,
  lsActiveHorzOnly,
  lsActiveRows,
  lsFramed,
  lsHorizontalOnly,
  lsVerticalOnly
};

// Data kinds: the byte a column carries that picks the class of its cells.
enum TDataKind : uint8_t {
  dkAutoNumber = 0,
  dkBoolean = 1,
  dkDateTime = 3,
  dkFloat = 4,
  dkGuid = 6,
  dkInteger = 7,
  dkText = 8,
  dkVirtual = 11
};
