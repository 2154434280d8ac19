#include "grid/CellText.h"

#include "grid/SmallPool.h"

#include <algorithm>
#include <cstring>

// The characters follow the header: one byte each when narrow, else UTF-16 code units.
struct TCellText::TBlock {
  uint32_t length;
  uint32_t narrow;
  size_t Size() const { return Footprint(length, narrow != 0); }
  static size_t Footprint(size_t length, bool narrow) {
    return sizeof(TBlock) + length * (narrow ? 1 : sizeof(wchar_t));
  }
  const unsigned char* Narrow() const { return reinterpret_cast<const unsigned char*>(this + 1); }
  const wchar_t* Wide() const { return reinterpret_cast<const wchar_t*>(this + 1); }
  void CopyTo(wchar_t* out) const {
    if (narrow)
      std::copy(Narrow(), Narrow() + length, out);
    else
      std::memcpy(out, Wide(), length * sizeof(wchar_t));
  }
};

namespace {

bool AllNarrow(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 256; });
}

} // namespace

const std::wstring* TTextHeads::Intern(std::wstring_view text) {
  if (last_ && *last_ == text) return last_;
  auto found = heads_.find(text);
  if (found == heads_.end()) found = heads_.emplace(text).first;
  last_ = &*found;
  return last_;
}

void TTextHeads::Clear() noexcept {
  heads_.clear();
  last_ = nullptr;
}

TCellText& TCellText::operator=(TCellText&& other) noexcept {
  if (this != &other) {
    Release();
    head_ = other.head_;
    tail_ = other.tail_;
    other.head_ = other.tail_ = 0;
  }
  return *this;
}

void TCellText::Release() noexcept {
  if (!IsInline() && tail_) TSmallPool::Free(reinterpret_cast<void*>(tail_), Tail()->Size());
  head_ = tail_ = 0;
}

void TCellText::Assign(std::wstring_view text, const std::wstring* head) {
  if (head && head->empty()) head = nullptr;
  const std::wstring_view tail = head ? text.substr(head->size()) : text;
  if (text.empty()) {
    Release();
    return;
  }
  const bool narrow = AllNarrow(tail);
  if (!head && narrow && tail.size() <= kInline) {
    Release();
    unsigned char* bytes = reinterpret_cast<unsigned char*>(this);
    bytes[0] = static_cast<unsigned char>(tail.size() * 2 + 1);
    for (size_t i = 0; i < tail.size(); ++i)
      bytes[1 + i] = static_cast<unsigned char>(tail[i]);
    return;
  }
  TBlock* block = nullptr;
  if (!tail.empty()) {
    // Made before the old text goes, so that a failure leaves it.
    block = static_cast<TBlock*>(TSmallPool::Allocate(TBlock::Footprint(tail.size(), narrow)));
    block->length = static_cast<uint32_t>(tail.size());
    block->narrow = narrow ? 1 : 0;
    if (narrow) {
      auto* out = reinterpret_cast<unsigned char*>(block + 1);
      for (size_t i = 0; i < tail.size(); ++i)
        out[i] = static_cast<unsigned char>(tail[i]);
    } else {
      std::memcpy(block + 1, tail.data(), tail.size() * sizeof(wchar_t));
    }
  }
  Release();
  head_ = reinterpret_cast<uintptr_t>(head);
  tail_ = reinterpret_cast<uintptr_t>(block);
}

size_t TCellText::Length() const {
  if (IsInline()) return Bytes()[0] >> 1;
  return (head_ ? Head()->size() : 0) + (tail_ ? Tail()->length : 0);
}

void TCellText::CopyTo(wchar_t* out) const {
  if (IsInline()) {
    const unsigned char* bytes = Bytes();
    std::copy(bytes + 1, bytes + 1 + (bytes[0] >> 1), out);
    return;
  }
  if (head_) out = std::copy(Head()->begin(), Head()->end(), out);
  if (tail_) Tail()->CopyTo(out);
}

std::wstring TCellText::Get() const {
  std::wstring text(Length(), L'\0');
  CopyTo(text.data());
  return text;
}
