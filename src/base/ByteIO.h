#pragma once
// Little-endian reads and writes with bounds checks. Every length taken from a file
// goes through here, so a short or corrupt file gives an SsfError, never a stray read.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ssf {

using Bytes = std::vector<uint8_t>;
using ByteSpan = std::span<const uint8_t>;

// Throws SsfError("<what>: нужно <n> байт по смещению <offset>, есть <size>") when
// [offset, offset + count) does not lie inside a buffer of `size` bytes.
void CheckRange(size_t size, size_t offset, size_t count, const char* what);

uint16_t ReadU16LE(ByteSpan data, size_t offset);
uint16_t ReadU16BE(ByteSpan data, size_t offset);
uint32_t ReadU32LE(ByteSpan data, size_t offset);
int32_t ReadI32LE(ByteSpan data, size_t offset);

// Writes into an existing range; the buffer must already be large enough.
void WriteU16LE(std::span<uint8_t> data, size_t offset, uint16_t value);
void WriteU32LE(std::span<uint8_t> data, size_t offset, uint32_t value);
void WriteI32LE(std::span<uint8_t> data, size_t offset, int32_t value);

// Appends to a growing buffer.
void AppendU16LE(Bytes& out, uint16_t value);
void AppendU16BE(Bytes& out, uint16_t value);
void AppendU32LE(Bytes& out, uint32_t value);

// Sequential reader over a span with the same checks.
class ByteReader {
 public:
  explicit ByteReader(ByteSpan data, const char* what = "данные") : data_(data), what_(what) {}
  size_t Position() const { return pos_; }
  size_t Remaining() const { return data_.size() - pos_; }
  void Seek(size_t pos);
  uint8_t U8();
  uint16_t U16LE();
  uint16_t U16BE();
  uint32_t U32LE();
  int32_t I32LE();
  ByteSpan Take(size_t count);

 private:
  ByteSpan data_;
  const char* what_;
  size_t pos_ = 0;
};

// A growable byte stream with a position, as the editor keeps its open container.
class ByteStream {
 public:
  ByteStream() = default;
  explicit ByteStream(Bytes bytes) : bytes_(std::move(bytes)) {}
  Bytes& Data() { return bytes_; }
  const Bytes& Data() const { return bytes_; }
  size_t Size() const { return bytes_.size(); }
  size_t Position() const { return pos_; }
  void SetPosition(size_t pos) { pos_ = pos; }
  // Writes at the position, growing the stream as needed, and moves the position on.
  void Write(ByteSpan bytes);
  void Clear() { bytes_.clear(); pos_ = 0; }

 private:
  Bytes bytes_;
  size_t pos_ = 0;
};

}  // namespace ssf
