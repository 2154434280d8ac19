#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

// The first characters that many texts of one column begin with (the folder of a path, a type
// name repeated on every row), kept once per column. Heads live as long as the column's set of
// heads: texts point at them without owning them.
class TTextHeads {
public:
  // The kept copy of text, made on first use.
  const std::wstring* Intern(std::wstring_view text);
  // Only when no text refers to a head any more.
  void Clear() noexcept;

private:
  struct THash {
    using is_transparent = void;
    size_t operator()(std::wstring_view text) const noexcept {
      return std::hash<std::wstring_view>()(text);
    }
  };
  std::unordered_set<std::wstring, THash, std::equal_to<>> heads_;
  // Rows arrive folder by folder: the head used last is usually the one asked for next.
  const std::wstring* last_ = nullptr;
};

// A cell's text in two machine words and no heap block for the common short texts. Forms:
// - up to 2 * sizeof(void*) - 1 characters, each below 256, held in the words themselves;
// - a shared head (see TTextHeads) followed by a tail of its own;
// - a tail of its own alone, one byte per character when every character is below 256.
// A found-files row's path is its folder's head and a short name; its size texts fit in place.
class TCellText {
public:
  TCellText() noexcept = default;
  ~TCellText() { Release(); }
  TCellText(TCellText&& other) noexcept : head_(other.head_), tail_(other.tail_) {
    other.head_ = other.tail_ = 0;
  }
  TCellText& operator=(TCellText&& other) noexcept;
  TCellText(const TCellText&) = delete;
  TCellText& operator=(const TCellText&) = delete;

  // Replaces the text; head, when given, holds the text's first characters. On a failed
  // allocation the old text stays.
  void Assign(std::wstring_view text, const std::wstring* head = nullptr);
  std::wstring Get() const;
  size_t Length() const;
  // Writes the Length() characters to out.
  void CopyTo(wchar_t* out) const;

private:
  struct TBlock;
  static constexpr size_t kInline = 2 * sizeof(uintptr_t) - 1;
  bool IsInline() const { return (head_ & 1) != 0; }
  const unsigned char* Bytes() const { return reinterpret_cast<const unsigned char*>(this); }
  const TBlock* Tail() const { return reinterpret_cast<const TBlock*>(tail_); }
  const std::wstring* Head() const { return reinterpret_cast<const std::wstring*>(head_); }
  void Release() noexcept;

  // Inline form: the low byte of head_ is length * 2 + 1 (the set bit marks the form; heads and
  // blocks are aligned, so their addresses have it clear), the characters follow in the bytes of
  // both words (the byte order of both targets puts the low byte first).
  uintptr_t head_ = 0;
  uintptr_t tail_ = 0;
};
