// A fixed-size set of field indexes, kept inside an item image so the image
// stays a plain record that is copied byte for byte.
#pragma once

#include <cstdint>

struct FieldMarks {
  static constexpr int kCapacity = 128;
  uint8_t Bits[kCapacity / 8];

  template <typename Field>
  void Set(Field field) {
    const int n = static_cast<int>(field);
    Bits[n / 8] = static_cast<uint8_t>(Bits[n / 8] | (1u << (n % 8)));
  }
  template <typename Field>
  void Clear(Field field) {
    const int n = static_cast<int>(field);
    Bits[n / 8] = static_cast<uint8_t>(Bits[n / 8] & ~(1u << (n % 8)));
  }
  template <typename Field>
  bool Test(Field field) const {
    const int n = static_cast<int>(field);
    return (Bits[n / 8] >> (n % 8)) & 1u;
  }
  bool Any() const {
    for (uint8_t b : Bits)
      if (b) return true;
    return false;
  }
};
