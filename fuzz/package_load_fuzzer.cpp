// Package loading from arbitrary bytes, both as a package and as an expanded container:
// no crash, and a loaded package's entries are consistent with its size table and its
// drawn resolutions with their range.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "skin/data/skin_definition.h"
#include "skin/store/package_writer.h"
#include "skin/store/skin_reader.h"

namespace {

void Check(const skin::TSkinReader& reader) {
  size_t total = 0;
  std::vector<uint8_t> bytes;
  for (int i = 0; i < reader.EntryCount(); ++i) {
    const std::string& name = reader.Directory()[size_t(i)];
    if (reader.Entry(i).size() != size_t(reader.Sizes()[size_t(i)])) std::abort();
    total += reader.Entry(i).size();
    reader.GetEntryByName(name, bytes);
    const int first = reader.FindEntry(name);
    if (first < 0 || first > i) std::abort();
    if (bytes.size() != reader.Entry(first).size()) std::abort();
    skin::FetchImageEntry(reader, name, bytes);
    skin::FetchImageEntry(reader, "dir\\" + name, bytes);
  }
  if (total != reader.Data().size()) std::abort();
  std::string name;
  reader.GetEntryByPartName(".ini", bytes, name);
  const std::vector<int> dpis = skin::DrawnDpis(reader);
  for (size_t i = 0; i < dpis.size(); ++i)
    if (dpis[i] <= skin::kBaseDpi || dpis[i] > skin::kMaxSkinDpi || (i && dpis[i] <= dpis[i - 1]))
      std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  // Long expansions are the codec fuzzer's business; here they only slow the search.
  uint32_t length = 0;
  for (size_t i = 0; i < 4 && i < size; ++i) length |= uint32_t(data[i]) << (8 * i);
  const int first_mode = length > (1u << 13) ? 1 : 0;
  for (int as_container = first_mode; as_container < 2; ++as_container) {
    skin::RecordingSkinReporter reporter;
    skin::TSkinReader reader(reporter);
    try {
      const bool loaded = as_container ? reader.LoadContainer(input) : reader.Load(input);
      // The message goes exactly with a refused mark.
      if (loaded != reporter.messages.empty()) std::abort();
      if (loaded) Check(reader);
    } catch (const skin::PackageError&) {
    } catch (const skin::ElzhException&) {
    }
  }
  return 0;
}
