#include "main/CleaningKinds.h"

#include "main/BrowserGuard.h"
#include "main/CleaningLocations.h"

const std::array<TCleaningKind, 10> kCleaningKinds = {{
    {L"temp", 1, L"Temporary files", true, true, nullptr},
    {L"firefox", 2, L"Mozilla Firefox Temporary Files", true, true, kFirefoxExe},
    {L"chrome", 3, L"Google Chrome Temporary Files", true, true, kChromeExe},
    {L"edge", 10, L"Microsoft Edge Temporary Files", true, true, kEdgeExe},
    {L"ie", 4, L"Internet Explorer Temporary Files", true, true, nullptr},
    {L"opera", 5, L"Opera Temporary Files", true, true, kOperaExe},
    {L"unity", 6, L"Unity WebPlayer Temporary Files", true, true, nullptr},
    {L"recyclebin", 7, L"Recycle Bin", false, true, nullptr},
    {L"recent", 8, L"Recent Documents", false, true, nullptr},
    {L"prefetch", 9, L"Old Prefetch Data", false, false, nullptr},
}};

const TCleaningKind* FindKindById(const std::wstring& id) {
  for (const TCleaningKind& kind : kCleaningKinds)
    if (id == kind.Id) return &kind;
  return nullptr;
}

const TCleaningKind* FindKindByBox(int box) {
  for (const TCleaningKind& kind : kCleaningKinds)
    if (kind.Box == box) return &kind;
  return nullptr;
}

const TCleaningKind* FindKindByGroupCaption(const std::wstring& caption) {
  struct TGroup {
    std::wstring Caption;
    int Box;
  };
  const TGroup groups[] = {
      {GroupCaption(pcUserTemp), 1}, {kSystemTempCaption, 1},
      {GroupCaption(pcFirefox), 2},  {GroupCaption(pcChrome), 3},
      {GroupCaption(pcEdge), 10},    {GroupCaption(pcInternetExplorer), 4},
      {GroupCaption(pcOpera), 5},    {GroupCaption(pcUnityWebPlayer), 6},
      {kRecentFilesCaption, 8},      {kPrefetchCaption, 9},
  };
  for (const TGroup& group : groups)
    if (group.Caption == caption) return FindKindByBox(group.Box);
  return nullptr;
}

TTickedBoxes DefaultTickedBoxes() {
  TTickedBoxes boxes{};
  for (const TCleaningKind& kind : kCleaningKinds)
    boxes[kind.Box] = kind.TickedByDefault;
  return boxes;
}

std::wstring KindListText(const TTickedBoxes& boxes) {
  std::wstring text;
  for (const TCleaningKind& kind : kCleaningKinds) {
    if (!kind.Shown || !boxes[kind.Box]) continue;
    if (!text.empty()) text += L',';
    text += kind.Id;
  }
  return text;
}

std::optional<TTickedBoxes> ParseKindList(const std::wstring& text) {
  TTickedBoxes boxes = DefaultTickedBoxes();
  for (const TCleaningKind& kind : kCleaningKinds)
    if (kind.Shown) boxes[kind.Box] = false;
  if (text.empty()) return boxes;
  size_t start = 0;
  for (;;) {
    size_t comma = text.find(L',', start);
    const TCleaningKind* kind = FindKindById(text.substr(start, comma - start));
    if (!kind || !kind->Shown) return std::nullopt;
    boxes[kind->Box] = true;
    if (comma == std::wstring::npos) return boxes;
    start = comma + 1;
  }
}

TTickedBoxes LoadRememberedKinds(TSystemServices& services) {
  TRegistryValue value;
  if (!services.QueryRegistryValue(HKEY_CURRENT_USER, kSettingsKey, kRememberedKindsValue, value) ||
      value.Type != REG_SZ)
    return DefaultTickedBoxes();
  std::wstring text = value.Data;
  // Stored with its terminating zero, as Windows keeps a string value.
  if (!text.empty() && text.back() == L'\0') text.pop_back();
  return ParseKindList(text).value_or(DefaultTickedBoxes());
}

bool StoreRememberedKinds(TSystemServices& services, const TTickedBoxes& boxes) {
  return services.WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, kRememberedKindsValue,
                                      KindListText(boxes));
}
