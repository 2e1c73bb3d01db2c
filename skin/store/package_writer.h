#pragma once
// Builds skin packages: the container layout described in skin/store/skin_reader.h,
// LZH-compressed. Names are written as given (the reader lower-cases them), each line of
// the directory ended by CR LF; the two unused header values are written as 0.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "skin/store/lzh_codec.h"

namespace skin {

struct PackageEntry {
  std::string name;
  std::vector<uint8_t> data;
};

// The container for `entries`, in their order. Throws PackageError for an empty name or
// one holding CR or LF, for more than kMaxSkinEntries entries, and for a container larger
// than the reader accepts (TLZH::kMaxExpandedLength).
std::vector<uint8_t> BuildContainer(std::span<const PackageEntry> entries);

// BuildContainer, then compressed: the bytes of a skin file.
std::vector<uint8_t> WritePackage(std::span<const PackageEntry> entries,
                                  const LzhCompressOptions& options = {});

}  // namespace skin
