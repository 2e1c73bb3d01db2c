#pragma once
// Byte streams: TStream is the interface component properties are streamed through,
// TMemoryStream an in-memory stream that grows as it is written.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/exception.h"

namespace fw {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to count bytes; returns how many were read.
  virtual size_t Read(void* buffer, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t count) = 0;
  // Returns the new position; positions are clamped to [0, Size()].
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size() const = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
  int64_t Remaining() { return Size() - Position(); }

  // Exactly count bytes, or EReadError with the position unchanged.
  void ReadBuffer(void* buffer, size_t count);
  void WriteBuffer(const void* buffer, size_t count);
  // Little-endian 32-bit signed integer.
  int32_t ReadInt32();
  void WriteInt32(int32_t value);
  // Copies count bytes from source (all of it from its start when count is 0);
  // fails with EReadError when source has fewer.
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }

  void SetSize(int64_t size);
  void Clear();
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  const uint8_t* Memory() const { return bytes_.data(); }

 private:
  std::vector<uint8_t> bytes_;
  size_t position_ = 0;
};

}  // namespace fw
