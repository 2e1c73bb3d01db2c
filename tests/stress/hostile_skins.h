#pragma once
// Hostile skins: valid packages (the container and codec are sound) whose definitions and
// bitmaps are everything a careless or malicious skin author could write. Each seed gives
// the same skin every time. What a seed holds:
//  - element images missing (no key), naming an entry that is not there, an empty entry,
//    an entry that is no bitmap, 1 x 1, ordinary, very large, one pixel high or wide, all
//    magenta (fully transparent);
//  - frame counts 0, 1, negative, larger than the image, the largest integer;
//  - margins larger than the image, negative, the extreme integers;
//  - colour keys absent or garbage;
//  - caption-button sections with every alignment and visibility code, unknown actions,
//    negative and huge coordinates, and many of them.
// Seeds below kUniformSeeds give each hostile property to every element at once; the
// others mix them at random.
#include <cstdint>
#include <string>
#include <vector>

#include "skin/store/package_writer.h"

namespace stress {

inline constexpr uint32_t kUniformSeeds = 12;

struct HostileSkin {
  std::string definition;                   // the INI text (also entry "skin.ini")
  std::vector<skin::PackageEntry> entries;  // definition first, then the bitmaps
  bool has_huge_image = false;              // one image of a few million pixels
};

// The skin of `seed`. `allow_huge` false leaves out the very large image (for runs that
// load hundreds of skins into windows and must stay quick).
HostileSkin MakeHostileSkin(uint32_t seed, bool allow_huge = true);

// The package bytes of MakeHostileSkin (compressed as a skin file is).
std::vector<uint8_t> HostileSkinPackage(uint32_t seed, bool allow_huge = true);

}  // namespace stress
