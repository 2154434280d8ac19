#include "main/FileWiper.h"

#include "CleanFixture.h"
#include "TestFolder.h"
#include "main/CleanRandom.h"

#include <gtest/gtest.h>

TEST(FileWiperTest, ThreeGeneratorPassesOverTheWholeLengthThenGone) {
  TTestFolder folder;
  // Around the 4096-byte buffer and the 1 MiB write size, where a piecewise write could slip.
  const size_t lengths[] = {0, 1, 4095, 4096, 4097, (3u << 20) + 4100};
  for (size_t length : lengths) {
    std::string path = folder.MakeFile(std::to_string(length) + ".tmp", std::string(length, 'x'));
    TRecordingMachine machine;
    TFileWiper wiper(machine);
    wiper.TrustFolders({LocateSearchedFolder(machine, W(folder.Path()))});
    uint32_t state = CleanRandom().State();
    EXPECT_EQ(wiper.OverwriteAndDeleteFile(W(path)), wrRemoved) << length;
    EXPECT_FALSE(Exists(path)) << length;
    ASSERT_EQ(machine.Files.size(), 1u) << length;
    const TRecordedFile& file = *machine.Files[0];
    EXPECT_EQ(file.Flushes, 3) << length;
    ASSERT_EQ(file.Passes.size(), 3u) << length;
    for (const std::string& pass : file.Passes)
      EXPECT_TRUE(pass == ExpectedPass(state, length)) << length;
    // The next file carries on from where this one left the generator.
    EXPECT_EQ(CleanRandom().State(), state) << length;
  }
}

TEST(FileWiperTest, ReadOnlyHiddenAndSystemFilesAreCleaned) {
  TTestFolder folder;
  const DWORD kinds[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
                         FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
  TRecordingMachine machine;
  TFileWiper wiper(machine);
  wiper.TrustFolders({LocateSearchedFolder(machine, W(folder.Path()))});
  for (DWORD attributes : kinds) {
    std::string path = folder.MakeFile(std::to_string(attributes) + ".tmp", "data", attributes);
    ASSERT_EQ(::GetFileAttributesA(path.c_str()) & attributes, attributes);
    EXPECT_EQ(wiper.OverwriteAndDeleteFile(W(path)), wrRemoved) << attributes;
    EXPECT_FALSE(Exists(path)) << attributes;
    EXPECT_EQ(machine.Files.back()->Passes.size(), 3u) << attributes;
  }
}

TEST(FileWiperTest, FileHeldOpenOrMissingIsLeftAsItWas) {
  TTestFolder folder;
  TRecordingMachine machine;
  TFileWiper wiper(machine);
  wiper.TrustFolders({LocateSearchedFolder(machine, W(folder.Path()))});
  for (DWORD attributes : {DWORD(0), DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)}) {
    std::string path = folder.MakeFile(std::to_string(attributes) + ".held", "keep me", attributes);
    DWORD before = ::GetFileAttributesA(path.c_str());
    HANDLE held = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(wiper.OverwriteAndDeleteFile(W(path)), wrInUse) << attributes;
    ::CloseHandle(held);
    EXPECT_EQ(ReadWholeFile(path), "keep me");
    EXPECT_EQ(::GetFileAttributesA(path.c_str()), before);
  }
  EXPECT_EQ(wiper.OverwriteAndDeleteFile(W(folder / "never.tmp")), wrGone);
  EXPECT_EQ(wiper.OverwriteAndDeleteFile(W(folder / "never\\a.tmp")), wrGone);
  // The system refusing the open, which Wine never does for the prefix's owner.
  std::string refused = folder.MakeFile("refused.tmp", "keep me");
  machine.OpenErrors[TFakeMachine::Lower(W(refused))] = ERROR_ACCESS_DENIED;
  EXPECT_EQ(wiper.OverwriteAndDeleteFile(W(refused)), wrAccessDenied);
  EXPECT_EQ(ReadWholeFile(refused), "keep me");
  EXPECT_TRUE(machine.Files.empty());
  EXPECT_EQ(machine.DeletedCount(), 0u);
}

TEST(FileWiperTest, AFileThatCannotBeOverwrittenStaysWithItsAttributes) {
  TTestFolder folder;
  TRecordingMachine machine;
  TFileWiper wiper(machine);
  wiper.TrustFolders({LocateSearchedFolder(machine, W(folder.Path()))});
  for (TWriteFault fault : {wfWriteFails, wfShortWrite, wfFlushFails}) {
    for (DWORD attributes : {DWORD(0), DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)}) {
      std::string path =
          folder.MakeFile(std::to_string(fault) + "_" + std::to_string(attributes) + ".tmp",
                          std::string(5000, 'k'), attributes);
      const DWORD before = ::GetFileAttributesA(path.c_str());
      machine.WriteFault = fault;
      EXPECT_EQ(wiper.OverwriteAndDeleteFile(W(path)), wrNotOverwritten) << fault;
      EXPECT_TRUE(Exists(path)) << fault;
      EXPECT_EQ(::GetFileAttributesA(path.c_str()), before) << fault;
    }
  }
  EXPECT_EQ(machine.DeletedCount(), 0u);
}

TEST(FileWiperTest, OnlyFilesBelowASearchedFolderAreTouched) {
  TTestFolder folder;
  std::string inside = folder.MakeFile("searched\\sub\\in.tmp", "in");
  std::string beside = folder.MakeFile("searchedX\\out.tmp", "out");
  std::string above = folder.MakeFile("top.tmp", "top");
  TRecordingMachine machine;
  TFileWiper wiper(machine);
  // As the scan hands it over, with a trailing backslash, and in another letter case.
  wiper.TrustFolders({LocateSearchedFolder(machine, W(folder / "SEARCHED\\")),
                      LocateSearchedFolder(machine, W(folder / "gone"))});
  EXPECT_EQ(wiper.OverwriteAndDeleteFile(W(beside)), wrChanged);
  EXPECT_EQ(wiper.OverwriteAndDeleteFile(W(above)), wrChanged);
  EXPECT_EQ(ReadWholeFile(beside), "out");
  EXPECT_EQ(ReadWholeFile(above), "top");
  EXPECT_EQ(wiper.OverwriteAndDeleteFile(W(inside)), wrRemoved);
  EXPECT_FALSE(Exists(inside));
  // Nothing searched: nothing is cleaned.
  std::string other = folder.MakeFile("searched\\again.tmp", "again");
  wiper.TrustFolders({});
  EXPECT_EQ(wiper.OverwriteAndDeleteFile(W(other)), wrChanged);
  EXPECT_EQ(ReadWholeFile(other), "again");
}
