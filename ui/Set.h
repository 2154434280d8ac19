#pragma once
#include <cstdint>
#include <initializer_list>

// A set of enumerators, stored as bits: bit n is the n-th value of the enumeration.
template <typename E, typename Bits = uint32_t> class TSet {
public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values)
      bits_ |= Bit(v);
  }
  static constexpr TSet FromInt(Bits bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr Bits ToInt() const { return bits_; }

  constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSet& Include(E v) {
    bits_ |= Bit(v);
    return *this;
  }
  constexpr TSet& Exclude(E v) {
    bits_ &= ~Bit(v);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromInt(bits_ | o.bits_); }
  constexpr TSet operator-(TSet o) const { return FromInt(bits_ & ~o.bits_); }
  constexpr TSet operator*(TSet o) const { return FromInt(bits_ & o.bits_); }
  constexpr bool operator==(const TSet&) const = default;

private:
  static constexpr Bits Bit(E v) { return Bits(1) << static_cast<unsigned>(v); }
  Bits bits_ = 0;
};
