// skingen: draws every bitmap of a skin from its theme and writes them as .bmp files.
//
//   skingen --theme NAME OUTDIR   write the theme's bitmaps into OUTDIR (created if needed)
//   skingen --list                list the themes
//
// The output depends only on the theme table and the drawing code, so a build always
// packs the same bytes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "skin/store/bmp_codec.h"
#include "tools/skingen/skin_art.h"
#include "tools/skingen/theme.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: skingen --theme NAME OUTDIR\n       skingen --list\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--list") {
    for (const skingen::Theme& t : skingen::Themes()) std::printf("%s\n", t.name.c_str());
    return 0;
  }
  if (args.size() != 3 || args[0] != "--theme") return Usage();
  const skingen::Theme* theme = skingen::FindTheme(args[1]);
  if (!theme) {
    std::fprintf(stderr, "skingen: unknown theme '%s' (see skingen --list)\n", args[1].c_str());
    return 2;
  }
  const std::filesystem::path dir = args[2];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    std::fprintf(stderr, "skingen: %s: %s\n", dir.string().c_str(), ec.message().c_str());
    return 1;
  }
  for (const skingen::SkinImage& image : skingen::RenderSkin(*theme)) {
    std::vector<uint8_t> bytes = skin::EncodeBmp(image.art.ToPixelBitmap());
    const std::filesystem::path path = dir / image.file;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "skingen: %s: cannot write\n", path.string().c_str());
      return 1;
    }
  }
  return 0;
}
