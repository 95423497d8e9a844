// A bounded reader over untrusted bytes (datagrams, files).
//
// Every getter either succeeds and advances, or fails and leaves the cursor
// where it was. A nested element is read through a child cursor bounded to the
// element's length, so an inner decoder can never run past its parent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

class ByteCursor {
 public:
  ByteCursor() = default;
  ByteCursor(const void* data, size_t size)
      : begin_(static_cast<const uint8_t*>(data)), pos_(begin_), end_(begin_ + (data ? size : 0)) {}

  size_t remaining() const { return static_cast<size_t>(end_ - pos_); }
  size_t offset() const { return static_cast<size_t>(pos_ - begin_); }
  bool empty() const { return pos_ == end_; }
  const uint8_t* position() const { return pos_; }

  bool peek_u8(uint8_t& out) const {
    if (remaining() < 1) return false;
    out = *pos_;
    return true;
  }
  bool get_u8(uint8_t& out) {
    if (!peek_u8(out)) return false;
    ++pos_;
    return true;
  }
  // Network byte order.
  bool get_be16(uint16_t& out) {
    if (remaining() < 2) return false;
    out = static_cast<uint16_t>((pos_[0] << 8) | pos_[1]);
    pos_ += 2;
    return true;
  }
  bool get_be32(uint32_t& out) {
    if (remaining() < 4) return false;
    out = (uint32_t(pos_[0]) << 24) | (uint32_t(pos_[1]) << 16) | (uint32_t(pos_[2]) << 8) | uint32_t(pos_[3]);
    pos_ += 4;
    return true;
  }
  bool get_le16(uint16_t& out) {
    if (remaining() < 2) return false;
    out = static_cast<uint16_t>(pos_[0] | (pos_[1] << 8));
    pos_ += 2;
    return true;
  }
  bool get_le32(uint32_t& out) {
    if (remaining() < 4) return false;
    out = uint32_t(pos_[0]) | (uint32_t(pos_[1]) << 8) | (uint32_t(pos_[2]) << 16) | (uint32_t(pos_[3]) << 24);
    pos_ += 4;
    return true;
  }
  // Copies exactly n bytes, or nothing.
  bool get_bytes(void* out, size_t n) {
    if (remaining() < n) return false;
    if (n) std::memcpy(out, pos_, n);
    pos_ += n;
    return true;
  }
  // Hands out a view of the next n bytes without copying.
  bool get_view(const uint8_t*& out, size_t n) {
    if (remaining() < n) return false;
    out = pos_;
    pos_ += n;
    return true;
  }
  bool skip(size_t n) {
    if (remaining() < n) return false;
    pos_ += n;
    return true;
  }
  // Takes the next n bytes as a cursor of their own and moves past them.
  bool child(size_t n, ByteCursor& out) {
    if (remaining() < n) return false;
    out = ByteCursor(pos_, n);
    pos_ += n;
    return true;
  }
  // A cursor over the next n bytes that leaves this one where it is.
  bool peek_child(size_t n, ByteCursor& out) const {
    if (remaining() < n) return false;
    out = ByteCursor(pos_, n);
    return true;
  }

 private:
  const uint8_t* begin_ = nullptr;
  const uint8_t* pos_ = nullptr;
  const uint8_t* end_ = nullptr;
};
