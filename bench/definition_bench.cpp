// Reading a whole skin from a package: expand, parse the definition, decode every bitmap
// (the entries are expanded as they are read: the images' share is shown on its own).
// The package is built here with the package writer: a definition with every section the
// engine reads and 44 bitmaps of the sizes a typical skin has (about 220 KB expanded), or
// read from PKG with --package (the skins of the build are in build/.../skins/*.skn).
// Usage: definition_bench [--package PKG] [--write PKG] [--rounds N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/skin_definition.h"
#include "skin/store/bmp_codec.h"
#include "skin/store/package_writer.h"

using namespace skin;

namespace {

struct ImageSpec {
  const char* section;
  const char* key;
  const char* file;
  int width, height;
};

// Section, image key, entry name and size of each bitmap of the bench skin.
const ImageSpec kImages[] = {
    {"Personality", "Left", "left.bmp", 4, 60},
    {"Personality", "Right", "right.bmp", 4, 60},
    {"Personality", "Top", "top.bmp", 120, 52},
    {"Personality", "Bottom", "bottom.bmp", 120, 4},
    {"Personality", "TextBack", "textback.bmp", 40, 22},
    {"Personality", "MenuBar", "menubar.bmp", 60, 40},
    {"Buttons", "Bitmap", "button.bmp", 75, 21},
    {"Buttons", "CheckButton", "check.bmp", 78, 13},
    {"Buttons", "RadioButton", "radio.bmp", 78, 13},
    {"Progress", "Bitmap", "progress.bmp", 40, 16},
    {"Progress", "Chunk", "chunk.bmp", 16, 16},
    {"GroupBoxEdge", "Image", "groupbox.bmp", 24, 24},
    {"Toolbars", "Image", "toolbar.bmp", 110, 22},
    {"Tabs", "Image", "tabs.bmp", 110, 22},
    {"Tabs", "Border", "tabborder.bmp", 20, 20},
    {"StatusBarEdges", "Image", "status.bmp", 60, 20},
    {"ComboButton", "Image", "combo.bmp", 68, 20},
    {"SunkEdge", "Image", "sunk.bmp", 40, 10},
    {"ExtraImages", "Image", "extra.bmp", 80, 16},
    {"Headerbar", "Image", "header.bmp", 100, 20},
    {"MenuItem", "Image", "menuitem.bmp", 100, 20},
    {"MenuBackground", "Image", "menuback.bmp", 64, 64},
    {"Scrollbar", "Image", "scrollbar.bmp", 391, 17},
    {"HorzScroll", "Image", "hscroll.bmp", 68, 17},
    {"VertScroll", "Image", "vscroll.bmp", 17, 68},
    {"HorzScrollThumb", "Image", "hthumb.bmp", 51, 17},
    {"VertScrollThumb", "Image", "vthumb.bmp", 17, 51},
    {"Trackbar.ThumbHorz", "Image", "thumbh.bmp", 55, 20},
    {"Trackbar.ThumbVert", "Image", "thumbv.bmp", 100, 11},
    {"Trackbar.ThumbLeft", "Image", "thumbl.bmp", 100, 11},
    {"Trackbar.ThumbRight", "Image", "thumbr.bmp", 100, 11},
    {"Trackbar.ThumbUp", "Image", "thumbu.bmp", 55, 20},
    {"Trackbar.ThumbDown", "Image", "thumbd.bmp", 55, 20},
    {"UpDown.Horz", "Image", "updownh.bmp", 128, 16},
    {"UpDown.Horz", "GlyphImage", "glyphh.bmp", 64, 8},
    {"UpDown.Vert", "Image", "updownv.bmp", 128, 16},
    {"UpDown.Vert", "GlyphImage", "glyphv.bmp", 64, 8},
    {"MDICONTROLS", "Image", "mdi.bmp", 180, 15},
    {"Button1", "ButtonImage", "close.bmp", 126, 21},
    {"Button2", "ButtonImage", "max.bmp", 126, 21},
    {"Button3", "ButtonImage", "min.bmp", 126, 21},
    {"Button4", "ButtonImage", "restore.bmp", 126, 21},
    {"Button5", "ButtonImage", "help.bmp", 63, 21},
    {"Button6", "ButtonImage", "sys.bmp", 63, 21},
};

std::vector<PackageEntry> BenchEntries() {
  std::vector<PackageEntry> entries;
  std::string ini = "[TitlebarSkin]\r\nSkinName=Bench skin\r\n";
  ini += "[Colours]\r\nButtonFace=224 223 227\r\nButtonText=0 0 0\r\nMenu=240 240 240\r\n";
  ini += "[Fonts]\r\nFontHeight=13\r\n[COLOUR1]\r\ncolor=1 2 3\r\n";
  std::string current;
  unsigned seed = 1;
  for (const ImageSpec& s : kImages) {
    if (current != s.section) {
      current = s.section;
      ini += std::string("[") + s.section + "]\r\n";
      if (current == "Personality")
        ini += "TopTopHeight=30\r\nTopBotHeight=30\r\nLeftTopHeight=2\r\n";
      if (current.rfind("Button", 0) == 0 && current.size() == 7)
        ini += "Action=" + std::to_string(current.back() - '0') + "\r\nAlign=1\r\nXcoord=20\r\n";
    }
    ini += std::string(s.key) + "=" + s.file + "\r\n";
    PixelBitmap b(s.width, s.height);
    for (int y = 0; y < s.height; ++y)  // some structure, so the codec has work to do
      for (int x = 0; x < s.width; ++x) {
        seed = seed * 1103515245 + 12345;
        b.SetPixel(x, y,
                   (x / 4 + y / 3) % 5 == 0
                       ? Rgb(255, 0, 255)
                       : Rgb(uint8_t(x * 2), uint8_t(y * 3), uint8_t(seed >> 24) & 0x0F));
      }
    entries.push_back({s.file, EncodeBmp(b)});
  }
  entries.push_back({"bench.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
  return entries;
}

// Expands each bitmap's entry before the reader's fetcher copies and decodes it, so that
// the expansion the definition's images cause is timed on its own.
class ExpansionTimer : public ImageFetcher {
 public:
  explicit ExpansionTimer(const TSkinReader& reader) : reader_(reader), images_(reader) {}
  void FetchBitmap(PixelBitmap& target, std::string_view image_name) override {
    const auto t = std::chrono::steady_clock::now();
    const int index = reader_.FindEntry(ImageEntryName(image_name));
    if (index >= 0) reader_.Entry(index);
    micros +=
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t).count();
    images_.FetchBitmap(target, image_name);
  }
  double micros = 0;

 private:
  const TSkinReader& reader_;
  ReaderImageFetcher images_;
};

double MicrosSince(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 200;
  const char* write_path = nullptr;
  const char* package_path = nullptr;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--write")) write_path = argv[i + 1];
    if (!std::strcmp(argv[i], "--rounds")) rounds = std::atoi(argv[i + 1]);
    if (!std::strcmp(argv[i], "--package")) package_path = argv[i + 1];
  }
  std::vector<PackageEntry> entries;
  std::vector<uint8_t> package;
  if (package_path) {
    std::ifstream in(package_path, std::ios::binary);
    package.assign(std::istreambuf_iterator<char>(in), {});
    if (package.empty()) {
      std::fprintf(stderr, "cannot read %s\n", package_path);
      return 1;
    }
  } else {
    entries = BenchEntries();
    package = WritePackage(entries);
  }
  size_t expanded = 0;
  for (const PackageEntry& e : entries) expanded += e.data.size();
  if (write_path) {
    std::ofstream(write_path, std::ios::binary)
        .write(reinterpret_cast<const char*>(package.data()), std::streamsize(package.size()));
  }

  double expand_us = 0, parse_us = 0, read_us = 0, images_us = 0, whole_us = 0;
  NullSkinReporter reporter;
  for (int r = 0; r < rounds; ++r) {
    auto t = std::chrono::steady_clock::now();
    TSkinReader reader(reporter);
    reader.Load(package);
    std::vector<uint8_t> text;
    std::string name;
    reader.GetEntryByPartName(".ini", text, name);
    expand_us += MicrosSince(t);
    t = std::chrono::steady_clock::now();
    const IniFile ini(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    parse_us += MicrosSince(t);
    t = std::chrono::steady_clock::now();
    SkinDefinition d;
    ExpansionTimer images(reader);
    ReadSkinDefinition(ini, images, d);
    read_us += MicrosSince(t);
    images_us += images.micros;

    t = std::chrono::steady_clock::now();
    SkinDefinition whole;
    std::string error;
    if (!LoadSkinPackage(package, whole, reporter, &error)) {
      std::fprintf(stderr, "load failed: %s\n", error.c_str());
      return 1;
    }
    whole_us += MicrosSince(t);
  }
  if (package_path) {
    std::printf("%s: package %zu bytes, %d rounds\n", package_path, package.size(), rounds);
  } else {
    std::printf("bench skin: %zu entries, %zu bytes of entry data, package %zu bytes, %d rounds\n",
                entries.size(), expanded, package.size(), rounds);
  }
  std::printf("  expand + container:          %8.1f us\n", expand_us / rounds);
  std::printf("  parse definition (INI):      %8.1f us\n", parse_us / rounds);
  std::printf("  read definition + decode:    %8.1f us\n", read_us / rounds);
  std::printf("    of which expanding images: %8.1f us\n", images_us / rounds);
  std::printf("  LoadSkinPackage (all):       %8.1f us\n", whole_us / rounds);
  return 0;
}
