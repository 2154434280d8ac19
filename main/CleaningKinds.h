#pragma once
#include <array>
#include <optional>
#include <string>

#include "main/SystemServices.h"

// The kinds of junk the window offers as check boxes, with the short ids the console program and
// the remembered choices name them by.

struct TCleaningKind {
  const wchar_t* Id;
  int Box; // FxCheckBox<Box>
  const wchar_t* Caption;
  bool TickedByDefault;
  // Only shown kinds have a box the user can tick; the hidden one keeps its layout value.
  bool Shown;
  // The browser whose running process holds the kind's files open; null for other kinds.
  const wchar_t* BrowserExe;
};

// In the order the window shows them.
extern const std::array<TCleaningKind, 10> kCleaningKinds;

// Which boxes are ticked: index n stands for FxCheckBox<n>; index 0 is unused.
using TTickedBoxes = std::array<bool, 11>;

const TCleaningKind* FindKindById(const std::wstring& id);
const TCleaningKind* FindKindByBox(int box);
// The kind a group row of the found-files list belongs to, by its caption; null for none.
const TCleaningKind* FindKindByGroupCaption(const std::wstring& caption);

TTickedBoxes DefaultTickedBoxes();
// "temp,chrome": the shown kinds ticked, in the window's order, joined by commas.
std::wstring KindListText(const TTickedBoxes& boxes);
// The boxes of a comma-separated list of shown kinds' ids; nothing when any item is not one
// (an empty text is the empty set). Hidden kinds keep their layout value.
std::optional<TTickedBoxes> ParseKindList(const std::wstring& text);

// The remembered choices: the kinds ticked at the last "Find", per user in the registry.
inline constexpr const wchar_t* kSettingsKey = L"Software\\Varnox";
inline constexpr const wchar_t* kRememberedKindsValue = L"Kinds";
// The stored set; the layout's defaults when the value is missing or is not a list of kinds.
TTickedBoxes LoadRememberedKinds(TSystemServices& services);
// False when the value could not be written.
bool StoreRememberedKinds(TSystemServices& services, const TTickedBoxes& boxes);
