#include "skin/store/skin_reader.h"

#include <algorithm>

namespace skin {

namespace {

int32_t ReadInt32(std::span<const uint8_t> bytes, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= uint32_t(bytes[offset + i]) << (8 * i);
  return int32_t(value);
}

std::string Quoted(std::string_view name) { return "'" + std::string(name) + "'"; }

}  // namespace

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return lower;
}

std::vector<std::string> SplitLines(std::string_view text, size_t max_lines) {
  std::vector<std::string> lines;
  size_t p = 0;
  while (p < text.size() && lines.size() < max_lines) {
    const size_t start = p;
    while (p < text.size() && text[p] != '\r' && text[p] != '\n') ++p;
    lines.emplace_back(text.substr(start, p - start));
    if (p < text.size() && text[p] == '\r') ++p;
    if (p < text.size() && text[p] == '\n') ++p;
  }
  return lines;
}

std::vector<uint8_t> ExpandPackage(std::span<const uint8_t> package) {
  std::vector<uint8_t> container = LzhExpand(package);
  // A final match may run past the stated length; the length is what the container holds.
  uint32_t length = 0;
  for (size_t i = 0; i < 4 && i < package.size(); ++i) length |= uint32_t(package[i]) << (8 * i);
  if (container.size() > length) container.resize(length);
  return container;
}

bool TSkinReader::Load(std::span<const uint8_t> package) {
  std::vector<uint8_t> copy(package.begin(), package.end());
  auto expander = std::make_unique<LzhExpander>(copy);
  std::unique_ptr<uint8_t[]> storage = expander->NewOutput();
  const size_t size = size_t(expander->Length());
  size_t start = 0;
  if (!ReadContainer(std::span<const uint8_t>(storage.get(), size), expander.get(), start))
    return false;
  storage_ = std::move(storage);
  data_start_ = start;
  size_ = size;
  expanded_ = size_t(std::min(expander->Expanded(), expander->Length()));
  expander_ = std::move(expander);
  package_ = std::move(copy);
  ExpandTo(0);  // lets go of the expander if the table ended the container
  return true;
}

bool TSkinReader::LoadContainer(std::span<const uint8_t> container) {
  size_t start = 0;
  if (!ReadContainer(container, nullptr, start)) return false;
  const size_t size = container.size() - start;
  storage_ = std::make_unique<uint8_t[]>(size);
  std::copy(container.begin() + std::ptrdiff_t(start), container.end(), storage_.get());
  data_start_ = 0;
  size_ = expanded_ = size;
  expander_.reset();
  package_.clear();
  return true;
}

void TSkinReader::ExpandTo(size_t end) const {
  if (end > expanded_ && expander_)
    expanded_ =
        size_t(std::min(expander_->ExpandTo(storage_.get(), int64_t(end)), expander_->Length()));
  if (expanded_ >= size_ && expander_) {
    expander_.reset();
    package_ = {};
  }
}

bool TSkinReader::ReadContainer(std::span<const uint8_t> container, LzhExpander* expander,
                                size_t& data_start_out) {
  const size_t size = container.size();
  uint8_t* const out = const_cast<uint8_t*>(container.data());
  // The container's first `end` bytes, expanded if they come from the package.
  auto need = [&](size_t end) {
    if (expander) expander->ExpandTo(out, int64_t(end));
  };
  ContainerHeader header;
  need(kContainerHeaderSize);
  header.format_mark = size >= 4 ? ReadInt32(container, 0) : 0;
  if (header.format_mark != kSkinFormatMark) {
    reporter_->ShowMessage(kOlderSkinFileMessage);
    return false;
  }
  if (size < kContainerHeaderSize) {
    throw PackageError("container of " + std::to_string(size) +
                       " bytes is shorter than its 16-byte header");
  }
  header.directory_length = ReadInt32(container, 4);
  header.reserved[0] = ReadInt32(container, 8);
  header.reserved[1] = ReadInt32(container, 12);

  const int64_t directory_length = header.directory_length;
  if (directory_length < 0) {
    throw PackageError("directory length " + std::to_string(directory_length) + " is negative");
  }
  if (directory_length > int64_t(size - kContainerHeaderSize)) {
    throw PackageError("directory of " + std::to_string(directory_length) +
                       " bytes reaches past the end of the " + std::to_string(size) +
                       "-byte container");
  }
  const size_t table = kContainerHeaderSize + size_t(directory_length);
  need(table);
  const std::string_view text(
      reinterpret_cast<const char*>(container.data()) + kContainerHeaderSize,
      size_t(directory_length));
  // One line past the limit is enough to refuse, and keeps a directory of a million empty
  // lines from becoming a million strings.
  std::vector<std::string> directory = SplitLines(AsciiLower(text), size_t(kMaxSkinEntries) + 1);
  const size_t count = directory.size();
  if (count > size_t(kMaxSkinEntries)) {
    throw PackageError("directory lists more than the " + std::to_string(kMaxSkinEntries) +
                       " entries a package may hold");
  }
  if (4 * count > size - table) {
    throw PackageError("size table of " + std::to_string(count) +
                       " entries reaches past the end of the " + std::to_string(size) +
                       "-byte container");
  }
  const size_t data_start = table + 4 * count;
  need(data_start);
  std::vector<int32_t> sizes(count);
  std::vector<size_t> offsets(count);
  const size_t data_size = size - data_start;
  uint64_t total = 0;
  for (size_t i = 0; i < count; ++i) {
    sizes[i] = ReadInt32(container, table + 4 * i);
    if (sizes[i] < 0) {
      throw PackageError("entry " + std::to_string(i) + " " + Quoted(directory[i]) +
                         " has a negative size (" + std::to_string(sizes[i]) + ")");
    }
    offsets[i] = size_t(total);
    total += uint64_t(sizes[i]);
  }
  if (total != data_size) {
    throw PackageError("the entry sizes add up to " + std::to_string(total) +
                       " bytes but the container holds " + std::to_string(data_size) +
                       " bytes of entry data");
  }

  header_ = header;
  directory_ = std::move(directory);
  sizes_ = std::move(sizes);
  offsets_ = std::move(offsets);
  data_start_out = data_start;
  return true;
}

std::span<const uint8_t> TSkinReader::Entry(int index) const {
  if (index < 0 || index >= EntryCount()) return {};
  const size_t offset = data_start_ + offsets_[size_t(index)];
  const size_t size = size_t(sizes_[size_t(index)]);
  ExpandTo(offset + size);
  return std::span<const uint8_t>(storage_.get() + offset, size);
}

std::span<const uint8_t> TSkinReader::Data() const {
  ExpandTo(size_);
  return std::span<const uint8_t>(storage_.get() + data_start_, size_ - data_start_);
}

int TSkinReader::FindEntry(std::string_view name) const {
  const std::string lower = AsciiLower(name);
  const auto it = std::find(directory_.begin(), directory_.end(), lower);
  return it == directory_.end() ? -1 : int(it - directory_.begin());
}

void TSkinReader::GetEntryByName(std::string_view name, std::vector<uint8_t>& destination) const {
  const std::span<const uint8_t> entry = Entry(FindEntry(name));
  destination.assign(entry.begin(), entry.end());
}

bool TSkinReader::GetEntryByPartName(std::string_view pattern, std::vector<uint8_t>& destination,
                                     std::string& name) const {
  destination.clear();
  for (size_t i = 0; i < directory_.size(); ++i) {
    if (directory_[i].find(pattern) == std::string::npos) continue;
    const std::span<const uint8_t> entry = Entry(int(i));
    destination.assign(entry.begin(), entry.end());
    name = directory_[i];
    return true;
  }
  return false;
}

std::string_view ImageEntryName(std::string_view image_name) {
  const size_t separator = image_name.find_last_of("\\:");
  const std::string_view file =
      separator == std::string_view::npos ? image_name : image_name.substr(separator + 1);
  const size_t dot = file.rfind('.');
  if (file.empty() || dot == std::string_view::npos || file.substr(dot) != ".bmp") return {};
  return file;
}

bool FetchImageEntry(const TSkinReader& reader, std::string_view image_name,
                     std::vector<uint8_t>& out) {
  out.clear();
  const std::string_view entry_name = ImageEntryName(image_name);
  if (entry_name.empty()) return false;
  reader.GetEntryByName(entry_name, out);
  return !out.empty();
}

}  // namespace skin
