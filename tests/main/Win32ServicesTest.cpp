#include <gtest/gtest.h>

#include <map>

#include "main/FakeMachine.h"
#include "main/TestFolder.h"
#include "main/Win32Services.h"

namespace {

std::map<std::string, TFindEntry> ListAll(TSystemServices& services, const std::string& pattern) {
  std::map<std::string, TFindEntry> entries;
  TFindEntry entry;
  auto listing = services.FindFirst(W(pattern), entry);
  if (!listing) return entries;
  do
    entries[WideToAnsi(entry.Name)] = entry;
  while (listing->FindNext(entry));
  return entries;
}

bool SameText(std::string a, std::string b) {
  return TFakeMachine::Lower(std::move(a)) == TFakeMachine::Lower(std::move(b));
}

} // namespace

TEST(Win32Services, ListsEveryEntryWithAttributesAndSize) {
  TTestFolder tree;
  tree.MakeFile("plain.bin", std::string(5000, 'x'));
  tree.MakeFile("hidden.txt", "h", FILE_ATTRIBUTE_HIDDEN);
  tree.MakeFile("system.txt", "s", FILE_ATTRIBUTE_SYSTEM);
  tree.MakeFolder("sub");
  TWin32Services services;

  auto entries = ListAll(services, tree / "*.*");
  ASSERT_EQ(entries.size(), 6u) << "., .., three files and one folder";
  EXPECT_TRUE(entries.count(".") && entries.count(".."));
  EXPECT_EQ(entries["plain.bin"].Size, 5000u);
  EXPECT_FALSE(entries["plain.bin"].Attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_TRUE(entries["hidden.txt"].Attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(entries["system.txt"].Attributes & FILE_ATTRIBUTE_SYSTEM);
  EXPECT_TRUE(entries["sub"].Attributes & FILE_ATTRIBUTE_DIRECTORY);

  TFindEntry untouched{L"keep", 7, 9};
  EXPECT_EQ(services.FindFirst(W(tree / "missing\\*.*"), untouched), nullptr);
  EXPECT_EQ(untouched.Name, L"keep");
}

TEST(Win32Services, SizeKeepsTheHighHalf) {
  TTestFolder tree;
  std::string path = tree / "big.bin";
  // A sparse file: the length is set without writing 5 GiB.
  HANDLE raw = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(raw, INVALID_HANDLE_VALUE);
  LARGE_INTEGER end;
  end.QuadPart = 5368709120ll;
  ::SetFilePointerEx(raw, end, nullptr, FILE_BEGIN);
  ::SetEndOfFile(raw);
  ::CloseHandle(raw);

  TWin32Services services;
  EXPECT_EQ(ListAll(services, tree / "*.*")["big.bin"].Size, 5368709120ull);
  auto file = services.OpenExisting(W(path));
  ASSERT_TRUE(file);
  uint64_t length = 0;
  ASSERT_TRUE(file->Length(length));
  EXPECT_EQ(length, 5368709120ull);
}

TEST(Win32Services, OpenWriteFlushDelete) {
  TTestFolder tree;
  std::string path = tree.MakeFile("victim.dat", "0123456789");
  TWin32Services services;
  EXPECT_EQ(services.OpenExisting(W(tree / "absent.dat")), nullptr);

  auto file = services.OpenExisting(W(path));
  ASSERT_TRUE(file);
  EXPECT_EQ(services.OpenExisting(W(path)), nullptr) << "a second open must fail: no sharing";
  uint64_t length = 0;
  ASSERT_TRUE(file->Length(length));
  EXPECT_EQ(length, 10u);
  ASSERT_TRUE(file->SetPosition(4));
  EXPECT_EQ(file->Write("ABC", 3), 3u);
  EXPECT_TRUE(file->Flush());
  EXPECT_TRUE(SameText(WideToAnsi(file->FinalPath()), path)) << WideToAnsi(file->FinalPath());
  EXPECT_EQ(file->LinkCount(), 1u);
  file->Close();
  EXPECT_EQ(file->Write("x", 1), 0u) << "a closed file takes no writes";

  HANDLE raw = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(raw, INVALID_HANDLE_VALUE);
  char content[16] = {};
  DWORD read = 0;
  ::ReadFile(raw, content, sizeof(content), &read, nullptr);
  ::CloseHandle(raw);
  EXPECT_EQ(std::string(content, read), "0123ABC789") << "no truncation, bytes in place";

  file = services.OpenExisting(W(path));
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->Delete());
  file->Close();
  EXPECT_EQ(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32Services, HardLinkIsCounted) {
  TTestFolder tree;
  std::string path = tree.MakeFile("linked.dat");
  ASSERT_TRUE(::CreateHardLinkA((tree / "twin.dat").c_str(), path.c_str(), nullptr));
  TWin32Services services;
  auto file = services.OpenExisting(W(path));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->LinkCount(), 2u);
}

TEST(Win32Services, AttributesSetAndReadThroughTheHandle) {
  TTestFolder tree;
  std::string path = tree.MakeFile("flags.txt");
  TWin32Services services;
  const DWORD flags = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  auto file = services.OpenAttributes(W(path));
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->SetAttributes(flags));
  EXPECT_EQ(file->Attributes() & flags, flags);
  EXPECT_EQ(::GetFileAttributesA(path.c_str()) & flags, flags);
  // Held for its attributes only, the file still opens for writing beside it.
  ASSERT_TRUE(file->SetAttributes(0));
  EXPECT_EQ(::GetFileAttributesA(path.c_str()) & flags, 0u);
  EXPECT_TRUE(services.OpenExisting(W(path)));
  EXPECT_EQ(services.OpenAttributes(W(tree / "absent.txt")), nullptr);
}

TEST(Win32Services, WindowsDirectoryAndShellVersion) {
  TWin32Services services;
  char expected[MAX_PATH];
  UINT n = ::GetWindowsDirectoryA(expected, MAX_PATH);
  EXPECT_EQ(services.WindowsDirectory(), W(std::string(expected, n)));
  EXPECT_FALSE(services.WindowsDirectory().empty());

  DWORD version = services.GetFileVersionMS(L"shell32.dll");
  EXPECT_GE(version, 0x40048u) << "the system's shell is far newer than 4.72";
  TTestFolder tree;
  EXPECT_EQ(services.GetFileVersionMS(W(tree.MakeFile("plain.txt"))), 0u);
  EXPECT_EQ(services.GetFileVersionMS(W(tree / "absent.dll")), 0u);
}

TEST(Win32Services, ShellTypeNameIsFreshPerFile) {
  TTestFolder tree;
  TWin32Services services;
  std::wstring known = services.ShellTypeName(W(tree.MakeFile("notes.txt")));
  EXPECT_FALSE(known.empty());
  EXPECT_LE(known.size(), 80u);
  // A failing query right after a successful one must not repeat the earlier answer.
  EXPECT_EQ(services.ShellTypeName(W(tree / "absent.txt")), L"");
}

TEST(Win32Services, FileTypeChangesAreNoticed) {
  // A key that does not exist cannot be watched, and then every question says "changed"; a
  // fresh prefix has not made the user's Explorer key yet.
  for (const wchar_t* path :
       {L"Software\\Classes", L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer"}) {
    HKEY made = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_READ, nullptr, &made,
                                nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(made);
  }
  TWin32Services services;
  EXPECT_TRUE(services.FileTypesMayHaveChanged()) << "nothing is known before the first call";
  // Other programs touch the watched keys too (the shell's own records), and a notice may come
  // after the registry call returns: each answer is waited for.
  auto answers = [&](bool changed) {
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 15000; ::Sleep(10))
      if (services.FileTypesMayHaveChanged() == changed) return true;
    return false;
  };
  EXPECT_TRUE(answers(false)) << "a quiet registry reports no change";
  // A class key of the test's own comes and goes; each is a change.
  const std::wstring key =
      L"Software\\Classes\\.varnoxtest" + std::to_wstring(::GetCurrentProcessId());
  HKEY created = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &created, nullptr),
            ERROR_SUCCESS);
  ::RegCloseKey(created);
  EXPECT_TRUE(answers(true));
  EXPECT_TRUE(answers(false));
  ::RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
  EXPECT_TRUE(answers(true));
}

TEST(Win32Services, ProcessSnapshotShowsThisProgram) {
  TWin32Services services;
  std::vector<TProcessEntry> processes;
  ASSERT_TRUE(services.ProcessSnapshot(processes));
  char self[MAX_PATH];
  std::string path(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
  std::string name = path.substr(path.find_last_of('\\') + 1);
  bool found = false;
  for (const TProcessEntry& p : processes)
    if (p.ProcessId == ::GetCurrentProcessId()) {
      found = true;
      EXPECT_TRUE(SameText(WideToAnsi(p.ExeFile), name)) << WideToAnsi(p.ExeFile);
    }
  EXPECT_TRUE(found);
  EXPECT_FALSE(services.TerminateProcessById(0xFFFFFFF0u)) << "no such process";
}

TEST(FakeMachine, RecycleBinAndMessages) {
  TFakeMachine machine;
  uint64_t bytes = 123, items = 4;
  machine.RecycleBinResult = E_FAIL;
  EXPECT_EQ(machine.QueryRecycleBin(bytes, items), E_FAIL);
  EXPECT_EQ(bytes, 123u) << "a failed query leaves the size alone";
  machine.RecycleBinResult = S_OK;
  machine.RecycleBinBytes = 5368709120ull;
  machine.RecycleBinItems = 7;
  EXPECT_EQ(machine.QueryRecycleBin(bytes, items), S_OK);
  EXPECT_EQ(bytes, 5368709120ull);
  EXPECT_EQ(items, 7u);

  machine.Shell32Missing = true;
  machine.EmptyRecycleBin(nullptr);
  ASSERT_EQ(machine.Messages.size(), 1u);
  EXPECT_EQ(machine.Messages[0].Text, L"Failed to load Shell32.dll.");
  EXPECT_EQ(machine.Messages[0].Type & MB_TYPEMASK, UINT(MB_OK));
  EXPECT_EQ(machine.RecycleBinEmptied, 0);
  machine.Shell32Missing = false;
  machine.EmptyRecycleBin(nullptr);
  EXPECT_EQ(machine.RecycleBinEmptied, 1);

  machine.Shell32Version = 0x40047;
  EXPECT_EQ(machine.GetFileVersionMS(L"SHELL32.DLL"), 0x40047u);
}
