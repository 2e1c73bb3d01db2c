#pragma once
// The LZH codec of skin packages: LZSS over a 4096-byte ring window whose literals and match
// lengths are coded with one adaptive Huffman tree and whose match positions carry a fixed
// prefix code for their upper six bits.
//
// Stream layout: a signed 32-bit little-endian expanded length, then the code bits, most
// significant bit first within each byte. Reading past the end of the code yields 0 bits.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace skin {

// The codec's own error: a length it refuses, or memory it cannot get.
class ElzhException : public std::exception {
 public:
  explicit ElzhException(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }

 private:
  std::string message_;
};

// How hard the compressor looks for matches. The defaults give the smallest output;
// {4096, false} is a plain greedy longest-match parse.
struct LzhCompressOptions {
  int max_chain = 1024;  // candidates examined per position
  bool lazy = true;      // defer a match by one byte when the next position has a longer one
};

class TLZH {
 public:
  static constexpr int kWindowSize = 4096;
  static constexpr int kLookAhead = 60;  // longest match
  static constexpr int kThreshold = 2;   // a match is at least 3 bytes long
  static constexpr int kSymbolCount = 256 + kLookAhead - kThreshold;  // 314
  static constexpr int kTreeSize = 2 * kSymbolCount - 1;              // 627
  static constexpr int kRoot = kTreeSize - 1;                         // 626
  static constexpr int kMaxFreq = 0x8000;
  static constexpr int kInitialPosition = kWindowSize - kLookAhead;  // 4036

  // Expanded lengths above this are refused whatever the code holds.
  static constexpr int64_t kMaxExpandedLength = int64_t(64) << 20;

  // Expands `source` into `destination` (cleared first). A length of 0 or below gives
  // nothing. A truncated code is not an error: missing bits read as 0, as the format
  // demands, and expansion runs until the length is reached; a final match is copied whole,
  // so the output may exceed the stated length by up to 59 bytes.
  // A stream shorter than 4 bytes reads its missing length bytes as 0.
  // Throws ElzhException when the length exceeds ExpandLimit(source.size()) (far more than
  // the code could produce), or when memory for the output cannot be had.
  void Expand(std::span<const uint8_t> source, std::vector<uint8_t>& destination);

  // Compresses `source` into `destination` (cleared first) in the format above.
  // Throws ElzhException for inputs of 2 GiB or more (the length field is signed 32-bit).
  void Compress(std::span<const uint8_t> source, std::vector<uint8_t>& destination,
                const LzhCompressOptions& options = {});

  // The largest expanded length accepted for a stream of `stream_size` bytes: every
  // symbol takes at least one bit and yields at most 60 bytes, so 60 bytes per code bit
  // (plus one match of slack), and never more than kMaxExpandedLength.
  static int64_t ExpandLimit(size_t stream_size);
};

// Expands one stream a piece at a time: each ExpandTo carries on where the last one stopped
// (the tree, the bit position and the output so far, which is also the match window), so
// the bytes are those of a whole expansion however the calls divide it. Symbols are decoded
// whole, so a call may write a match past the length it asked for. TLZH::Expand is one
// ExpandTo to the stated length.
class LzhExpander {
 public:
  // Bytes the output needs past Length(): a final match may run up to kLookAhead - 1 bytes
  // past the length, and a match is copied as a block of 64 bytes or 8 at a time.
  static constexpr size_t kOutputSlack = TLZH::kLookAhead + 7;

  // Reads the stated length of `source`, which is not copied and must outlive the
  // expander. Throws ElzhException as TLZH::Expand does: for a length above
  // TLZH::ExpandLimit(source.size()) or when memory for the tables cannot be had.
  explicit LzhExpander(std::span<const uint8_t> source);
  ~LzhExpander();
  LzhExpander(const LzhExpander&) = delete;
  LzhExpander& operator=(const LzhExpander&) = delete;

  // The stated length, or 0 for a length of 0 or below.
  int64_t Length() const { return length_; }
  // The bytes the output buffer must hold: Length() + kOutputSlack, or 0 for no output.
  size_t OutputSize() const { return length_ > 0 ? size_t(length_) + kOutputSlack : 0; }
  // A buffer of OutputSize() bytes, not initialised; ElzhException if there is no memory.
  std::unique_ptr<uint8_t[]> NewOutput() const;

  // Expands into `out` until it holds at least min(length, Length()) bytes and returns
  // how many it holds (more than asked when a match ran past; at most Length() + 59).
  // `out` is the same buffer of OutputSize() bytes at every call, the bytes of earlier
  // calls left as they were: later matches read them. Never throws.
  int64_t ExpandTo(uint8_t* out, int64_t length);
  // The bytes written so far.
  int64_t Expanded() const { return count_; }

 private:
  struct State;
  std::unique_ptr<State> state_;
  int64_t length_ = 0;
  int64_t count_ = 0;
};

// Convenience forms of TLZH::Expand and TLZH::Compress.
std::vector<uint8_t> LzhExpand(std::span<const uint8_t> source);
std::vector<uint8_t> LzhCompress(std::span<const uint8_t> source,
                                 const LzhCompressOptions& options = {});

}  // namespace skin
