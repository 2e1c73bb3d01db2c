#pragma once
// The LZH decoder in the shape it was first published in (1989), for the benchmark to time
// skin::TLZH against: bits taken one at a time from a 16-bit buffer (GetBit, GetByte), the
// adaptive Huffman tree walked from the root one bit per step, update() with reconst() when
// the root reaches MAX_FREQ, match positions through the d_code/d_len tables, and a 4096-byte
// ring buffer whose first N - F bytes start as spaces.
//
// The 16-bit ints of the machines of the time are spelled out as 16-bit types, so the
// frequencies wrap and the byte counts of reconst() are what they were. Two details follow
// this system's format: the length is a signed 32-bit number (a missing byte reads as 0,
// 0 or less gives nothing), and past the end of the input every bit is 0, in GetByte as
// in GetBit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace classic_lzhuf {

constexpr int N = 4096;      /* size of ring buffer */
constexpr int F = 60;        /* upper limit for match_length */
constexpr int THRESHOLD = 2; /* encode string into position and length if match_length is greater */
constexpr int N_CHAR = 256 - THRESHOLD + F; /* kinds of characters (character code = 0..N_CHAR-1) */
constexpr int T = N_CHAR * 2 - 1;           /* size of table */
constexpr int R = T - 1;                    /* position of root */
constexpr unsigned MAX_FREQ = 0x8000;       /* updates tree when the root frequency comes to this */

typedef unsigned char uchar;

/* table for decoding the upper 6 bits of position: the value and the code length in bits */
static const uchar d_code[256] = {
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02,
    0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B,
    0x0C, 0x0C, 0x0C, 0x0C, 0x0D, 0x0D, 0x0D, 0x0D, 0x0E, 0x0E, 0x0E, 0x0E, 0x0F, 0x0F, 0x0F, 0x0F,
    0x10, 0x10, 0x10, 0x10, 0x11, 0x11, 0x11, 0x11, 0x12, 0x12, 0x12, 0x12, 0x13, 0x13, 0x13, 0x13,
    0x14, 0x14, 0x14, 0x14, 0x15, 0x15, 0x15, 0x15, 0x16, 0x16, 0x16, 0x16, 0x17, 0x17, 0x17, 0x17,
    0x18, 0x18, 0x19, 0x19, 0x1A, 0x1A, 0x1B, 0x1B, 0x1C, 0x1C, 0x1D, 0x1D, 0x1E, 0x1E, 0x1F, 0x1F,
    0x20, 0x20, 0x21, 0x21, 0x22, 0x22, 0x23, 0x23, 0x24, 0x24, 0x25, 0x25, 0x26, 0x26, 0x27, 0x27,
    0x28, 0x28, 0x29, 0x29, 0x2A, 0x2A, 0x2B, 0x2B, 0x2C, 0x2C, 0x2D, 0x2D, 0x2E, 0x2E, 0x2F, 0x2F,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
};

static const uchar d_len[256] = {
    0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
    0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08,
};

class Decoder {
 public:
  Decoder(const uint8_t* data, size_t size) : data(data), size(size) {}

  std::vector<uint8_t> Run() {
    Decode();
    return std::move(out);
  }

  // Decodes into `destination`, replacing what it holds; the room it has is used again.
  void RunInto(std::vector<uint8_t>& destination) {
    out.swap(destination);
    out.clear();
    Decode();
    out.swap(destination);
  }

 private:
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  std::vector<uint8_t> out;

  uchar text_buf[N + F - 1] = {};
  uint16_t freq[T + 1];     /* frequency table */
  int16_t prnt[T + N_CHAR]; /* pointers to parent nodes, except for the elements
                               [T..T + N_CHAR - 1] which are used to get the positions
                               of leaves corresponding to the codes */
  int16_t son[T];           /* pointers to child nodes (son[], son[] + 1) */

  uint16_t getbuf = 0;
  uchar getlen = 0;

  int getc() { return pos < size ? data[pos++] : -1; }
  void putc(int c) { out.push_back(uchar(c)); }

  int GetBit(void) /* get one bit */
  {
    int i;

    while (getlen <= 8) {
      if ((i = getc()) < 0) i = 0;
      getbuf |= i << (8 - getlen);
      getlen += 8;
    }
    i = getbuf;
    getbuf <<= 1;
    getlen--;
    return (i & 0x8000) != 0; /* the sign bit of a 16-bit int */
  }

  int GetByte(void) /* get one byte */
  {
    int i;

    while (getlen <= 8) {
      if ((i = getc()) < 0) i = 0;
      getbuf |= i << (8 - getlen);
      getlen += 8;
    }
    i = getbuf;
    getbuf <<= 8;
    getlen -= 8;
    return i >> 8;
  }

  /* initialization of tree */
  void StartHuff(void) {
    int i, j;

    for (i = 0; i < N_CHAR; i++) {
      freq[i] = 1;
      son[i] = i + T;
      prnt[i + T] = i;
    }
    i = 0;
    j = N_CHAR;
    while (j <= R) {
      freq[j] = freq[i] + freq[i + 1];
      son[j] = i;
      prnt[i] = prnt[i + 1] = j;
      i += 2;
      j++;
    }
    freq[T] = 0xffff;
    prnt[R] = 0;
  }

  /* reconstruction of tree */
  void reconst(void) {
    int i, j, k;
    unsigned f, l;

    /* collect leaf nodes in the first half of the table */
    /* and replace the freq by (freq + 1) / 2. */
    j = 0;
    for (i = 0; i < T; i++) {
      if (son[i] >= T) {
        freq[j] = (freq[i] + 1) / 2;
        son[j] = son[i];
        j++;
      }
    }
    /* begin constructing tree by connecting sons */
    for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
      k = i + 1;
      f = freq[j] = freq[i] + freq[k];
      for (k = j - 1; f < freq[k]; k--)
        ;
      k++;
      l = (j - k) * 2; /* bytes: both tables hold 16-bit entries */
      memmove(&freq[k + 1], &freq[k], l);
      freq[k] = f;
      memmove(&son[k + 1], &son[k], l);
      son[k] = i;
    }
    /* connect prnt */
    for (i = 0; i < T; i++) {
      if ((k = son[i]) >= T) {
        prnt[k] = i;
      } else {
        prnt[k] = prnt[k + 1] = i;
      }
    }
  }

  /* increment frequency of given code by one, and update tree */
  void update(int c) {
    int i, j, l;
    unsigned k;

    if (freq[R] == MAX_FREQ) {
      reconst();
    }
    c = prnt[c + T];
    do {
      k = ++freq[c];

      /* if the order is disturbed, exchange nodes */
      if (k > freq[l = c + 1]) {
        while (k > freq[++l])
          ;
        l--;
        freq[c] = freq[l];
        freq[l] = k;

        i = son[c];
        prnt[i] = l;
        if (i < T) prnt[i + 1] = l;

        j = son[l];
        son[l] = i;

        prnt[j] = c;
        if (j < T) prnt[j + 1] = c;
        son[c] = j;

        c = l;
      }
    } while ((c = prnt[c]) != 0); /* repeat up to root */
  }

  int DecodeChar(void) {
    unsigned c;

    c = son[R];

    /* travel from root to leaf, */
    /* choosing the smaller child node (son[]) if the read bit is 0, */
    /* the bigger (son[]+1} if 1 */
    while (c < T) {
      c += GetBit();
      c = son[c];
    }
    c -= T;
    update(c);
    return c;
  }

  int DecodePosition(void) {
    unsigned i, j, c;

    /* recover upper 6 bits from table */
    i = GetByte();
    c = (unsigned)d_code[i] << 6;
    j = d_len[i];

    /* read lower 6 bits verbatim */
    j -= 2;
    while (j--) {
      i = (i << 1) + GetBit();
    }
    return c | (i & 0x3f);
  }

  void Decode(void) /* recover */
  {
    int i, j, k, r, c;
    unsigned long int count;
    int32_t textsize = 0;

    for (i = 0; i < 4; i++) {
      if ((c = getc()) < 0) c = 0;
      textsize |= int32_t(uint32_t(c) << (8 * i));
    }
    if (textsize <= 0) return;
    // The published decoder writes through a buffered file; output room made up front
    // stands for that, so that growing a vector (and the page faults of each larger block)
    // does not count against the decoder in the benchmark.
    out.reserve(std::min(size_t(textsize), size * 64 + 64));
    StartHuff();
    for (i = 0; i < N - F; i++) text_buf[i] = ' ';
    r = N - F;
    for (count = 0; count < (unsigned long)textsize;) {
      c = DecodeChar();
      if (c < 256) {
        putc(c);
        text_buf[r++] = c;
        r &= (N - 1);
        count++;
      } else {
        i = (r - DecodePosition() - 1) & (N - 1);
        j = c - 255 + THRESHOLD;
        for (k = 0; k < j; k++) {
          c = text_buf[(i + k) & (N - 1)];
          putc(c);
          text_buf[r++] = c;
          r &= (N - 1);
          count++;
        }
      }
    }
  }
};

inline std::vector<uint8_t> Expand(const std::vector<uint8_t>& in) {
  return Decoder(in.data(), in.size()).Run();
}

inline void Expand(const std::vector<uint8_t>& in, std::vector<uint8_t>& out) {
  Decoder(in.data(), in.size()).RunInto(out);
}

}  // namespace classic_lzhuf
