#pragma once
#include "grid/PaintTypes.h"
#include "ui/Classes.h"
#include "ui/Color.h"
#include "ui/Font.h"

#include <windows.h>

#include <functional>
#include <string>

// The events and small types of the grid control: where a point lies, how Home and End and
// Enter move, and what the grid tells its owner while the user works with it.

// The area of the client a point lies in.
enum TGridHitTest : uint8_t { htNone, htBody, htFooter, htHeader, htIndicator, htInputLine };
enum THomeEndBehaviour : uint8_t { hebTopBottom, hebLeftRight };
enum TSelectionMoveDirection : uint8_t { mdNone, mdUp, mdDown, mdLeft, mdRight };

// A cell by column index and row index; -1 for none.
struct TGridCell {
  int Col = -1;
  int Row = -1;
  bool operator==(const TGridCell&) const = default;
};

using TVxBeforeSelectEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& Accept)>;
using TVxBeforeSortEvent = std::function<void(TObject* Sender, int ACol, bool& Accept)>;
using TVxColumnMoveEvent = std::function<void(TObject* Sender, int ACol, int FromPos, int ToPos)>;
using TVxRowMoveEvent = std::function<void(TObject* Sender, int FromPos, int ToPos, bool& Accept)>;
using TVxAfterRowMoveEvent = std::function<void(TObject* Sender, int FromPos, int ToPos)>;
using TVxRowHeightEvent = std::function<void(TObject* Sender, int Index, int Height)>;
using TVxCellColoringEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TColor& CellColor, TColor& GridColor,
                       TCellState CellState)>;
// A cell's display text, offered before the grid measures it or shows it as a hint.
using TVxApplyCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, std::wstring& Value)>;
using TVxCellFormatingEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TColor& TextColor,
                       TFontStyles& FontStyle, TCellState CellState)>;
using TVxDrawCellBackgroundEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const RECT& CellRect,
                       TCellState CellState, bool& DefaultDrawing)>;
using TVxCustomDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow,
                                                  const RECT& CellRect, TCellState CellState)>;
// A slide's colour and the colour of the line below it; SlideState as a cell's state.
using TVxSlideColoringEvent = std::function<void(TObject* Sender, int Index, TColor& SlideColor,
                                                 TColor& GridColor, TCellState SlideState)>;
