// Little-endian loads and stores over byte buffers: how every binary log layout is read and
// written. Structures are never cast onto bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/text_field.h"

namespace quorvel {

/// Read access to `Size` bytes of one binary layout held elsewhere (a record in a read
/// buffer), with the same bounds-checked fields as ByteLayout: a field that would reach past
/// the bytes is read as zero. The number accessors are always inlined whole: otherwise gcc
/// splits off their unchecked part, folds the identical parts of two layout sizes together and
/// warns about the folded copy.
template <std::size_t Size>
class ByteView {
 public:
  explicit ByteView(const std::uint8_t* bytes) : bytes(bytes) {}

  [[gnu::always_inline]] std::uint8_t U8(std::size_t at) const {
    return Fits(at, 1) ? bytes[at] : 0;
  }
  [[gnu::always_inline]] std::uint16_t U16(std::size_t at) const {
    return Fits(at, 2) ? static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8) : 0;
  }
  [[gnu::always_inline]] std::uint32_t U32(std::size_t at) const {
    if (!Fits(at, 4)) return 0;
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
  }
  std::int16_t I16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }

  /// Text of a NUL-padded field of `width` bytes: up to its first NUL, never past the field.
  std::string_view Text(std::size_t at, std::size_t width) const {
    if (!Fits(at, width)) return {};
    return FieldText(reinterpret_cast<const char*>(bytes + at), width);
  }
  /// Text of a NUL- or blank-padded field of `width` bytes: up to its first NUL, without its
  /// trailing blanks, never past the field.
  std::string_view TrimmedText(std::size_t at, std::size_t width) const {
    if (width <= 16 && Fits(at, 16)) {
      return ShortFieldTextWithoutTrailingBlanks(reinterpret_cast<const char*>(bytes + at), width);
    }
    return WithoutTrailingBlanks(Text(at, width));
  }
  /// Copies `count` raw bytes out.
  void GetBytes(std::size_t at, std::uint8_t* out, std::size_t count) const {
    for (std::size_t i = 0; i < count; ++i) out[i] = U8(at + i);
  }

 private:
  static constexpr bool Fits(std::size_t at, std::size_t width) {
    return at <= Size && width <= Size - at;
  }
  const std::uint8_t* bytes;
};

/// A fixed-size byte buffer of one binary layout (a file header or a record) with bounds-checked
/// field access: a field that would reach past the buffer is read as zero and not written.
/// Its fields are read through its ByteView.
template <std::size_t Size>
class ByteLayout {
 public:
  ByteLayout() { Clear(); }
  void Clear() {
    for (auto& byte : bytes) byte = 0;
  }
  std::uint8_t* data() { return bytes; }
  const std::uint8_t* data() const { return bytes; }
  static constexpr std::size_t size() { return Size; }

  ByteView<Size> View() const { return ByteView<Size>(bytes); }

  [[gnu::always_inline]] std::uint8_t U8(std::size_t at) const { return View().U8(at); }
  [[gnu::always_inline]] std::uint16_t U16(std::size_t at) const { return View().U16(at); }
  [[gnu::always_inline]] std::uint32_t U32(std::size_t at) const { return View().U32(at); }
  [[gnu::always_inline]] std::int16_t I16(std::size_t at) const { return View().I16(at); }
  [[gnu::always_inline]] std::int32_t I32(std::size_t at) const { return View().I32(at); }

  [[gnu::always_inline]] void PutU8(std::size_t at, std::uint8_t value) {
    if (Fits(at, 1)) bytes[at] = value;
  }
  [[gnu::always_inline]] void PutU16(std::size_t at, std::uint16_t value) {
    if (!Fits(at, 2)) return;
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
  }
  [[gnu::always_inline]] void PutU32(std::size_t at, std::uint32_t value) {
    if (!Fits(at, 4)) return;
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  void PutI16(std::size_t at, std::int16_t value) { PutU16(at, static_cast<std::uint16_t>(value)); }
  void PutI32(std::size_t at, std::int32_t value) { PutU32(at, static_cast<std::uint32_t>(value)); }

  std::string_view Text(std::size_t at, std::size_t width) const { return View().Text(at, width); }
  /// Writes `text` into a NUL-padded field of `width` bytes; a text that fills the whole width
  /// has no terminator.
  void PutText(std::size_t at, std::size_t width, std::string_view text) {
    if (!Fits(at, width)) return;
    CopyCut(reinterpret_cast<char*>(bytes + at), width, text, Termination::kUnterminated);
  }
  /// Copies `count` raw bytes in or out.
  void GetBytes(std::size_t at, std::uint8_t* out, std::size_t count) const {
    View().GetBytes(at, out, count);
  }
  void PutBytes(std::size_t at, const std::uint8_t* in, std::size_t count) {
    if (!Fits(at, count)) return;
    for (std::size_t i = 0; i < count; ++i) bytes[at + i] = in[i];
  }

 private:
  static constexpr bool Fits(std::size_t at, std::size_t width) {
    return at <= Size && width <= Size - at;
  }
  std::uint8_t bytes[Size];
};

}  // namespace quorvel
