#include "skin/store/lzh_codec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace skin {

namespace {

constexpr int kT = TLZH::kTreeSize;
constexpr int kR = TLZH::kRoot;
constexpr int kN = TLZH::kSymbolCount;
constexpr int kWindowMask = TLZH::kWindowSize - 1;

const char kNoMemory[] = "LZH : Cannot get memory for dictionary tables";

constexpr int kRunScan = 8;  // frequencies RunEnd compares at a time

// The adaptive Huffman tree shared by both directions. The node order, the swap rule and
// the rebuild must match every other implementation of the format bit for bit, so the
// table widths are those of the format (16-bit frequencies wrap as they would there).
struct AdaptiveTree {
  // [kT] on are sentinels above every frequency; they end the scans of RunEnd.
  uint16_t freq[kT + kRunScan];
  static constexpr int kSpare = kT + kN;  // a prnt entry nothing reads
  uint16_t prnt[kT + kN + 1];  // parent of a node; [kT + symbol] is the node holding a leaf
  uint16_t son[kT + 1];        // first child of an internal node, or kT + symbol for a leaf;
                               // [kT] is never written, it keeps son[c + 1] inside the table

  void Start() {
    for (int i = 0; i < kN; ++i) {
      freq[i] = 1;
      son[i] = uint16_t(i + kT);
      prnt[i + kT] = uint16_t(i);
    }
    for (int i = 0, j = kN; j <= kR; i += 2, ++j) {
      freq[j] = uint16_t(freq[i] + freq[i + 1]);
      son[j] = uint16_t(i);
      prnt[i] = prnt[i + 1] = uint16_t(j);
    }
    std::fill(freq + kT, freq + kT + kRunScan, uint16_t(0xFFFF));
    son[kT] = 0;
    prnt[kR] = 0;
  }

  // Halves the frequencies (rounding up) and rebuilds the tree from the leaves.
  void Rebuild() {
    int j = 0;
    for (int i = 0; i < kT; ++i) {
      if (son[i] >= kT) {
        freq[j] = uint16_t((freq[i] + 1) / 2);
        son[j] = son[i];
        ++j;
      }
    }
    for (int i = 0, j2 = kN; j2 < kT; i += 2, ++j2) {
      const unsigned f = unsigned(freq[i]) + freq[i + 1];
      int k = j2 - 1;
      while (f < freq[k]) --k;
      ++k;
      const size_t moved = size_t(j2 - k);
      std::memmove(&freq[k + 1], &freq[k], moved * sizeof(freq[0]));
      freq[k] = uint16_t(f);
      std::memmove(&son[k + 1], &son[k], moved * sizeof(son[0]));
      son[k] = uint16_t(i);
    }
    for (int i = 0; i < kT; ++i) {
      const int k = son[i];
      if (k >= kT) {
        prnt[k] = uint16_t(i);
      } else {
        prnt[k] = prnt[k + 1] = uint16_t(i);
      }
    }
  }

  // The last node of the run of nodes of frequency f that holds `from`. The frequencies
  // never decrease along the node order, so the nodes after `from` that have frequency f are
  // the ones before the first that has not: counting them a few at a time, without a branch
  // per node, finds the end of a run of any length (a fresh tree holds 314 ones).
  int RunEnd(int from, unsigned f) const {
    int end = from;
    // Most runs end within the four nodes after `from` (two thirds of them at the first,
    // in bitmaps that hardly compress): one 64-bit load and a count of trailing zeros find
    // that end sooner than the vector compare below, and the swap, whose stores the next
    // symbol's loads may wait for, follows sooner.
    if constexpr (std::endian::native == std::endian::little) {
      uint64_t next;
      std::memcpy(&next, freq + end + 1, sizeof next);
      const uint64_t differ = next ^ (uint64_t(f) * 0x0001000100010001u);
      if (differ != 0) return end + std::countr_zero(differ) / 16;
      end += 4;
    }
#if defined(__SSE2__)
    const __m128i want = _mm_set1_epi16(short(f));
    for (;;) {
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(freq + end + 1));
      const unsigned same = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(next, want)));
      if (same != 0xFFFF) return end + __builtin_ctz(~same) / 2;
      end += kRunScan;
    }
#else
    for (;;) {
      int same = 0;
      for (int i = 1; i <= kRunScan; ++i) same += freq[end + i] == f;
      end += same;
      if (same < kRunScan) return end;
    }
#endif
  }

  // Node c has just been counted up to k, past the node after it: moves its subtree to the
  // last node of the run of its old frequency, whose subtree comes to c, and returns that
  // node.
  int Promote(int c, uint16_t k) {
    const int l = RunEnd(c + 1, k - 1u);
    freq[c] = freq[l];
    freq[l] = k;
    // A leaf has one entry in prnt, an internal node's two children have two; the second
    // write of a leaf goes to the spare entry, so that which of the two a node is costs no
    // branch (one the processor could not foresee).
    const int i = son[c];
    const int j = son[l];
    prnt[i] = uint16_t(l);
    prnt[i < kT ? i + 1 : kSpare] = uint16_t(l);
    prnt[j] = uint16_t(c);
    prnt[j < kT ? j + 1 : kSpare] = uint16_t(c);
    son[l] = uint16_t(i);
    son[c] = uint16_t(j);
    return l;
  }

  // Counts from node c up to the root.
  void CountUp(int c) {
    do {
      const uint16_t k = ++freq[c];
      if (k > freq[c + 1]) c = Promote(c, k);
      c = prnt[c];
    } while (c != 0);
  }

  void Update(int symbol) {
    if (freq[kR] == TLZH::kMaxFreq) Rebuild();
    CountUp(prnt[symbol + kT]);
  }
};

// Reads code bits most significant first; past the end of the input every bit is 0.
class BitReader {
 public:
  BitReader(const uint8_t* begin, const uint8_t* end) : p_(begin), end_(end) {}

  // Makes at least 32 bits available to Peek.
  void Fill() {
    if (count_ < 32) Refill();
  }

  // The same, topping the buffer up whatever it holds while 8 input bytes remain. That puts
  // a load between one code and the next, which costs more than the test of the count
  // where codes come in lengths the processor learns (symbols) and less where it cannot
  // foresee the test (after match positions, which take 9 to 14 bits).
  void FillAlways() {
    if (end_ - p_ >= 8) {
      TopUp();
    } else {
      Fill();
    }
  }

  // The next n (1..32) bits as a number, first bit highest; Fill first.
  unsigned Peek(int n) const { return unsigned(buffer_ >> (64 - n)); }
  void Skip(int n) {
    buffer_ <<= n;
    count_ -= n;
  }

  unsigned Bit() {
    if (count_ == 0) Refill();
    const unsigned bit = unsigned(buffer_ >> 63);
    buffer_ <<= 1;
    --count_;
    return bit;
  }

 private:
  // Takes the whole bytes that fit under the count_ bits held (leaving 56 to 63). The bits
  // below those are the input's next ones too, or zero, so OR-ing them in again later
  // changes nothing. Needs 8 bytes of input; count_ is below 64 whenever it runs (only the
  // byte-wise ending below reaches 64, and no top-up follows it).
  void TopUp() {
    uint64_t word;
    std::memcpy(&word, p_, 8);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    buffer_ |= word >> count_;
    p_ += (63 - count_) >> 3;
    count_ |= 56;
  }

  // Leaves at least 56 bits in the buffer.
  void Refill() {
    if (end_ - p_ >= 8) {
      TopUp();
      return;
    }
    while (count_ <= 56) {
      const uint64_t byte = p_ < end_ ? *p_++ : 0;
      buffer_ |= byte << (56 - count_);
      count_ += 8;
    }
  }

  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t buffer_ = 0;
  int count_ = 0;  // valid bits at the top of buffer_
};

// Decodes symbols with the adaptive tree, a node at a time only below its first kLookupBits
// levels: the lookup takes the next kLookupBits code bits to the node they lead to within
// those levels (a leaf, or a node at the last level) and how many of them it used.
//
// It depends only on the children of the nodes above the last level (the open nodes): a swap
// that involves one of those renews the lookup under the two nodes swapped, a rebuild renews
// all of it.
class SymbolDecoder {
 public:
  void Start() {
    tree_.Start();
    MakeLookup();
  }

  int Decode(BitReader& bits) {
    bits.Fill();
    const unsigned entry = lookup_[bits.Peek(kLookupBits)];
    bits.Skip(int(entry >> kNodeBits));
    // The walk ends at the node that holds the leaf; the update starts there. Looking that
    // node up in prnt instead would read an entry the previous symbol's swap may have just
    // written, at an address known only once that swap has found its run's end, and the
    // processor then holds the whole update back until it has.
    int node = int(entry & kNodeMask);
    int c = tree_.son[node];
    while (c < kT) {
      node = c + int(bits.Bit());
      c = tree_.son[node];
    }
    Update(node);
    return c - kT;
  }

 private:
  static constexpr int kLookupBits = 7;
  static constexpr int kNodeBits = 10;  // kT < 1 << kNodeBits
  static constexpr unsigned kNodeMask = (1u << kNodeBits) - 1;
  // place_ of an open node: its depth + 1 and the first code (of kLookupBits bits) that
  // passes through it; 0 for every other node.
  static constexpr unsigned kDepthMask = 15;
  static constexpr int kCodeShift = 4;
  static_assert(kT <= int(kNodeMask) && kLookupBits + kCodeShift <= 16 &&
                kLookupBits < int(kDepthMask));

  // Counts up from `leaf`, the node holding the symbol just decoded.
  void Update(int leaf) {
    AdaptiveTree& t = tree_;
    if (t.freq[kR] == TLZH::kMaxFreq) {
      const int code = t.son[leaf];  // kT + symbol
      t.Rebuild();
      MakeLookup();
      leaf = t.prnt[code];
    }
    // The leaf's level is written out on its own, ahead of the loop over the levels above.
    // Those keep counting nodes the previous symbol has just counted (the ones near the
    // root), so the processor learns to hold their loads back behind that symbol's stores;
    // the leaf's loads seldom meet such a store, and as separate instructions they are not
    // held back with the others (expansion about 5 % faster on inputs that hardly
    // compress). The root is never promoted (the sentinel after it is above every
    // frequency), so its count needs neither the compare nor a parent and leaves the chain.
    int c = CountAt(leaf);
    while (c != kR) c = CountAt(c);
    ++t.freq[kR];
  }

  // Counts node c up and returns the node to count next: its parent, or the parent of the
  // node its subtree has just moved to. Written into each caller, as a call per level would
  // cost more than the level.
  [[gnu::always_inline]] inline int CountAt(int c) {
    AdaptiveTree& t = tree_;
    const uint16_t k = ++t.freq[c];
    if (k > t.freq[c + 1]) {
      const int l = t.Promote(c, k);
      if (place_[c] | place_[l]) Renew(c, l);
      c = l;
    }
    return t.prnt[c];
  }

  void MakeLookup() {
    std::fill(std::begin(place_), std::end(place_), uint16_t(0));
    place_[kR] = 1;
    Enter(tree_.son[kR], 1, 0);
    Enter(tree_.son[kR] + 1, 1, 1);
  }

  // Enters `node`, reached by the `depth` bits of `code`, and what the lookup reaches under
  // it.
  void Enter(int node, int depth, unsigned code) {
    const unsigned first = code << (kLookupBits - depth);
    if (depth == kLookupBits) {
      lookup_[first] = uint16_t(unsigned(kLookupBits) << kNodeBits | unsigned(node));
      return;
    }
    place_[node] = uint16_t(first << kCodeShift | unsigned(depth + 1));
    const int son = tree_.son[node];
    if (son < kT) {
      Enter(son, depth + 1, code << 1);
      Enter(son + 1, depth + 1, code << 1 | 1);
      return;
    }
    const uint16_t entry = uint16_t(unsigned(depth) << kNodeBits | unsigned(node));
    std::fill(lookup_ + first, lookup_ + first + (1u << (kLookupBits - depth)), entry);
  }

  // After the subtrees under nodes a and b have been swapped. Two leaves leave the shape as
  // it was: the lookup leads to nodes, not to symbols.
  void Renew(int a, int b) {
    const bool leaf_a = tree_.son[a] >= kT;
    const bool leaf_b = tree_.son[b] >= kT;
    if (leaf_a && leaf_b) return;
    const unsigned depth_a = place_[a] & kDepthMask;
    if (depth_a != 0 && depth_a == (place_[b] & kDepthMask)) {
      // Two open nodes of one depth: what the lookup held under each now lies under the
      // other, the same levels down, but for a leaf's entries, which name the node itself;
      // the open nodes that moved take the codes of where they are now.
      const int depth = int(depth_a) - 1;
      const unsigned span = 1u << (kLookupBits - depth);
      uint16_t* const under_a = lookup_ + (place_[a] >> kCodeShift);
      uint16_t* const under_b = lookup_ + (place_[b] >> kCodeShift);
      std::swap_ranges(under_a, under_a + span, under_b);
      const unsigned skip = unsigned(depth) << kNodeBits;
      if (leaf_a) std::fill(under_a, under_a + span, uint16_t(skip | unsigned(a)));
      if (leaf_b) std::fill(under_b, under_b + span, uint16_t(skip | unsigned(b)));
      if (depth + 1 < kLookupBits) {
        Recode(a);
        Recode(b);
      }
      return;
    }
    Unplace(a);
    Unplace(b);
    Replace(a);
    Replace(b);
  }

  // Clears the places under `node`. They are where the open levels were in the subtree it
  // now holds: its top, so the walk stops at the first node without one.
  void Unplace(int node) {
    const int son = tree_.son[node];
    if (son >= kT) return;
    for (int child = son; child < son + 2; ++child) {
      if (place_[child] == 0) continue;
      place_[child] = 0;
      Unplace(child);
    }
  }

  // Gives the open nodes under `node` the codes their places there have.
  void Recode(int node) {
    const int son = tree_.son[node];
    if (son >= kT) return;
    const unsigned place = place_[node];
    const int depth = int(place & kDepthMask) - 1;
    for (int bit = 0; bit < 2; ++bit) {
      if (place_[son + bit] == 0) continue;
      const unsigned first = (place >> kCodeShift) | unsigned(bit) << (kLookupBits - depth - 1);
      place_[son + bit] = uint16_t(first << kCodeShift | unsigned(depth + 2));
      Recode(son + bit);
    }
  }

  void Replace(int node) {
    const unsigned place = place_[node];
    if (place == 0) return;
    const int depth = int(place & kDepthMask) - 1;
    Enter(node, depth, (place >> kCodeShift) >> (kLookupBits - depth));
  }

  AdaptiveTree tree_;
  uint16_t lookup_[1 << kLookupBits];
  uint16_t place_[kT];
};

// Upper six bits of a match position -> the first byte of its code and the code's length.
struct PositionCode {
  uint8_t first_byte;
  uint8_t length;
};

constexpr PositionCode EncodeUpper(unsigned u) {
  if (u < 1) return {0x00, 3};
  if (u < 4) return {uint8_t(0x20 + (u - 1) * 16), 4};
  if (u < 12) return {uint8_t(0x50 + (u - 4) * 8), 5};
  if (u < 24) return {uint8_t(0x90 + (u - 12) * 4), 6};
  if (u < 48) return {uint8_t(0xC0 + (u - 24) * 2), 7};
  return {uint8_t(0xF0 + (u - 48)), 8};
}

// For every first byte b: upper six bits in the low byte, code length in the high byte.
struct PositionTable {
  uint16_t entry[256];
  constexpr PositionTable() : entry() {
    for (unsigned u = 0; u < 64; ++u) {
      const PositionCode code = EncodeUpper(u);
      const unsigned span = 1u << (8 - code.length);
      for (unsigned b = code.first_byte; b < code.first_byte + span; ++b)
        entry[b] = uint16_t(u | (code.length << 8));
    }
  }
};
constexpr PositionTable kPositionTable;

int32_t ReadLength(std::span<const uint8_t> source) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= uint32_t(i < source.size() ? source[i] : 0) << (8 * i);
  return int32_t(value);
}

// The byte a match reads from before `position` bytes have been written: window bytes
// 0..4035 start as spaces, 4036..4095 as zeros.
inline uint8_t InitialWindowByte(int64_t position) { return position < -4036 ? 0 : 0x20; }

// Copies a match of `length` bytes from `distance` bytes back to out + count, byte by byte
// in effect: a match closer than its length repeats what it has just written. Up to
// kCopyBlock - length bytes past the match are overwritten (later symbols write them again).
//
// Most matches start at least their length back: those copy a whole block, so no loop
// count varies with the length. Runs with a period under 8 (a colour repeated along a row)
// store an 8-byte pattern again and again, rather than reading back bytes just written,
// which the processor cannot hand from a store still in flight to a load straddling it.
constexpr int kCopyBlock = 64;
static_assert(LzhExpander::kOutputSlack >= size_t(kCopyBlock - 1) &&
              LzhExpander::kOutputSlack >= size_t(TLZH::kLookAhead + 7) &&
              kCopyBlock >= TLZH::kLookAhead);

inline void CopyMatch(uint8_t* out, int64_t count, int distance, int length) {
  uint8_t* const to = out + count;
  int64_t from = count - distance;
  if (from < 0) {
    for (int k = 0; k < length; ++k, ++from)
      to[k] = from >= 0 ? out[from] : InitialWindowByte(from);
    return;
  }
  if (distance >= length) {
    uint8_t block[kCopyBlock];
    std::memcpy(block, to - distance, kCopyBlock);
    std::memcpy(to, block, kCopyBlock);
    return;
  }
  if (distance >= 8) {
    for (int k = 0; k < length; k += 8) std::memcpy(to + k, to + k - distance, 8);
    return;
  }
  uint64_t pattern = 0;  // the period's bytes in memory order, repeated to fill 8
  for (int k = 0; k < distance; ++k) {
    const uint64_t byte = to[k - distance];
    pattern |= std::endian::native == std::endian::little ? byte << (8 * k) : byte << (56 - 8 * k);
  }
  for (int width = distance; width < 8; width *= 2) {
    pattern |= std::endian::native == std::endian::little ? pattern << (8 * width)
                                                          : pattern >> (8 * width);
  }
  const int step = 8 - 8 % distance;  // whole periods in 8 bytes
  for (int k = 0; k < length; k += step) std::memcpy(to + k, &pattern, 8);
}

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

  void Put(uint32_t value, int n) {  // n <= 32; the low n bits, highest first
    acc_ = (acc_ << n) | (value & ((uint64_t(1) << n) - 1));
    count_ += n;
    while (count_ >= 8) {
      count_ -= 8;
      out_.push_back(uint8_t(acc_ >> count_));
    }
  }

  void Flush() {
    if (count_ > 0) out_.push_back(uint8_t(acc_ << (8 - count_)));
    count_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t acc_ = 0;
  int count_ = 0;
};

void EncodeSymbol(AdaptiveTree& tree, BitWriter& out, int symbol) {
  // Walk from the leaf to the root; the bit of a node is whether it is the second child.
  uint8_t bits[kT];
  int depth = 0;
  int k = tree.prnt[symbol + kT];
  do {
    bits[depth++] = uint8_t(k & 1);
    k = tree.prnt[k];
  } while (k != kR && depth < kT);
  uint32_t word = 0;
  int pending = 0;
  while (depth > 0) {
    word = (word << 1) | bits[--depth];
    if (++pending == 32) {
      out.Put(word, 32);
      word = 0;
      pending = 0;
    }
  }
  if (pending > 0) out.Put(word, pending);
  tree.Update(symbol);
}

void EncodePosition(BitWriter& out, unsigned position) {
  const PositionCode code = EncodeUpper(position >> 6);
  out.Put(code.first_byte >> (8 - code.length), code.length);
  out.Put(position & 0x3F, 6);
}

// Hash chains over the last 4096 positions of a buffer that starts with the decoder's
// initial window contents, so that matches may also reach into those leading spaces.
class MatchFinder {
 public:
  struct Match {
    int length = 0;
    int distance = 0;  // 1..4096 bytes back
  };

  MatchFinder(const std::vector<uint8_t>& buffer, int first, int max_chain)
      : buf_(buffer),
        next_insert_(first),
        lowest_(first),
        max_chain_(std::max(1, max_chain)),
        hash_bits_(HashBitsFor(buffer.size() - size_t(first))) {
    head_.assign(size_t(1) << hash_bits_, -1);
    prev_.assign(TLZH::kWindowSize, -1);
  }

  // The longest match for `pos` of at most `limit` bytes; the nearest wins among equals.
  Match Find(int pos, int limit) {
    InsertUpTo(pos);
    Match best;
    if (limit <= TLZH::kThreshold) return best;
    const uint8_t* const here = buf_.data() + pos;
    int best_length = TLZH::kThreshold;
    int candidate = head_[Hash(here)];
    for (int chain = max_chain_; candidate >= lowest_ && chain > 0; --chain) {
      const int distance = pos - candidate;
      if (distance > TLZH::kWindowSize) break;
      const uint8_t* const there = buf_.data() + candidate;
      if (there[best_length] == here[best_length] && there[0] == here[0]) {
        int length = 0;
        while (length < limit && there[length] == here[length]) ++length;
        if (length > best_length) {
          best_length = length;
          best = {length, distance};
          if (length >= limit) break;
        }
      }
      const int next = prev_[candidate & kWindowMask];
      if (next >= candidate) break;
      candidate = next;
    }
    return best;
  }

 private:
  // At most 2^15 chain heads; a short input gets a table about twice its length, since
  // clearing the full table would cost more than compressing a few hundred bytes.
  static constexpr int kMaxHashBits = 15;
  static constexpr int kMinHashBits = 10;

  static int HashBitsFor(size_t positions) {
    int bits = kMinHashBits;
    while (bits < kMaxHashBits && (size_t(1) << bits) < 2 * positions) ++bits;
    return bits;
  }

  unsigned Hash(const uint8_t* p) const {
    const uint32_t v = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    return (v * 2654435761u) >> (32 - hash_bits_);
  }

  void InsertUpTo(int pos) {
    const int last_hashable = int(buf_.size()) - 3;
    for (; next_insert_ < pos; ++next_insert_) {
      if (next_insert_ > last_hashable) continue;
      const unsigned h = Hash(buf_.data() + next_insert_);
      prev_[next_insert_ & kWindowMask] = head_[h];
      head_[h] = next_insert_;
    }
  }

  const std::vector<uint8_t>& buf_;
  int next_insert_;
  int lowest_;
  int max_chain_;
  int hash_bits_;
  std::vector<int> head_;
  std::vector<int> prev_;
};

}  // namespace

int64_t TLZH::ExpandLimit(size_t stream_size) {
  const int64_t code_bits = stream_size > 4 ? int64_t(stream_size - 4) * 8 : 0;
  if (code_bits >= kMaxExpandedLength / kLookAhead) return kMaxExpandedLength;
  return std::min<int64_t>(kMaxExpandedLength, (code_bits + 1) * kLookAhead);
}

struct LzhExpander::State {
  State(const uint8_t* begin, const uint8_t* end) : bits(begin, end) {}
  SymbolDecoder symbols;
  BitReader bits;
};

LzhExpander::LzhExpander(std::span<const uint8_t> source) {
  const int32_t length = ReadLength(source);
  if (length <= 0) return;
  if (length > TLZH::ExpandLimit(source.size())) {
    throw ElzhException("LZH : expanded length " + std::to_string(length) + " is more than a " +
                        std::to_string(source.size()) + "-byte stream can hold (limit " +
                        std::to_string(TLZH::ExpandLimit(source.size())) + ")");
  }
  try {
    state_ = std::make_unique<State>(source.data() + std::min<size_t>(4, source.size()),
                                     source.data() + source.size());
  } catch (const std::bad_alloc&) {
    throw ElzhException(kNoMemory);
  }
  state_->symbols.Start();
  length_ = length;
}

LzhExpander::~LzhExpander() = default;

std::unique_ptr<uint8_t[]> LzhExpander::NewOutput() const {
  try {
    return std::unique_ptr<uint8_t[]>(new uint8_t[OutputSize()]);
  } catch (const std::bad_alloc&) {
    throw ElzhException(kNoMemory);
  }
}

int64_t LzhExpander::ExpandTo(uint8_t* out, int64_t length) {
  const int64_t target = std::min(length, length_);
  if (count_ >= target) return count_;
  // The loop works on copies of the bit reader and the count: stores through `out` could
  // otherwise be taken to change them, and they would be reloaded at every symbol.
  SymbolDecoder& symbols = state_->symbols;
  BitReader bits = state_->bits;
  int64_t count = count_;
  while (count < target) {
    const int c = symbols.Decode(bits);
    if (c < 256) {
      out[count++] = uint8_t(c);
      continue;
    }
    // Position: its first 8 bits give the upper six bits and the code length (3..8), the
    // low six bits end the code.
    bits.FillAlways();
    const unsigned entry = kPositionTable.entry[bits.Peek(8)];
    const int code_length = int(entry >> 8) + 6;
    const unsigned low = bits.Peek(code_length) & 0x3F;
    bits.Skip(code_length);
    const int distance = int(((entry & 0xFF) << 6) | low) + 1;
    const int match_length = c - (255 - TLZH::kThreshold);
    CopyMatch(out, count, distance, match_length);
    count += match_length;
  }
  state_->bits = bits;
  count_ = count;
  return count;
}

void TLZH::Expand(std::span<const uint8_t> source, std::vector<uint8_t>& destination) {
  destination.clear();
  LzhExpander expander(source);
  if (expander.Length() == 0) return;
  try {
    destination.resize(expander.OutputSize());
  } catch (const std::bad_alloc&) {
    destination.clear();
    throw ElzhException(kNoMemory);
  }
  destination.resize(size_t(expander.ExpandTo(destination.data(), expander.Length())));
}

void TLZH::Compress(std::span<const uint8_t> source, std::vector<uint8_t>& destination,
                    const LzhCompressOptions& options) {
  destination.clear();
  if (source.size() > size_t(INT32_MAX) - kWindowSize) {
    throw ElzhException("LZH : input of " + std::to_string(source.size()) +
                        " bytes is too long for the 32-bit length field");
  }
  std::unique_ptr<AdaptiveTree> tree;
  std::vector<uint8_t> buffer;
  try {
    tree = std::make_unique<AdaptiveTree>();
    // The decoder's window before the first byte, then the input.
    buffer.assign(size_t(kInitialPosition), 0x20);
    buffer.insert(buffer.end(), source.begin(), source.end());
    destination.reserve(source.size() / 2 + 64);
  } catch (const std::bad_alloc&) {
    throw ElzhException(kNoMemory);
  }
  const uint32_t length = uint32_t(source.size());
  for (int i = 0; i < 4; ++i) destination.push_back(uint8_t(length >> (8 * i)));
  if (source.empty()) return;

  tree->Start();
  BitWriter out(destination);
  MatchFinder finder(buffer, kInitialPosition - kLookAhead, options.max_chain);
  const int end = int(buffer.size());
  auto limit_at = [end](int pos) { return std::min(kLookAhead, end - pos); };
  auto emit_match = [&](const MatchFinder::Match& m) {
    EncodeSymbol(*tree, out, 255 - kThreshold + m.length);
    EncodePosition(out, unsigned(m.distance - 1));
  };

  int pos = kInitialPosition;
  MatchFinder::Match match = finder.Find(pos, limit_at(pos));
  while (pos < end) {
    if (match.length <= kThreshold) {
      EncodeSymbol(*tree, out, buffer[size_t(pos)]);
      ++pos;
      if (pos < end) match = finder.Find(pos, limit_at(pos));
      continue;
    }
    if (options.lazy && match.length < limit_at(pos) && pos + 1 < end) {
      const MatchFinder::Match next = finder.Find(pos + 1, limit_at(pos + 1));
      if (next.length > match.length) {
        EncodeSymbol(*tree, out, buffer[size_t(pos)]);
        ++pos;
        match = next;
        continue;
      }
    }
    emit_match(match);
    pos += match.length;
    if (pos < end) match = finder.Find(pos, limit_at(pos));
  }
  out.Flush();
}

std::vector<uint8_t> LzhExpand(std::span<const uint8_t> source) {
  std::vector<uint8_t> out;
  TLZH().Expand(source, out);
  return out;
}

std::vector<uint8_t> LzhCompress(std::span<const uint8_t> source,
                                 const LzhCompressOptions& options) {
  std::vector<uint8_t> out;
  TLZH().Compress(source, out, options);
  return out;
}

}  // namespace skin
