#include "framework/stream.h"

#include <algorithm>
#include <cstring>

namespace fw {

void TStream::ReadBuffer(void* buffer, size_t count) {
  const int64_t at = Position();
  if (Read(buffer, count) != count) {
    SetPosition(at);  // a failed read takes nothing
    throw EReadError("Stream read error");
  }
}

void TStream::WriteBuffer(const void* buffer, size_t count) {
  if (Write(buffer, count) != count) throw Exception("Stream write error");
}

int32_t TStream::ReadInt32() {
  uint8_t b[4];
  ReadBuffer(b, 4);
  return static_cast<int32_t>(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) |
                              (uint32_t(b[3]) << 24));
}

void TStream::WriteInt32(int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  WriteBuffer(b, 4);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  if (count < 0 || count > source.Remaining()) throw EReadError("Stream read error");
  uint8_t chunk[4096];
  int64_t left = count;
  while (left > 0) {
    const size_t n = static_cast<size_t>(std::min<int64_t>(left, sizeof chunk));
    source.ReadBuffer(chunk, n);
    WriteBuffer(chunk, n);
    left -= static_cast<int64_t>(n);
  }
  return count;
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  const size_t n = std::min(count, bytes_.size() - position_);
  if (n) std::memcpy(buffer, bytes_.data() + position_, n);
  position_ += n;
  return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
  if (count == 0) return 0;
  if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
  std::memcpy(bytes_.data() + position_, buffer, count);
  position_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = 0;
  if (origin == TSeekOrigin::soCurrent) base = static_cast<int64_t>(position_);
  if (origin == TSeekOrigin::soEnd) base = Size();
  position_ = static_cast<size_t>(std::clamp<int64_t>(base + offset, 0, Size()));
  return static_cast<int64_t>(position_);
}

void TMemoryStream::SetSize(int64_t size) {
  bytes_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  position_ = std::min(position_, bytes_.size());
}

void TMemoryStream::Clear() {
  bytes_.clear();
  position_ = 0;
}

}  // namespace fw
