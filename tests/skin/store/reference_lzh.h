#pragma once
// A second, deliberately plain implementation of the LZH format, written in the textbook
// shape: a 16-bit bit buffer filled one byte at a time, one bit per call, a ring window,
// and the tree update loop as a direct transcription of the algorithm. Tests use it to
// cross-check skin::TLZH in both directions; the benchmark uses its decoder as the bar.
// Its encoder does a brute-force search and prefers the farthest of equally long matches,
// so its streams take different paths through the decoder than skin::TLZH's own.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace reference_lzh {

constexpr int N = 4096, F = 60, THRESHOLD = 2;
constexpr int N_CHAR = 256 - THRESHOLD + F;
constexpr int T = N_CHAR * 2 - 1, R = T - 1;
constexpr unsigned MAX_FREQ = 0x8000;

struct Tree {
  unsigned short freq[T + 1];
  short prnt[T + N_CHAR];
  short son[T];

  void StartHuff() {
    int i, j;
    for (i = 0; i < N_CHAR; i++) {
      freq[i] = 1;
      son[i] = short(i + T);
      prnt[i + T] = short(i);
    }
    i = 0;
    j = N_CHAR;
    while (j <= R) {
      freq[j] = (unsigned short)(freq[i] + freq[i + 1]);
      son[j] = short(i);
      prnt[i] = prnt[i + 1] = short(j);
      i += 2;
      j++;
    }
    freq[T] = 0xffff;
    prnt[R] = 0;
  }

  void Reconst() {
    int i, j, k;
    unsigned f, l;
    for (i = j = 0; i < T; i++) {
      if (son[i] >= T) {
        freq[j] = (unsigned short)((freq[i] + 1) / 2);
        son[j] = son[i];
        j++;
      }
    }
    for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
      k = i + 1;
      f = freq[j] = (unsigned short)(freq[i] + freq[k]);
      for (k = j - 1; f < freq[k]; k--) {
      }
      k++;
      l = unsigned(j - k);
      std::memmove(&freq[k + 1], &freq[k], l * sizeof(freq[0]));
      freq[k] = (unsigned short)f;
      std::memmove(&son[k + 1], &son[k], l * sizeof(son[0]));
      son[k] = short(i);
    }
    for (i = 0; i < T; i++) {
      if ((k = son[i]) >= T) {
        prnt[k] = short(i);
      } else {
        prnt[k] = prnt[k + 1] = short(i);
      }
    }
  }

  void Update(int c) {
    int i, j, l;
    unsigned k;
    if (freq[R] == MAX_FREQ) Reconst();
    c = prnt[c + T];
    do {
      k = ++freq[c];
      if (k > freq[l = c + 1]) {
        while (k > freq[++l]) {
        }
        l--;
        freq[c] = freq[l];
        freq[l] = (unsigned short)k;
        i = son[c];
        prnt[i] = short(l);
        if (i < T) prnt[i + 1] = short(l);
        j = son[l];
        son[l] = short(i);
        prnt[j] = short(c);
        if (j < T) prnt[j + 1] = short(c);
        son[c] = short(j);
        c = l;
      }
    } while ((c = prnt[c]) != 0);
  }
};

static const unsigned char d_code[256] = {
#define R16(v) v, v, v, v, v, v, v, v, v, v, v, v, v, v, v, v
    R16(0), R16(0), R16(1), R16(2), R16(3), 4,  4,  4,  4,  4,  4,  4,  4,  5,  5,  5,  5,  5,  5,
    5,      5,      6,      6,      6,      6,  6,  6,  6,  6,  7,  7,  7,  7,  7,  7,  7,  7,  8,
    8,      8,      8,      8,      8,      8,  8,  9,  9,  9,  9,  9,  9,  9,  9,  10, 10, 10, 10,
    10,     10,     10,     10,     11,     11, 11, 11, 11, 11, 11, 11, 12, 12, 12, 12, 13, 13, 13,
    13,     14,     14,     14,     14,     15, 15, 15, 15, 16, 16, 16, 16, 17, 17, 17, 17, 18, 18,
    18,     18,     19,     19,     19,     19, 20, 20, 20, 20, 21, 21, 21, 21, 22, 22, 22, 22, 23,
    23,     23,     23,     24,     24,     25, 25, 26, 26, 27, 27, 28, 28, 29, 29, 30, 30, 31, 31,
    32,     32,     33,     33,     34,     34, 35, 35, 36, 36, 37, 37, 38, 38, 39, 39, 40, 40, 41,
    41,     42,     42,     43,     43,     44, 44, 45, 45, 46, 46, 47, 47, 48, 49, 50, 51, 52, 53,
    54,     55,     56,     57,     58,     59, 60, 61, 62, 63,
#undef R16
};

inline int DLen(unsigned b) {
  if (b < 0x20) return 3;
  if (b < 0x50) return 4;
  if (b < 0x90) return 5;
  if (b < 0xC0) return 6;
  if (b < 0xF0) return 7;
  return 8;
}

class Decoder {
 public:
  Decoder(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  std::vector<uint8_t> Run() {
    std::vector<uint8_t> out;
    RunInto(out);
    return out;
  }

  // Decodes into `out`, replacing what it holds; the room it has is used again.
  void RunInto(std::vector<uint8_t>& out) {
    out.clear();
    long textsize = 0;
    for (int i = 0; i < 4; i++) {
      const int c = GetC();  // a missing byte counts as 0
      if (c > 0) textsize |= long(c) << (8 * i);
    }
    textsize = long(int32_t(uint32_t(textsize)));
    if (textsize <= 0) return;
    // Room for the output up front, so that growing it does not count in the benchmark's
    // figures; a length field past what the input could give reserves no more than that.
    out.reserve(std::min(size_t(textsize), size_ * 64 + 64));
    tree_.StartHuff();
    for (int i = 0; i < N - F; i++) text_buf_[i] = ' ';
    for (int i = N - F; i < N + F - 1; i++) text_buf_[i] = 0;
    int r = N - F;
    for (long count = 0; count < textsize;) {
      int c = DecodeChar();
      if (c < 256) {
        out.push_back(uint8_t(c));
        text_buf_[r++] = (unsigned char)c;
        r &= (N - 1);
        count++;
      } else {
        int i = (r - DecodePosition() - 1) & (N - 1);
        int j = c - 255 + THRESHOLD;
        for (int k = 0; k < j; k++) {
          c = text_buf_[(i + k) & (N - 1)];
          out.push_back(uint8_t(c));
          text_buf_[r++] = (unsigned char)c;
          r &= (N - 1);
          count++;
        }
      }
    }
  }

 private:
  int GetC() { return pos_ < size_ ? data_[pos_++] : -1; }

  int GetBit() {
    int i;
    while (getlen_ <= 8) {
      if ((i = GetC()) < 0) i = 0;
      getbuf_ = (unsigned short)(getbuf_ | (i << (8 - getlen_)));
      getlen_ += 8;
    }
    i = getbuf_;
    getbuf_ = (unsigned short)(getbuf_ << 1);
    getlen_--;
    return (i & 0x8000) ? 1 : 0;
  }

  int GetByte() {
    unsigned i;
    while (getlen_ <= 8) {
      int c = GetC();
      if (c < 0) c = 0;
      getbuf_ = (unsigned short)(getbuf_ | (c << (8 - getlen_)));
      getlen_ += 8;
    }
    i = getbuf_;
    getbuf_ = (unsigned short)(getbuf_ << 8);
    getlen_ -= 8;
    return int((i & 0xff00) >> 8);
  }

  int DecodeChar() {
    unsigned c = unsigned(tree_.son[R]);
    while (c < unsigned(T)) {
      c += unsigned(GetBit());
      c = unsigned(tree_.son[c]);
    }
    c -= T;
    tree_.Update(int(c));
    return int(c);
  }

  int DecodePosition() {
    unsigned i = unsigned(GetByte());
    unsigned c = unsigned(d_code[i]) << 6;
    int j = DLen(i) - 2;
    while (j--) i = (i << 1) + unsigned(GetBit());
    return int(c | (i & 0x3f));
  }

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  unsigned short getbuf_ = 0;
  int getlen_ = 0;
  unsigned char text_buf_[N + F - 1];
  Tree tree_;
};

inline std::vector<uint8_t> Expand(const std::vector<uint8_t>& in) {
  return Decoder(in.data(), in.size()).Run();
}

inline void Expand(const std::vector<uint8_t>& in, std::vector<uint8_t>& out) {
  Decoder(in.data(), in.size()).RunInto(out);
}

// Greedy brute-force encoder (slow: for test inputs of a few tens of kilobytes). Begin,
// Literal, Match and Finish also let a test write any stream it likes, sound or not.
class Encoder {
 public:
  void Begin(int32_t length) {
    out_.clear();
    putbuf_ = 0;
    putlen_ = 0;
    for (int i = 0; i < 4; i++) out_.push_back(uint8_t(uint32_t(length) >> (8 * i)));
    tree_.StartHuff();
  }
  void Literal(unsigned c) { EncodeChar(c); }
  // A match of `length` bytes whose position code is `p` (it starts p + 1 bytes back).
  void Match(int length, unsigned p) {
    EncodeChar(unsigned(255 - THRESHOLD + length));
    EncodePosition(p);
  }
  std::vector<uint8_t> Finish() {
    if (putlen_) out_.push_back(uint8_t(putbuf_ >> 24));
    putbuf_ = 0;
    putlen_ = 0;
    return out_;
  }

  std::vector<uint8_t> Run(const std::vector<uint8_t>& in) {
    Begin(int32_t(in.size()));
    if (in.empty()) return out_;
    std::vector<uint8_t> text(N - F + in.size(), ' ');
    for (size_t i = 0; i < in.size(); i++) text[size_t(N - F) + i] = in[i];
    const long end = long(text.size());
    for (long pos = N - F; pos < end;) {
      const long limit = end - pos < F ? end - pos : F;
      long best = 0, best_from = 0;
      // Only distances the ring can give (1..N-1), the farthest first.
      for (long from = pos - (N - 1); from < pos; from++) {
        if (from < N - F - F) continue;  // only the last F leading spaces are used
        long len = 0;
        while (len < limit && text[size_t(from + len)] == text[size_t(pos + len)]) len++;
        if (len > best) {
          best = len;
          best_from = from;
        }
      }
      if (best <= THRESHOLD) {
        EncodeChar(text[size_t(pos)]);
        pos++;
      } else {
        Match(int(best), unsigned(pos - best_from - 1));
        pos += best;
      }
    }
    return Finish();
  }

 private:
  // Appends the top l bits of c (l <= 16) to the output.
  void PutCode(int l, uint32_t c) {
    putbuf_ |= c >> putlen_;
    if ((putlen_ += l) >= 8) {
      out_.push_back(uint8_t(putbuf_ >> 24));
      if ((putlen_ -= 8) >= 8) {
        out_.push_back(uint8_t(putbuf_ >> 16));
        putlen_ -= 8;
        putbuf_ <<= 16;
      } else {
        putbuf_ <<= 8;
      }
    }
  }

  void EncodeChar(unsigned c) {
    std::vector<int> bits;
    int k = tree_.prnt[c + T];
    do {
      bits.push_back(k & 1);
    } while ((k = tree_.prnt[k]) != R);
    for (size_t i = bits.size(); i-- > 0;) PutCode(1, uint32_t(bits[i]) << 31);
    tree_.Update(int(c));
  }

  void EncodePosition(unsigned c) {
    const unsigned u = c >> 6;
    unsigned b = 0;
    while (d_code[b] != u) b++;
    const int len = DLen(b);
    PutCode(len, uint32_t(b) << 24);
    PutCode(6, uint32_t(c & 0x3f) << 26);
  }

  std::vector<uint8_t> out_;
  uint32_t putbuf_ = 0;
  int putlen_ = 0;
  Tree tree_;
};

inline std::vector<uint8_t> Compress(const std::vector<uint8_t>& in) { return Encoder().Run(in); }

}  // namespace reference_lzh
