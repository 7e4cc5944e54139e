#include "base/ByteIO.h"

#include <algorithm>
#include <cstring>

#include "base/SsfError.h"

namespace ssf {

void CheckRange(size_t size, size_t offset, size_t count, const char* what) {
  if (offset > size || count > size - offset) {
    throw SsfError(std::string(what) + ": нужно " + std::to_string(count) + " байт по смещению " +
                   std::to_string(offset) + ", а всего " + std::to_string(size) + " байт");
  }
}

uint16_t ReadU16LE(ByteSpan d, size_t o) {
  CheckRange(d.size(), o, 2, "чтение");
  return static_cast<uint16_t>(d[o] | (d[o + 1] << 8));
}

uint16_t ReadU16BE(ByteSpan d, size_t o) {
  CheckRange(d.size(), o, 2, "чтение");
  return static_cast<uint16_t>((d[o] << 8) | d[o + 1]);
}

uint32_t ReadU32LE(ByteSpan d, size_t o) {
  CheckRange(d.size(), o, 4, "чтение");
  return static_cast<uint32_t>(d[o]) | (static_cast<uint32_t>(d[o + 1]) << 8) |
         (static_cast<uint32_t>(d[o + 2]) << 16) | (static_cast<uint32_t>(d[o + 3]) << 24);
}

int32_t ReadI32LE(ByteSpan d, size_t o) { return static_cast<int32_t>(ReadU32LE(d, o)); }

void WriteU16LE(std::span<uint8_t> d, size_t o, uint16_t v) {
  CheckRange(d.size(), o, 2, "запись");
  d[o] = static_cast<uint8_t>(v);
  d[o + 1] = static_cast<uint8_t>(v >> 8);
}

void WriteU32LE(std::span<uint8_t> d, size_t o, uint32_t v) {
  CheckRange(d.size(), o, 4, "запись");
  for (int i = 0; i < 4; ++i) d[o + i] = static_cast<uint8_t>(v >> (8 * i));
}

void WriteI32LE(std::span<uint8_t> d, size_t o, int32_t v) {
  WriteU32LE(d, o, static_cast<uint32_t>(v));
}

void AppendU16LE(Bytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void AppendU16BE(Bytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void AppendU32LE(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteReader::Seek(size_t pos) {
  CheckRange(data_.size(), pos, 0, what_);
  pos_ = pos;
}

uint8_t ByteReader::U8() {
  CheckRange(data_.size(), pos_, 1, what_);
  return data_[pos_++];
}

uint16_t ByteReader::U16LE() {
  CheckRange(data_.size(), pos_, 2, what_);
  uint16_t v = ReadU16LE(data_, pos_);
  pos_ += 2;
  return v;
}

uint16_t ByteReader::U16BE() {
  CheckRange(data_.size(), pos_, 2, what_);
  uint16_t v = ReadU16BE(data_, pos_);
  pos_ += 2;
  return v;
}

uint32_t ByteReader::U32LE() {
  CheckRange(data_.size(), pos_, 4, what_);
  uint32_t v = ReadU32LE(data_, pos_);
  pos_ += 4;
  return v;
}

int32_t ByteReader::I32LE() { return static_cast<int32_t>(U32LE()); }

ByteSpan ByteReader::Take(size_t count) {
  CheckRange(data_.size(), pos_, count, what_);
  ByteSpan s = data_.subspan(pos_, count);
  pos_ += count;
  return s;
}

void ByteStream::Write(ByteSpan bytes) {
  if (bytes.empty()) return;
  if (bytes_.size() < pos_ + bytes.size()) bytes_.resize(pos_ + bytes.size());
  std::memcpy(bytes_.data() + pos_, bytes.data(), bytes.size());
  pos_ += bytes.size();
}

}  // namespace ssf
