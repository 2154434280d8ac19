#pragma once
#include <windows.h>

#include "FakeMachine.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// What the clean tests share: a machine that records every byte the cleaner writes, pass by
// pass, and helpers for real files in the prefix.

// One file as the cleaner opened it: the image of each pass (what the writes after the position
// went back to 0 put down) and how many times it was flushed.
struct TRecordedFile {
  std::string Path;
  std::vector<std::string> Passes;
  int Flushes = 0;
  bool Deleted = false;
};

// What a failing disk does to the overwrite: refuse a write, write one byte less than asked, or
// fail the flush.
enum TWriteFault { wfNone, wfWriteFails, wfShortWrite, wfFlushFails };

class TRecordingFile : public TOpenFile {
public:
  TRecordingFile(std::unique_ptr<TOpenFile> real, TRecordedFile& record,
                 std::function<void()> beforeDelete, TWriteFault fault)
      : real_(std::move(real)), record_(record), beforeDelete_(std::move(beforeDelete)),
        fault_(fault) {}
  DWORD Write(const void* data, DWORD count) override {
    if (fault_ == wfWriteFails) return 0;
    if (fault_ == wfShortWrite) --count;
    const char* bytes = static_cast<const char*>(data);
    if (image_.size() < position_ + count) image_.resize(position_ + count);
    image_.replace(position_, count, bytes, count);
    position_ += count;
    return real_->Write(data, count);
  }
  bool SetPosition(uint64_t position) override {
    position_ = size_t(position);
    return real_->SetPosition(position);
  }
  bool Length(uint64_t& length) override { return real_->Length(length); }
  bool Flush() override {
    record_.Passes.push_back(image_);
    image_.clear();
    ++record_.Flushes;
    return real_->Flush() && fault_ != wfFlushFails;
  }
  std::wstring FinalPath() override { return real_->FinalPath(); }
  DWORD LinkCount() override { return real_->LinkCount(); }
  DWORD Attributes() override { return real_->Attributes(); }
  bool SetAttributes(DWORD attributes) override { return real_->SetAttributes(attributes); }
  bool Delete() override {
    if (beforeDelete_) beforeDelete_();
    record_.Deleted = real_->Delete();
    return record_.Deleted;
  }
  void Close() override { real_->Close(); }

private:
  std::unique_ptr<TOpenFile> real_;
  TRecordedFile& record_;
  std::function<void()> beforeDelete_;
  TWriteFault fault_;
  std::string image_;
  size_t position_ = 0;
};

class TRecordingMachine : public TFakeMachine {
public:
  // Every file the cleaner opened for writing, in order.
  std::vector<std::unique_ptr<TRecordedFile>> Files;
  // Runs right before a file is marked for deletion, after every check: where a race would put
  // a swapped link.
  std::function<void()> BeforeDelete;
  // Played by every file opened from now on.
  TWriteFault WriteFault = wfNone;

  std::unique_ptr<TOpenFile> OpenExisting(const std::wstring& path) override {
    std::unique_ptr<TOpenFile> real = TFakeMachine::OpenExisting(path);
    if (!real) return nullptr;
    Files.push_back(std::make_unique<TRecordedFile>());
    Files.back()->Path = WideToAnsi(path);
    return std::make_unique<TRecordingFile>(std::move(real), *Files.back(), BeforeDelete,
                                            WriteFault);
  }
  size_t DeletedCount() const {
    size_t count = 0;
    for (const auto& file : Files)
      count += file->Deleted;
    return count;
  }
};

// The overwrite bytes computed apart from the program: state = state * 134775813 + 1 modulo
// 2^32 in 64-bit arithmetic, the byte is the state's top 8 bits.
inline std::string LcgBytes(uint32_t& state, size_t count) {
  std::string bytes(count, '\0');
  for (char& b : bytes) {
    state = uint32_t((uint64_t(state) * 134775813ull + 1ull) % 4294967296ull);
    b = char(state / 16777216u);
  }
  return bytes;
}

// A pass as it must land on disk: one 4096-byte buffer repeated over the file's length.
inline std::string ExpectedPass(uint32_t& state, size_t length) {
  std::string buffer = LcgBytes(state, 4096), pass;
  while (pass.size() < length)
    pass += buffer;
  pass.resize(length);
  return pass;
}

inline std::string ReadWholeFile(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  std::string content;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got)
    content.append(buffer, got);
  ::CloseHandle(file);
  return content;
}

inline bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
