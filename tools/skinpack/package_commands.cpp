#include <cstdio>

#include "tools/skinpack/commands.h"

namespace skinpack {

int RunPack(const Args&) {
  std::fprintf(stderr, "skinpack: not built yet\n");
  return 2;
}

int RunUnpack(const Args&) {
  std::fprintf(stderr, "skinpack: not built yet\n");
  return 2;
}

int RunList(const Args&) {
  std::fprintf(stderr, "skinpack: not built yet\n");
  return 2;
}

int RunVerify(const Args&) {
  std::fprintf(stderr, "skinpack: not built yet\n");
  return 2;
}

int RunLzhCompress(const Args&) {
  std::fprintf(stderr, "skinpack: not built yet\n");
  return 2;
}

int RunLzhExpand(const Args&) {
  std::fprintf(stderr, "skinpack: not built yet\n");
  return 2;
}

}  // namespace skinpack
