#include <cstdio>

#include "tools/skinpack/commands.h"

namespace skinpack {

int RunInfo(const Args&) {
  std::fprintf(stderr, "skinpack: not built yet\n");
  return 2;
}

}  // namespace skinpack
