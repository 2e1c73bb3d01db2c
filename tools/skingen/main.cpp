// skingen: draws every bitmap of a skin from its theme and writes them as .bmp files.
//
//   skingen --theme NAME OUTDIR   write the theme's bitmaps into OUTDIR (created if needed),
//                                 each as name.bmp and, drawn for 192 DPI, name@192.bmp
//   skingen --icon NAME OUT.ico   write a program's icon in every size Windows asks for
//   skingen --list                list the themes and the icons
//
// The output depends only on the theme table and the drawing code, so a build always
// packs the same bytes.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "skin/store/bmp_codec.h"
#include "tools/skingen/ico_file.h"
#include "tools/skingen/icon_art.h"
#include "tools/skingen/skin_art.h"
#include "tools/skingen/theme.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: skingen --theme NAME OUTDIR\n       skingen --icon NAME OUT.ico\n"
               "       skingen --list\n");
  return 2;
}

int WriteIcon(const std::string& name, const std::string& path) {
  std::vector<skin::PixelBitmap> images;
  for (int size : skingen::kIconSizes) images.push_back(skingen::DrawIcon(name, size));
  const std::vector<uint8_t> bytes = skingen::EncodeIco(images);
  if (bytes.empty()) {
    std::fprintf(stderr, "skingen: unknown icon '%s' (see skingen --list)\n", name.c_str());
    return 2;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "skingen: %s: cannot write\n", path.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--list") {
    for (const skingen::Theme& t : skingen::Themes()) std::printf("%s\n", t.name.c_str());
    for (const std::string& name : skingen::IconNames()) std::printf("icon %s\n", name.c_str());
    return 0;
  }
  if (args.size() == 3 && args[0] == "--icon") return WriteIcon(args[1], args[2]);
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
  for (int scale : skingen::kSkinScales)
    for (const skingen::SkinImage& image : skingen::RenderSkin(*theme, {scale})) {
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
