// LZH codec throughput and ratio. Expansion is timed against two decoders compiled into this
// same program, on the same streams: the plain textbook one of the tests (bit at a time,
// ring window) and the decoder as first published (classic_lzhuf.h); the last figure of a
// line is TLZH's speed over the classic decoder's.
//
//   lzh_bench [PACKAGE...]
// Without arguments it uses the skin package of the build (if there is one), a package
// packed here from a synthetic skin folder (BMPs and an INI), a 1 MiB mixed input, 256 KiB
// of random bytes and a photograph-like 256 x 256 bitmap (the two hardly compress).
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "skin/store/lzh_codec.h"
#include "skin/store/package_writer.h"
#include "tests/skin/store/lzh_test_input.h"
#include "tests/skin/store/reference_lzh.h"
#include "tests/skin/store/classic_lzhuf.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Runs `body` until at least `min_seconds` of processor time have passed; seconds per run.
// Processor time (std::clock, on POSIX), not wall time, so that other work on a shared
// machine does not count against the figures.
template <typename Body>
double TimePerRun(Body body, double min_seconds = 0.3) {
  int runs = 0;
  const std::clock_t start = std::clock();
  double elapsed = 0;
  do {
    body();
    ++runs;
    elapsed = double(std::clock() - start) / CLOCKS_PER_SEC;
  } while (elapsed < min_seconds);
  return elapsed / runs;
}

// Seconds one run of `body` takes, by the wall clock: processor time on Windows comes in
// steps far longer than a run, and where runs are compared by the fastest of many, those
// another program slowed down drop out anyway.
template <typename Body>
double TimeOnce(Body body) {
  const auto start = std::chrono::steady_clock::now();
  body();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The headers of a 24-bit bottom-up BMP; the rows follow.
Bytes BmpHeaders(int width, int height) {
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t image = uint32_t(stride * height), file = 54 + image;
  Bytes b = {'B', 'M'};
  auto put32 = [&b](uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
  };
  auto put16 = [&b](uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
  };
  put32(file);
  put32(0);
  put32(54);
  put32(40);
  put32(uint32_t(width));
  put32(uint32_t(height));
  put16(1);
  put16(24);
  put32(0);
  put32(image);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  return b;
}

// A 24-bit BMP with the kinds of content skin art has: gradients, flat fills, bevel lines
// and a magenta colour key.
Bytes SyntheticBmp(int width, int height, uint32_t seed) {
  const int stride = (width * 3 + 3) & ~3;
  Bytes b = BmpHeaders(width, height);
  std::mt19937 rng(seed);
  const int style = int(seed % 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t r, g, bl;
      if (x < 2 || y < 2 || x >= width - 2 || y >= height - 2) {
        r = g = bl = (x < 2 || y >= height - 2) ? 0xF0 : 0x40;  // bevel
      } else if (style == 0) {
        r = uint8_t(0x60 + y * 0x80 / height);
        g = uint8_t(0x70 + y * 0x70 / height);
        bl = uint8_t(0x90 + y * 0x50 / height);
      } else if (style == 1) {
        r = 0xFF, g = 0x00, bl = 0xFF;  // colour key
        if ((x / 8 + y / 8) % 3 == 0) r = g = bl = 0xC0;
      } else {
        const uint8_t noise = uint8_t(rng() % 6);
        r = uint8_t(0xA0 + noise), g = uint8_t(0xA4 + noise), bl = uint8_t(0xB0 + noise);
      }
      b.push_back(bl);
      b.push_back(g);
      b.push_back(r);
    }
    for (int p = width * 3; p < stride; ++p) b.push_back(0);
  }
  return b;
}

// A 24-bit BMP like a photograph: smooth gradients in every channel and noise on every
// pixel, so that few matches are longer than a pixel and most symbols are literals.
Bytes PhotoBmp(int width, int height, uint32_t seed) {
  const int stride = (width * 3 + 3) & ~3;
  Bytes b = BmpHeaders(width, height);
  std::mt19937 rng(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int noise[3] = {int(rng() % 13) - 6, int(rng() % 13) - 6, int(rng() % 13) - 6};
      const int base[3] = {40 + x * 150 / width + y * 30 / height,
                           60 + (x + y) * 120 / (width + height) + (x * y) % 17,
                           200 - y * 140 / height};
      for (int c = 0; c < 3; ++c) b.push_back(uint8_t(std::clamp(base[c] + noise[c], 0, 255)));
    }
    for (int p = width * 3; p < stride; ++p) b.push_back(0);
  }
  return b;
}

Bytes RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (uint8_t& b : out) b = uint8_t(rng());
  return out;
}

Bytes SyntheticPackage() {
  std::vector<skin::PackageEntry> entries;
  std::string ini = "[Skin]\r\nName=Synthetic\r\n";
  for (int i = 0; i < 40; ++i) {
    const std::string name = "element" + std::to_string(i) + ".bmp";
    ini += "[Element" + std::to_string(i) + "]\r\nImage=" + name +
           "\r\nLeftWidth=4\r\nTopHeight=4\r\nRightWidth=4\r\nBottomHeight=4\r\nFrameCount=" +
           std::to_string(1 + i % 4) + "\r\nTile=0\r\n";
    entries.push_back(
        {name, SyntheticBmp(16 + (i * 7) % 48 * (1 + i % 4), 12 + i % 20, uint32_t(i))});
  }
  entries.insert(entries.begin(), {"synthetic.ini", Bytes(ini.begin(), ini.end())});
  return skin::WritePackage(entries);
}

using lzh_test_input::MixedBytes;

double Mbps(size_t bytes, double seconds) { return double(bytes) / seconds / 1e6; }

// Expansion figures for one compressed stream.
void Expansion(const char* label, const Bytes& stream) {
  const Bytes ours = skin::LzhExpand(stream);
  const bool same = ours == reference_lzh::Expand(stream) && ours == classic_lzhuf::Expand(stream);
  // The three decoders take turns, and each keeps its fastest run: the processor's speed on
  // a shared machine drifts over a second or so, which would otherwise tilt the ratio
  // towards whichever decoder happened to run in a faster stretch.
  // Each writes into an output of its own that it reuses, so that none is charged for
  // memory it touches for the first time (Windows heaps map large blocks afresh each time).
  double t_ours = 1e9, t_ref = 1e9, t_classic = 1e9;
  double spent = 0;
  Bytes out_ours, out_ref, out_classic;
  for (int round = 0; spent < 0.9 && round < 10000; ++round) {
    const double ours = TimeOnce([&] { skin::TLZH().Expand(stream, out_ours); });
    const double ref = TimeOnce([&] { reference_lzh::Expand(stream, out_ref); });
    const double classic = TimeOnce([&] { classic_lzhuf::Expand(stream, out_classic); });
    t_ours = std::min(t_ours, ours);
    t_ref = std::min(t_ref, ref);
    t_classic = std::min(t_classic, classic);
    spent += ours + ref + classic;
  }
  std::printf(
      "  expand %-9s %8zu -> %8zu bytes  TLZH %7.1f MB/s  textbook %7.1f MB/s  classic %7.1f "
      "MB/s  x%.2f classic%s\n",
      label, stream.size(), ours.size(), Mbps(ours.size(), t_ours), Mbps(ours.size(), t_ref),
      Mbps(ours.size(), t_classic), t_classic / t_ours, same ? "" : "  OUTPUTS DIFFER");
}

void Input(const std::string& label, const Bytes& input, const Bytes* given = nullptr) {
  std::printf("%s: %zu bytes\n", label.c_str(), input.size());
  if (given) Expansion("as given", *given);
  struct Mode {
    const char* name;
    skin::LzhCompressOptions options;
  } const modes[] = {{"default", {}}, {"greedy", {4096, false}}, {"fast", {16, false}}};
  for (const Mode& m : modes) {
    Bytes packed;
    const double t = TimePerRun([&] { packed = skin::LzhCompress(input, m.options); });
    const bool ok = skin::LzhExpand(packed) == input;
    std::printf("  compress %-7s %8zu bytes (%5.1f%% of input)  %6.1f MB/s in%s\n", m.name,
                packed.size(), 100.0 * double(packed.size()) / double(input.size()),
                Mbps(input.size(), t), ok ? "" : "  ROUND TRIP FAILED");
    if (&m == &modes[0]) Expansion(m.name, packed);
  }
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> packages(argv + 1, argv + argc);
#ifdef LZH_BENCH_SKIN_PACKAGE
  if (packages.empty() && std::filesystem::exists(LZH_BENCH_SKIN_PACKAGE))
    packages.push_back(LZH_BENCH_SKIN_PACKAGE);
#endif
  for (const std::string& path : packages) {
    const Bytes package = ReadFile(path);
    try {
      Input("skin package " + path, skin::LzhExpand(package), &package);
    } catch (const skin::ElzhException& e) {
      std::printf("%s: %s\n", path.c_str(), e.what());
    }
  }
  const Bytes synthetic = SyntheticPackage();
  Input("synthetic skin package (container)", skin::LzhExpand(synthetic));
  Input("mixed 1 MiB", MixedBytes(1 << 20, 5));
  Input("random 256 KiB", RandomBytes(256 << 10, 6));
  Input("photo-like bitmap 256 x 256", PhotoBmp(256, 256, 7));
  return 0;
}
