#pragma once
// Shared pieces of the TSkinData tests: the packages the build makes, and packages spoiled
// on purpose.
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "skin/data/skin_definition.h"
#include "skin/manager/skin_manager.h"
#include "skin/store/lzh_codec.h"
#include "skin/store/skin_reporter.h"

namespace skin {
inline void PrintTo(const ManagerRequest& r, std::ostream* os) {
  static const char* const kNames[] = {"AddSkinData",    "RemoveSkinData",  "InstallHook",
                                       "ScheduleAction", "ClearFormCaches", "AttachWindow"};
  *os << kNames[r.kind] << "(data " << r.skin_data << ", action " << r.action << ", interval "
      << r.interval << ", window " << r.window << ")";
}
}  // namespace skin

namespace skintest {

// The build's skin packages, seen from Wine (Z: is the Unix root).
inline std::string PackagePath(const std::string& name) {
  return std::string(SKIN_PACKAGE_DIR) + "/" + name;
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file) << path;
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The skin as the portable reader gives it: what the component must end up with.
inline skin::SkinDefinition ReferenceDefinition(const std::vector<uint8_t>& package) {
  skin::SkinDefinition definition;
  skin::NullSkinReporter quiet;
  std::string error;
  EXPECT_TRUE(skin::LoadSkinPackage(package, definition, quiet, &error)) << error;
  return definition;
}

// The package with its container's format mark replaced.
inline std::vector<uint8_t> WithFormatMark(const std::vector<uint8_t>& package, int32_t mark) {
  std::vector<uint8_t> container = skin::LzhExpand(package);
  for (int i = 0; i < 4; ++i) container[i] = static_cast<uint8_t>(uint32_t(mark) >> (8 * i));
  return skin::LzhCompress(container);
}

inline COLORREF Resolve(skin::Colour c) {
  return skin::IsSystemColour(c) ? GetSysColor(skin::SystemColourIndex(c)) : COLORREF(c & 0xFFFFFF);
}

inline COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH lb{};
  if (!brush || GetObjectA(brush, sizeof lb, &lb) != sizeof lb) return CLR_INVALID;
  return lb.lbColor;
}

// Each test starts without a skin manager, as a fresh program does.
class FreshManager {
 public:
  FreshManager() { skin::FreeSkinManager(); }
  ~FreshManager() { skin::FreeSkinManager(); }
};

using Req = skin::ManagerRequest;

}  // namespace skintest
