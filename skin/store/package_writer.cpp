#include "skin/store/package_writer.h"

#include "skin/store/skin_reader.h"

namespace skin {

namespace {

void PutInt32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> BuildContainer(std::span<const PackageEntry> entries) {
  if (entries.size() > size_t(kMaxSkinEntries)) {
    throw PackageError(std::to_string(entries.size()) + " entries are more than the " +
                       std::to_string(kMaxSkinEntries) + " a package may hold");
  }
  std::string directory;
  uint64_t total = kContainerHeaderSize;
  for (const PackageEntry& entry : entries) {
    if (entry.name.empty()) throw PackageError("an entry has an empty name");
    if (entry.name.find_first_of("\r\n") != std::string::npos)
      throw PackageError("entry name '" + entry.name + "' holds a line break");
    directory += entry.name;
    directory += "\r\n";
    total += 4 + uint64_t(entry.data.size());
  }
  total += directory.size();
  if (total > uint64_t(TLZH::kMaxExpandedLength)) {
    throw PackageError("the container would be " + std::to_string(total) +
                       " bytes, more than the " + std::to_string(TLZH::kMaxExpandedLength) +
                       " a package may expand to");
  }
  std::vector<uint8_t> out;
  out.reserve(size_t(total));
  PutInt32(out, uint32_t(kSkinFormatMark));
  PutInt32(out, uint32_t(directory.size()));
  PutInt32(out, 0);
  PutInt32(out, 0);
  out.insert(out.end(), directory.begin(), directory.end());
  for (const PackageEntry& entry : entries) PutInt32(out, uint32_t(entry.data.size()));
  for (const PackageEntry& entry : entries)
    out.insert(out.end(), entry.data.begin(), entry.data.end());
  return out;
}

std::vector<uint8_t> WritePackage(std::span<const PackageEntry> entries,
                                  const LzhCompressOptions& options) {
  return LzhCompress(BuildContainer(entries), options);
}

}  // namespace skin
