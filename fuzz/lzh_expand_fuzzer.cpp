// LZH expansion of arbitrary bytes: no crash, bounded output, the same bytes as the plain
// second implementation and as an expansion in two steps, and a compression round trip of
// the input itself.
// A stated length the stream could hold but above 1 KiB is cut to its low 10 bits: long
// outputs only repeat the same decoding steps, and at a few hundred kilobytes an input they
// made the run some thirty times slower. Lengths the codec refuses are left as they are.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "skin/store/lzh_codec.h"
#include "tests/skin/store/reference_lzh.h"

namespace {
constexpr uint32_t kLengthCap = 1u << 10;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* raw, size_t size) {
  std::vector<uint8_t> copy(raw, raw + size);
  if (size >= 4) {
    const uint32_t bits =
        uint32_t(raw[0]) | uint32_t(raw[1]) << 8 | uint32_t(raw[2]) << 16 | uint32_t(raw[3]) << 24;
    const int32_t stated = int32_t(bits);
    if (stated > int32_t(kLengthCap) && stated <= skin::TLZH::ExpandLimit(size)) {
      const uint32_t cut = bits & (kLengthCap - 1);
      for (int i = 0; i < 4; ++i) copy[i] = uint8_t(cut >> (8 * i));
    }
  }
  const uint8_t* data = copy.data();
  const std::span<const uint8_t> input(data, size);
  std::vector<uint8_t> out;
  bool expanded = false;
  try {
    skin::TLZH().Expand(input, out);
    expanded = true;
  } catch (const skin::ElzhException&) {
  }
  if (expanded) {
    // Missing length bytes read as 0.
    uint32_t length_bits = 0;
    for (size_t i = 0; i < 4 && i < size; ++i) length_bits |= uint32_t(data[i]) << (8 * i);
    const int32_t length = int32_t(length_bits);
    const size_t want = length > 0 ? size_t(length) : 0;
    if (out.size() < want || out.size() >= want + (want ? 60 : 1)) std::abort();
    // The same bytes when expanded in two steps, split where the input's last byte says.
    skin::LzhExpander expander(input);
    std::vector<uint8_t> stepped(expander.OutputSize());
    if (size > 0) expander.ExpandTo(stepped.data(), int64_t(want * data[size - 1] / 255));
    stepped.resize(size_t(expander.ExpandTo(stepped.data(), expander.Length())));
    if (stepped != out) std::abort();
    if (out.size() <= (size_t(1) << 16)) {  // the plain decoder is slow under ASan
      const std::vector<uint8_t> bytes(data, data + size);
      if (reference_lzh::Expand(bytes) != out) std::abort();
    }
  }
  const std::vector<uint8_t> packed = skin::LzhCompress(input);
  if (skin::LzhExpand(packed) != std::vector<uint8_t>(data, data + size)) std::abort();
  return 0;
}
