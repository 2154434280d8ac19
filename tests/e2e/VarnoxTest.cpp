// Varnox.exe started for real and used as a person would: pointer input through SendInput,
// texts read from its windows, files checked on the disk.
#include "e2e/VarnoxWindow.h"
#include "grid/Grid.h"
#include "main/CleaningKinds.h"
#include "main/FoundFilesList.h"
#include "main/LongPath.h"
#include "ui/Forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>

namespace {

constexpr int kMiB = 1048576;

// Two user profiles of the test's own beside the prefix's real ones, each with a Chrome cache and
// a temp folder; every file has bytes of its own. The first cache also holds names the ANSI code
// page cannot hold and a file whose path runs past MAX_PATH.
class TMachineFixture {
public:
  TMachineFixture() {
    const std::string id = std::to_string(::GetCurrentProcessId());
    users_ = {"varnox_e2e_a" + id, "varnox_e2e_b" + id};
    int sizeMiB = 1;
    for (const std::string& user : users_) {
      for (const char* name : {"f_0", "f_1", "f_2"})
        MakeFile(Cache(user) + name, sizeMiB++ * kMiB);
      MakeFile(Temp(user) + "keep.tmp", 1000);
    }
    // Enough small files that the first user's rows outgrow the grid and the list scrolls.
    for (int i = 10; i < 34; ++i)
      MakeFile(Cache(users_[0]) + "g_" + std::to_string(i), 1000 + i);
    const std::wstring cache = Wide(Cache(users_[0]));
    std::wstring deep = cache;
    while (deep.size() < MAX_PATH)
      deep += L"a_folder_deep_enough_to_take_the_path_past_its_old_limit\\";
    for (const std::wstring& path :
         {cache + L"файл.tmp", cache + L"キャッシュ.tmp", deep + L"long.tmp"})
      MakeWideFile(path, kMiB);
  }
  ~TMachineFixture() {
    for (const std::string& user : users_)
      RemoveTree(LongPathForm(Wide(kUsers + user)));
  }

  static constexpr const char* kUsers = "C:\\Users\\";
  const std::vector<std::string>& Users() const { return users_; }
  static std::string Cache(const std::string& user) {
    return kUsers + user + "\\AppData\\Local\\Google\\Chrome\\User Data\\Default\\Cache\\";
  }
  static std::string Temp(const std::string& user) {
    return kUsers + user + "\\AppData\\Local\\Temp\\";
  }
  // Entries as the file system lists them, which is the order the scan lists them in; with
  // onlyPlainFolders, the folders the scan takes for user profiles.
  static std::vector<std::string> Listed(const std::string& folder, bool onlyPlainFolders = false) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      if (!onlyPlainFolders || entry.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY)
        names.push_back(name);
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    return names;
  }
  // The bytes written for each file, to compare what is left byte for byte.
  std::map<std::string, std::string> Written;
  // The same for the files with wide names or long paths, all in the first user's cache.
  std::map<std::wstring, std::string> WrittenWide;

  static std::wstring Wide(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }
  // Every file below folder, as the scan lists them: in the order the file system gives the
  // entries, a subfolder's files where the subfolder was met.
  static std::vector<std::wstring> FilesInScanOrder(const std::wstring& folder) {
    std::vector<std::wstring> files;
    for (const auto& [name, isFolder] : ListedWide(folder)) {
      if (isFolder)
        for (std::wstring& file : FilesInScanOrder(folder + name + L"\\"))
          files.push_back(std::move(file));
      else
        files.push_back(folder + name);
    }
    return files;
  }
  static bool ExistsWide(const std::wstring& path) {
    return ::GetFileAttributesW(LongPathForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  bool Intact(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes == Written.at(path);
  }
  static bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

private:
  void MakeFile(const std::string& path, int size) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
      ::CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    std::string bytes(size_t(size), '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
      bytes[i] = char((i * 31 + path.size()) & 0xFF);
    std::ofstream(path, std::ios::binary) << bytes;
    Written[path] = bytes;
  }
  void MakeWideFile(const std::wstring& path, size_t size) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
      ::CreateDirectoryW(LongPathForm(path.substr(0, at)).c_str(), nullptr);
    HANDLE file = ::CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::string bytes(size, char(path.size()));
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    bytes.resize(written);
    WrittenWide[path] = bytes;
  }
  // Names with whether each is a folder, "." and ".." left out.
  static std::vector<std::pair<std::wstring, bool>> ListedWide(const std::wstring& folder) {
    std::vector<std::pair<std::wstring, bool>> entries;
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW(LongPathForm(folder + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
      std::wstring name = entry.cFileName;
      if (name != L"." && name != L"..")
        entries.emplace_back(name, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return entries;
  }
  static void RemoveTree(const std::wstring& folder) {
    for (const auto& [name, isFolder] : ListedWide(folder + L"\\")) {
      if (isFolder)
        RemoveTree(folder + L"\\" + name);
      else
        ::DeleteFileW((folder + L"\\" + name).c_str());
    }
    ::RemoveDirectoryW(folder.c_str());
  }

  std::vector<std::string> users_;
};

// Where the found-files grid draws its rows: a grid of the same layout in this process, at 96
// DPI and the size the program's has at 96 DPI, answers the header's height and each row's
// height; at another scale the program's grid stands where those positions, scaled by DPI / 96,
// put it.
struct TGridGeometry {
  int Dpi;
  int HeaderBottom = 0; // the first row's top
  int RowHeight = 0;
  int CheckX = 0;
  int FileLeft = 0;
  int RowsShown = 0; // rows wholly in view

  explicit TGridGeometry(const TVarnoxWindow& program, int dpi = kDesignDpi) : Dpi(dpi) {
    TForm host(nullptr);
    TVxGrid twin(&host);
    twin.SetParent(&host);
    SetupFoundFilesGrid(twin);
    const RECT client = program.GridClientRect();
    const RECT designed{0, 0, ::MulDiv(client.right, kDesignDpi, dpi),
                        ::MulDiv(client.bottom, kDesignDpi, dpi)};
    twin.SetBounds(0, 0, designed.right, designed.bottom);
    FitFileNameColumn(twin, ::MulDiv(program.OuterWidth(), kDesignDpi, dpi));
    twin.AppendRows(2);
    // Rows follow each other at their height plus the grid line between them.
    HeaderBottom = twin.GetRowRect(0).top;
    RowHeight = twin.GetRowRect(1).top - HeaderBottom;
    RECT check = twin.GetCellRect(5, 0);
    CheckX = (check.left + check.right) / 2;
    FileLeft = twin.GetCellRect(2, 0).left;
    RowsShown = (designed.bottom - HeaderBottom) / RowHeight;
  }
  // x is at 96 DPI, as the other members are.
  POINT Row(int shownIndex, int x) const {
    return {ScaleForDpi(x, Dpi),
            ScaleForDpi(HeaderBottom + shownIndex * RowHeight + RowHeight / 2, Dpi)};
  }
  POINT Check(int shownIndex) const { return Row(shownIndex, CheckX); }
  // The middle of the expand button of a row at that tree level.
  POINT TreeButton(int shownIndex, int level) const {
    return Row(shownIndex, FileLeft + TVxTreeColumn::kLevelIndent * level + 6);
  }
};

} // namespace

TEST(VarnoxTest, AUserFindsUnticksCleansAndLeaves) {
  TMachineFixture machine;
  // The window starts with the kinds of the last Find; this test starts from the layout's own.
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kRememberedKindsValue);
  TVarnoxWindow program;
  ASSERT_TRUE(program.Start()) << "Varnox.exe did not show its window";
  program.SavePicture(L"e2e_page0_types.bmp");

  // Only Chrome's caches are searched: the temp folders and the other browsers keep their files.
  const wchar_t* const others[] = {L"Temporary files",
                                   L"Mozilla Firefox Temporary Files",
                                   L"Microsoft Edge Temporary Files",
                                   L"Internet Explorer Temporary Files",
                                   L"Opera Temporary Files",
                                   L"Unity WebPlayer Temporary Files"};
  for (const wchar_t* box : others)
    program.Click(box);
  program.Click(L"Find");
  ASSERT_TRUE(program.WaitForText(L"Scanning has been finished.", 60000));

  // "Selected" right after the scan, without waiting for the summary's timer: every file found.
  uint64_t found = 0;
  for (const auto& [path, bytes] : machine.Written)
    if (path.find("\\Chrome\\") != std::string::npos) found += bytes.size();
  for (const auto& [path, bytes] : machine.WrittenWide)
    found += bytes.size();
  EXPECT_TRUE(program.WaitForText(L"Selected " + std::to_wstring(found / kMiB) + L" MB", 3000));

  // The Chrome group, collapsed, then its user rows in the order the users root lists them.
  TGridGeometry grid(program);
  const std::vector<std::string> users = TMachineFixture::Listed(TMachineFixture::kUsers, true);
  auto userIndex = [&](const std::string& name) {
    return int(std::find(users.begin(), users.end(), name) - users.begin());
  };
  const std::string& a = machine.Users()[0];
  const std::string& b = machine.Users()[1];
  ASSERT_LT(userIndex(a), int(users.size()));
  ASSERT_LT(userIndex(b), int(users.size()));
  program.ClickGrid(grid.TreeButton(0, 0));
  // The other user whole unticked, while every user is collapsed.
  program.ClickGrid(grid.Check(1 + userIndex(b)));
  // The first user expanded, collapsed and expanded again; then the list scrolled down.
  const int rowA = 1 + userIndex(a);
  // A click elsewhere between two on the button, so that no two make a double click.
  for (int click = 0; click < 3; ++click) {
    program.ClickGrid(grid.TreeButton(rowA, 1));
    program.ClickGrid(grid.Row(0, grid.CheckX / 2));
  }
  const std::vector<std::wstring> filesA =
      TMachineFixture::FilesInScanOrder(TMachineFixture::Wide(machine.Cache(a)));
  ASSERT_EQ(filesA.size(), 30u);
  // Two rows down, a click on the scroll bar's arrow each.
  ASSERT_TRUE(program.ScrollGridDown() && program.ScrollGridDown()) << "the list scrolls";
  const int top = 2;
  // One of the first user's small files, two rows below the top, unticked where it is shown.
  int keptRow = std::max(top + 2 - (rowA + 1), 0);
  while (keptRow < int(filesA.size()) &&
         filesA[size_t(keptRow)].find(L"\\g_") == std::wstring::npos)
    ++keptRow;
  ASSERT_LT(rowA + 1 + keptRow - top, grid.RowsShown) << "the file to keep is in view";
  const std::wstring keptA = filesA[size_t(keptRow)];
  program.ClickGrid(grid.Check(rowA + 1 + keptRow - top));
  program.SavePicture(L"e2e_page1_found.bmp");

  // What "Next" removes: the files still ticked.
  uint64_t expected = 0;
  for (const std::wstring& file : filesA) {
    auto wide = machine.WrittenWide.find(file);
    if (file != keptA)
      expected += wide != machine.WrittenWide.end()
                      ? wide->second.size()
                      : machine.Written.at(std::string(file.begin(), file.end())).size();
  }
  const std::wstring selected = L"Selected " + std::to_wstring(expected / kMiB) + L" MB";
  EXPECT_TRUE(program.WaitForText(selected, 25000)) << "the summary shows what Next removes";

  // Another program holds a ticked file open: it stays, and the log says so after the total.
  const std::string held = machine.Cache(a) + "f_2";
  HANDLE holder = ::CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  program.Click(L"Next");
  const std::wstring heldLine = std::wstring(held.begin(), held.end()) + L" in use";
  const bool logged = program.WaitForMemo(heldLine, 60000);
  const std::wstring log = program.MemoText();
  program.SavePicture(L"e2e_page2_deleted.bmp");
  ::CloseHandle(holder);
  ASSERT_TRUE(logged) << "the log names the file it had to leave";
  EXPECT_LT(log.find(L"Total cleaned space: "), log.find(L"Files that could not be removed:\r\n"));
  EXPECT_LT(log.find(L"Files that could not be removed:"), log.find(heldLine));

  for (const auto& [path, bytes] : machine.Written) {
    const std::wstring wide(path.begin(), path.end());
    const bool cleaned = path.rfind(machine.Cache(a), 0) == 0 && wide != keptA && path != held;
    if (path == held) {
      EXPECT_TRUE(machine.Intact(path)) << path;
    } else if (cleaned) {
      EXPECT_FALSE(TMachineFixture::Exists(path)) << path;
      EXPECT_NE(log.find(wide), std::wstring::npos) << path;
    } else {
      EXPECT_TRUE(machine.Intact(path)) << path;
      EXPECT_EQ(log.find(wide), std::wstring::npos) << path;
    }
  }
  // The log names every file as the list showed it, never in the file system's long form.
  for (const auto& [path, bytes] : machine.WrittenWide) {
    EXPECT_FALSE(TMachineFixture::ExistsWide(path)) << path;
    EXPECT_NE(log.find(path), std::wstring::npos) << path;
  }
  EXPECT_EQ(log.find(L"\\\\?\\"), std::wstring::npos);

  // Back twice to the first page; then a run over nothing and "Exit".
  program.Click(L"Back");
  ASSERT_TRUE(program.WaitForText(L"Next", 5000));
  program.Click(L"Back");
  ASSERT_TRUE(program.WaitForText(L"Find", 5000));
  program.Click(L"Google Chrome Temporary Files");
  program.Click(L"Find");
  // The status line still says the first scan finished: the button tells when this one has.
  ASSERT_TRUE(program.WaitForEnabled(L"Next", 30000));
  ASSERT_TRUE(program.WaitForText(L"Scanning has been finished.", 30000));
  program.Click(L"Next");
  ASSERT_TRUE(program.WaitForText(L"Exit", 30000));
  program.Click(L"Exit");
  EXPECT_EQ(program.WaitForExit(15000), 0);
  EXPECT_TRUE(machine.Intact(std::string(keptA.begin(), keptA.end())));
}

namespace {

// The display's scale as Wine gives it to a program when it starts: the user's
// "Control Panel\Desktop" LogPixels, which it reads before the machine's Hardware Profiles value.
// Put back as it was when the test ends.
class TDisplayScale {
public:
  explicit TDisplayScale(int dpi) {
    ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
    DWORD size = sizeof old_;
    had_ = ::RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_),
                              &size) == ERROR_SUCCESS;
    const DWORD value = DWORD(dpi);
    ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof value);
  }
  ~TDisplayScale() {
    if (had_)
      ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                       sizeof old_);
    else
      ::RegDeleteValueW(key_, L"LogPixels");
    ::RegCloseKey(key_);
  }
  TDisplayScale(const TDisplayScale&) = delete;
  TDisplayScale& operator=(const TDisplayScale&) = delete;

private:
  HKEY key_ = nullptr;
  DWORD old_ = 0;
  bool had_ = false;
};

// This test sees the program's windows in the screen's own pixels, as a per-monitor aware
// program does; an unaware one would be shown them scaled to 96 DPI.
void SeePhysicalPixels() {
  using TSetContext = HANDLE(WINAPI*)(HANDLE);
  auto set = reinterpret_cast<TSetContext>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
  if (set) set(reinterpret_cast<HANDLE>(-4)); // per monitor, version 2
}

// The frame of the main window's style at 96 DPI.
SIZE DesignedFrame() {
  using TAdjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  auto adjust = reinterpret_cast<TAdjust>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  RECT frame{0, 0, 0, 0};
  if (!adjust || !adjust(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0, kDesignDpi))
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// Every caption of the program's own controls fits its control: the text, in the layout's
// MS Sans Serif of height -11 at 96 DPI, measured at the program's DPI.
void ExpectCaptionsFit(const TVarnoxWindow& program, int dpi, const char* page) {
  HDC dc = ::GetDC(nullptr);
  HFONT font = ::CreateFontW(-::MulDiv(11, dpi, kDesignDpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif");
  HGDIOBJ old = ::SelectObject(dc, font);
  int checked = 0;
  for (const TVarnoxWindow::TShownText& shown : program.ShownTexts()) {
    if (shown.ClassName.find(L"TFx") == std::wstring::npos &&
        shown.ClassName.find(L"TLabel") == std::wstring::npos)
      continue;
    SIZE text{};
    ::GetTextExtentPoint32W(dc, shown.Text.c_str(), int(shown.Text.size()), &text);
    RECT client{};
    ::GetClientRect(shown.Window, &client);
    EXPECT_LE(text.cx, client.right)
        << page << ": " << std::string(shown.Text.begin(), shown.Text.end());
    EXPECT_LE(text.cy, client.bottom)
        << page << ": " << std::string(shown.Text.begin(), shown.Text.end());
    ++checked;
  }
  EXPECT_GE(checked, 2) << page;
  ::SelectObject(dc, old);
  ::DeleteObject(font);
  ::ReleaseDC(nullptr, dc);
}

class VarnoxScaleTest : public ::testing::TestWithParam<int> {};

} // namespace

// At 100%, 150% and 200% the window is the layout's size times the scale, its texts fit their
// controls, and the grid's boxes and tree buttons are where a person clicks them. A picture of
// each page is saved for a person to look at (e2e_<dpi>dpi_page*.bmp).
TEST_P(VarnoxScaleTest, TheWindowIsDrawnForTheDisplaysScale) {
  const int dpi = GetParam();
  SeePhysicalPixels();
  TMachineFixture machine;
  ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettingsKey, kRememberedKindsValue);
  TVarnoxWindow program;
  {
    TDisplayScale scale(dpi);
    ASSERT_TRUE(program.Start()) << "Varnox.exe did not show its window";
  }
  const std::wstring prefix = L"e2e_" + std::to_wstring(dpi) + L"dpi_";
  program.SavePicture(prefix + L"page0_types.bmp");
  const SIZE frame = DesignedFrame();
  const RECT client = program.ClientRect();
  EXPECT_NEAR(client.right, ::MulDiv(782 - frame.cx, dpi, kDesignDpi), 2);
  EXPECT_NEAR(client.bottom, ::MulDiv(465 - frame.cy, dpi, kDesignDpi), 2);
  ExpectCaptionsFit(program, dpi, "types");

  for (const wchar_t* box :
       {L"Temporary files", L"Mozilla Firefox Temporary Files", L"Microsoft Edge Temporary Files",
        L"Internet Explorer Temporary Files", L"Opera Temporary Files",
        L"Unity WebPlayer Temporary Files"})
    program.Click(box);
  program.Click(L"Find");
  ASSERT_TRUE(program.WaitForText(L"Scanning has been finished.", 60000));

  // The Chrome group expanded by its button; the first user unticked by the box on its row; the
  // second expanded by its button and its first file unticked: the second's other files are
  // what stays selected.
  TGridGeometry grid(program, dpi);
  const std::vector<std::string> users = TMachineFixture::Listed(TMachineFixture::kUsers, true);
  auto shownRow = [&](const std::string& name) {
    return 1 + int(std::find(users.begin(), users.end(), name) - users.begin());
  };
  const std::string& a = machine.Users()[0];
  const std::string& b = machine.Users()[1];
  ASSERT_LT(shownRow(b), grid.RowsShown - 1);
  program.ClickGrid(grid.TreeButton(0, 0));
  program.ClickGrid(grid.Check(shownRow(a)));
  program.ClickGrid(grid.TreeButton(shownRow(b), 1));
  program.ClickGrid(grid.Check(shownRow(b) + 1));
  const std::vector<std::wstring> filesB =
      TMachineFixture::FilesInScanOrder(TMachineFixture::Wide(machine.Cache(b)));
  uint64_t selected = 0;
  for (size_t i = 1; i < filesB.size(); ++i)
    selected += machine.Written.at(std::string(filesB[i].begin(), filesB[i].end())).size();
  EXPECT_TRUE(program.WaitForText(L"Selected " + std::to_wstring(selected / kMiB) + L" MB", 25000))
      << "each click hit the box or button it aimed at";
  program.SavePicture(prefix + L"page1_found.bmp");
  ExpectCaptionsFit(program, dpi, "found");

  program.Click(L"Next");
  ASSERT_TRUE(program.WaitForMemo(L"Total cleaned space: ", 60000));
  program.SavePicture(prefix + L"page2_deleted.bmp");
  ExpectCaptionsFit(program, dpi, "deleted");
  program.Click(L"Exit");
  EXPECT_EQ(program.WaitForExit(15000), 0);
}

INSTANTIATE_TEST_SUITE_P(AtEachScale, VarnoxScaleTest, ::testing::Values(96, 144, 192),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::to_string(info.param) + "dpi";
                         });
