// skinpack: builds, inspects and renders skin packages.
#include <cstdio>
#include <cstring>

#include "tools/skinpack/commands.h"

namespace skinpack {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"pack", "DIR OUT", "pack the INI and .bmp files of a folder into a package",
       "Packs the skin definition (*.ini) and the bitmaps (*.bmp) of DIR into the package OUT:\n"
       "the definition first, then the bitmaps by name, art drawn for other resolutions\n"
       "(name@N.bmp) last, so that a load at 96 DPI expands none of it.",
       RunPack},
      {"unpack", "PKG DIR", "write every entry of a package into a folder",
       "Writes each entry of the package PKG as a file into DIR (created if missing).", RunUnpack},
      {"list", "PKG", "list the entries with their sizes, in directory order",
       "Prints one line per entry of PKG: its size in bytes and its name.", RunList},
      {"verify", "PKG", "check a package's container and the images its definition names",
       "Checks the format mark, the directory, the size table against the data, that there is\n"
       "exactly one definition, and that every image key of the definition names an entry.",
       RunVerify},
      {"info", "[--json] PKG", "show how the engine reads the package's definition",
       "Prints every element slot, the caption buttons, the colour scheme, the extra colours\n"
       "and the skin name as the engine reads them; --json gives the same as JSON.",
       RunInfo},
      {"preview", "[--size WxH] PKG OUT.png", "render a preview sheet of the skin",
       "Renders every element with each of its frames and a mock skinned window to OUT.png.",
       RunPreview},
      {"lzh-compress", "IN OUT", "compress a file into a raw LZH stream",
       "Compresses IN into OUT: a 4-byte length, then the code.", RunLzhCompress},
      {"lzh-expand", "IN OUT", "expand a raw LZH stream", "Expands the LZH stream IN into OUT.",
       RunLzhExpand},
  };
  return commands;
}

static void PrintUsage(FILE* out) {
  std::fprintf(out, "usage: skinpack COMMAND ARGS...   (skinpack COMMAND --help for more)\n\n");
  for (const Command& c : Commands())
    std::fprintf(out, "  %-13s %-26s %s\n", c.name, c.usage, c.summary);
}

}  // namespace skinpack

int main(int argc, char** argv) {
  using namespace skinpack;
  if (argc < 2) {
    PrintUsage(stderr);
    return 2;
  }
  if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
    PrintUsage(stdout);
    return 0;
  }
  for (const Command& c : Commands()) {
    if (std::strcmp(argv[1], c.name) != 0) continue;
    Args args(argv + 2, argv + argc);
    for (const std::string& a : args) {
      if (a == "--help" || a == "-h") {
        std::printf("usage: skinpack %s %s\n\n%s\n", c.name, c.usage, c.help);
        return 0;
      }
    }
    return c.run(args);
  }
  std::fprintf(stderr, "skinpack: unknown command '%s'\n", argv[1]);
  PrintUsage(stderr);
  return 2;
}
