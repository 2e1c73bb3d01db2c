#pragma once
// The skin package reader. A package is an LZH stream (skin/store/lzh_codec.h) whose
// expansion, the container, holds (all integers 32-bit little-endian):
//   0       format mark, 20000
//   4       L, the length of the directory text
//   8       two values the reader keeps but does not use
//   16      the directory text: one entry name per line (CR LF; a bare CR or LF also ends
//           a line), n lines
//   16+L    the size table: n sizes in directory order
//   ...     the entries' bytes back to back in directory order
// Entry names are lower-cased (ASCII letters) on loading; the first of equal names wins.
//
// Load expands only as far as it reads: the header, directory and size table, then an
// entry's bytes when they are first asked for. Entries expand in order, so asking for one
// expands every entry before it too; writers put what is needed less often at the end.
//
// Errors: a wrong format mark is the one problem shown to the user (through the
// SkinReporter) and makes Load return false. Every other fault of the container (a
// directory or size table reaching past its end, more than kMaxSkinEntries entries, a
// negative size, sizes that do not add up to the entry data) throws PackageError, and the
// codec's faults throw ElzhException. A failed load leaves the reader as it was.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "skin/store/lzh_codec.h"
#include "skin/store/skin_reporter.h"

namespace skin {

inline constexpr int32_t kSkinFormatMark = 20000;
inline constexpr size_t kContainerHeaderSize = 16;
// The size table of the format's readers holds this many entries; larger containers are
// refused rather than grown, so that every package this code accepts loads everywhere.
inline constexpr int kMaxSkinEntries = 1001;
inline constexpr std::string_view kOlderSkinFileMessage =
    "This is Older Skin File\rPlease update to new version !";

class PackageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ContainerHeader {
  int32_t format_mark = 0;
  int32_t directory_length = 0;
  int32_t reserved[2] = {0, 0};
};

class TSkinReader {
 public:
  explicit TSkinReader(SkinReporter& reporter = DefaultSkinReporter()) : reporter_(&reporter) {}

  // Loads the container `package` expands to (the expanded length it states; a final
  // match running past it is cut). False (after the message) if the format mark is not
  // 20000; exceptions as described above. The package is copied: the caller's bytes may go.
  // Only the header, directory and size table are expanded here, against the stated
  // length; the entries expand when asked for, which cannot fail (memory for the whole
  // container is taken here).
  bool Load(std::span<const uint8_t> package);
  // The same for a container that is already expanded.
  bool LoadContainer(std::span<const uint8_t> container);

  // Copies the first entry named `name` (compared in lower case) into `destination`;
  // leaves it empty if there is none.
  void GetEntryByName(std::string_view name, std::vector<uint8_t>& destination) const;
  // Copies the first entry whose name contains `pattern` (not lower-cased: give it in
  // lower case) and sets `name` to that entry's name. If none matches, `destination` is
  // empty, `name` is left alone and the result is false.
  bool GetEntryByPartName(std::string_view pattern, std::vector<uint8_t>& destination,
                          std::string& name) const;

  // Index of the first entry named `name` (compared in lower case), or -1.
  int FindEntry(std::string_view name) const;
  int EntryCount() const { return int(directory_.size()); }
  const std::vector<std::string>& Directory() const { return directory_; }
  const std::vector<int32_t>& Sizes() const { return sizes_; }
  // The spans below stay valid until the next successful load.
  std::span<const uint8_t> Entry(int index) const;
  // The bytes of all entries (so all of them are expanded).
  std::span<const uint8_t> Data() const;
  const ContainerHeader& Header() const { return header_; }

 private:
  // Checks the container and takes its header, directory and size table; `data_start` is
  // where the entries begin. The entries' bytes are the caller's to keep. `container` is
  // the whole container's length; with an expander, each of its bytes is expanded into it
  // before it is read.
  bool ReadContainer(std::span<const uint8_t> container, LzhExpander* expander, size_t& data_start);
  // Makes the container's first `end` bytes (at most its length) valid.
  void ExpandTo(size_t end) const;

  SkinReporter* reporter_;
  std::vector<std::string> directory_;
  std::vector<int32_t> sizes_;
  std::vector<size_t> offsets_;  // where each entry starts in Data()
  // The container from Load (header and directory before the entries, and room for the
  // codec past its end) or the entries' bytes from LoadContainer; its whole length is
  // allocated at once, so it never moves while it fills.
  std::unique_ptr<uint8_t[]> storage_;
  size_t data_start_ = 0;  // where the entries begin in storage_
  size_t size_ = 0;        // the bytes of storage_ that belong to the container
  // Expansion on demand, done from the const accessors: mutable, so a reader is not to be
  // used from two threads at once even through const references. `expanded_` bytes of
  // storage_ are valid; the expander and its copy of the package go once all of it is.
  mutable size_t expanded_ = 0;
  mutable std::unique_ptr<LzhExpander> expander_;
  mutable std::vector<uint8_t> package_;
  ContainerHeader header_;
};

// The container a package holds: its LZH expansion, cut to the length the stream states
// (a final match may run past it). Throws ElzhException.
std::vector<uint8_t> ExpandPackage(std::span<const uint8_t> package);

// Fetches the bytes of the bitmap an image key names, by the rules of the skin
// definition: the file-name part of the value (after the last '\' or ':') must be
// non-empty and end in exactly ".bmp" (an extension in capitals does not pass); that name
// is then looked up in lower case. False, with `out` empty, if the rules refuse the name,
// the entry is missing or it is empty.
bool FetchImageEntry(const TSkinReader& reader, std::string_view image_name,
                     std::vector<uint8_t>& out);
// The entry name FetchImageEntry would look up for `image_name`, or empty if refused.
std::string_view ImageEntryName(std::string_view image_name);

// ASCII-only lower-casing, as the container's names use.
std::string AsciiLower(std::string_view text);
// Splits text into lines: CR LF, a bare CR or a bare LF ends a line; a last line without
// an end counts; an empty text has no lines. Stops after `max_lines` lines.
std::vector<std::string> SplitLines(std::string_view text, size_t max_lines = SIZE_MAX);

}  // namespace skin
