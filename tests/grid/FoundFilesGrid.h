#pragma once
#include "grid/Grid.h"

// The found-files grid as the main window lays it out: seven columns of the four kinds.
inline void SetUpFoundFilesGrid(TVxGrid& grid) {
  grid.SetName(L"VxGrid1");
  grid.SetOptions({goGrid, goHeader, goSelectFullRow, goUseDefaultValues});
  TVxColumns& columns = grid.Columns();
  auto* number = columns.Add<TVxTextColumn>(L"Number");
  number->SetAlignment(taRightJustify);
  number->SetDefaultValue(L"0");
  number->SetWidth(39);
  auto* icon = columns.Add<TVxImageColumn>(L"FileIcon");
  icon->SetVisible(false);
  icon->SetWidth(38);
  auto* name = columns.Add<TVxTreeColumn>(L"FileName");
  name->SetShowLines(true);
  name->SetOptions(name->Options() + TColumnOptions{coShowTextFitHint});
  name->SetWidth(426);
  columns.Add<TVxTextColumn>(L"FileSize");
  columns.Add<TVxTextColumn>(L"FileType");
  auto* check = columns.Add<TVxCheckBoxColumn>(L"SelectCheck");
  check->SetAlignment(taCenter);
  check->SetOptions(check->Options() + TColumnOptions{coEditing});
  check->SetDefaultValue(L"true");
  check->SetWidth(36);
  columns.Add<TVxTextColumn>(L"RealFileSize")->SetVisible(false);
}
