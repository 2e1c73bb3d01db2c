// The package commands: pack, unpack, list, verify, lzh-compress and lzh-expand.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "skin/data/skin_definition.h"
#include "skin/store/lzh_codec.h"
#include "skin/store/package_writer.h"
#include "skin/store/skin_reader.h"
#include "tools/skinpack/commands.h"

namespace skinpack {

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// A fault of the input: reported as one line naming the file, exit status 1.
struct Failure {
  std::string file;
  std::string what;
};

[[noreturn]] void Fail(const fs::path& file, std::string what) {
  throw Failure{file.string(), std::move(what)};
}

int Usage(const char* command, const char* usage) {
  std::fprintf(stderr, "usage: skinpack %s %s   (skinpack %s --help for more)\n", command, usage,
               command);
  return 2;
}

// Exactly `count` arguments and no options.
bool ArgsFit(const Args& args, size_t count) {
  if (args.size() != count) return false;
  return std::none_of(args.begin(), args.end(),
                      [](const std::string& a) { return a.size() > 1 && a[0] == '-'; });
}

template <typename Body>
int Run(Body body) {
  try {
    body();
    return 0;
  } catch (const Failure& failure) {
    std::fprintf(stderr, "skinpack: %s: %s\n", failure.file.c_str(), failure.what.c_str());
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "skinpack: out of memory\n");
  }
  return 1;
}

Bytes ReadFile(const fs::path& path) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) Fail(path, "is a folder, not a file");
  FILE* f = std::fopen(path.string().c_str(), "rb");
  if (!f) Fail(path, std::string("cannot open: ") + std::strerror(errno));
  Bytes bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) Fail(path, "read error");
  return bytes;
}

void WriteFile(const fs::path& path, std::span<const uint8_t> bytes) {
  FILE* f = std::fopen(path.string().c_str(), "wb");
  if (!f) Fail(path, std::string("cannot create: ") + std::strerror(errno));
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) Fail(path, "write error (disk full?)");
}

std::string OneLine(std::string_view text) {
  std::string line(text);
  std::replace(line.begin(), line.end(), '\r', ' ');
  std::replace(line.begin(), line.end(), '\n', ' ');
  return line;
}

// Loads a package file; every fault of it becomes a Failure naming the file. The
// wrong-format message comes through the reporter and is printed as the failure.
void LoadPackage(const fs::path& path, skin::TSkinReader& reader,
                 skin::RecordingSkinReporter& reporter) {
  const Bytes package = ReadFile(path);
  Bytes container;
  try {
    container = skin::ExpandPackage(package);
  } catch (const skin::ElzhException& e) {
    Fail(path, std::string("not a skin package: ") + e.what());
  }
  try {
    if (!reader.LoadContainer(container)) {
      int32_t mark = 0;
      for (size_t i = 0; i < 4 && i < container.size(); ++i)
        mark |= int32_t(container[i]) << (8 * i);
      Fail(path, "format mark " + std::to_string(mark) + " is not " +
                     std::to_string(skin::kSkinFormatMark) + ": " +
                     OneLine(reporter.messages.empty() ? "" : reporter.messages.back()));
    }
  } catch (const skin::PackageError& e) {
    Fail(path, e.what());
  }
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The image keys of a definition: every `key=value` line whose value ends in ".bmp" in
// any case (values in capitals are caught so that verify can say the engine refuses them).
struct ImageKey {
  std::string section;
  std::string key;
  std::string value;
};

std::vector<ImageKey> ScanImageKeys(std::string_view text) {
  std::vector<ImageKey> keys;
  std::string section;
  for (const std::string& raw : skin::SplitLines(text)) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      if (close != std::string_view::npos) section = std::string(Trim(line.substr(1, close - 1)));
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, eq));
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    if (key.empty() || !EndsWith(skin::AsciiLower(value), ".bmp")) continue;
    keys.push_back({section, std::string(key), std::string(value)});
  }
  return keys;
}

// A directory name that can be written into a folder as it is.
bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20;
  });
}

}  // namespace

int RunPack(const Args& args) {
  if (!ArgsFit(args, 2)) return Usage("pack", "DIR OUT");
  return Run([&] {
    const fs::path dir = args[0];
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) Fail(dir, "is not a folder");
    std::vector<fs::path> definitions, bitmaps;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
      if (!entry.is_regular_file()) continue;
      const std::string extension = skin::AsciiLower(entry.path().extension().string());
      if (extension == ".ini") definitions.push_back(entry.path());
      if (extension == ".bmp") bitmaps.push_back(entry.path());
    }
    if (ec) Fail(dir, "cannot list: " + ec.message());
    if (definitions.size() != 1) {
      std::string names;
      for (const fs::path& p : definitions)
        names += (names.empty() ? "" : ", ") + p.filename().string();
      Fail(dir, definitions.empty()
                    ? std::string("holds no skin definition (*.ini)")
                    : "holds " + std::to_string(definitions.size()) + " skin definitions (" +
                          names + "); a package takes exactly one");
    }
    // Art drawn for other resolutions goes last, by resolution: a reader expands entries in
    // order, and one at 96 DPI stops before it.
    auto drawn_dpi = [](const fs::path& p) {
      return skin::DrawnDpiOf(skin::AsciiLower(p.filename().string()));
    };
    std::sort(bitmaps.begin(), bitmaps.end(), [&](const fs::path& a, const fs::path& b) {
      const int da = drawn_dpi(a), db = drawn_dpi(b);
      return da != db ? da < db : a < b;
    });
    std::vector<skin::PackageEntry> entries;
    std::set<std::string> seen;
    size_t total = 0;
    entries.push_back({definitions[0].filename().string(), ReadFile(definitions[0])});
    for (const fs::path& path : bitmaps)
      entries.push_back({path.filename().string(), ReadFile(path)});
    for (const skin::PackageEntry& entry : entries) {
      if (!seen.insert(skin::AsciiLower(entry.name)).second)
        Fail(dir, "holds two files named '" + skin::AsciiLower(entry.name) +
                      "' when case is ignored, as the package compares names");
      total += entry.data.size();
    }
    Bytes package;
    try {
      package = skin::WritePackage(entries);
    } catch (const skin::PackageError& e) {
      Fail(dir, e.what());
    } catch (const skin::ElzhException& e) {
      Fail(dir, e.what());
    }
    WriteFile(args[1], package);
    std::printf("%s: %zu entries, %zu bytes packed into %zu bytes\n", args[1].c_str(),
                entries.size(), total, package.size());
  });
}

int RunUnpack(const Args& args) {
  if (!ArgsFit(args, 2)) return Usage("unpack", "PKG DIR");
  return Run([&] {
    skin::RecordingSkinReporter reporter;
    skin::TSkinReader reader(reporter);
    LoadPackage(args[0], reader, reporter);
    for (const std::string& name : reader.Directory()) {
      if (!IsPlainFileName(name))
        Fail(args[0], "entry '" + OneLine(name) + "' is not a plain file name; nothing written");
    }
    const fs::path dir = args[1];
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) Fail(dir, "cannot create the folder");
    std::set<std::string> written;
    for (int i = 0; i < reader.EntryCount(); ++i) {
      const std::string& name = reader.Directory()[size_t(i)];
      // Only the first of equal names is reachable; a later one would overwrite it.
      if (!written.insert(name).second) {
        std::fprintf(stderr, "skinpack: %s: entry '%s' repeats; kept the first\n", args[0].c_str(),
                     name.c_str());
        continue;
      }
      WriteFile(dir / name, reader.Entry(i));
    }
  });
}

int RunList(const Args& args) {
  if (!ArgsFit(args, 1)) return Usage("list", "PKG");
  return Run([&] {
    skin::RecordingSkinReporter reporter;
    skin::TSkinReader reader(reporter);
    LoadPackage(args[0], reader, reporter);
    for (int i = 0; i < reader.EntryCount(); ++i)
      std::printf("%10d  %s\n", reader.Sizes()[size_t(i)], reader.Directory()[size_t(i)].c_str());
  });
}

int RunVerify(const Args& args) {
  if (!ArgsFit(args, 1)) return Usage("verify", "PKG");
  return Run([&] {
    const fs::path path = args[0];
    skin::RecordingSkinReporter reporter;
    skin::TSkinReader reader(reporter);
    LoadPackage(path, reader, reporter);  // mark, directory, size table against the data

    const std::vector<std::string>& names = reader.Directory();
    const long definitions = std::count_if(
        names.begin(), names.end(), [](const std::string& n) { return EndsWith(n, ".ini"); });
    if (definitions != 1)
      Fail(path, definitions == 0 ? std::string("holds no skin definition (*.ini)")
                                  : "holds " + std::to_string(definitions) +
                                        " skin definitions; a package takes exactly one");
    // The engine takes the first entry whose name contains ".ini" as the definition.
    Bytes definition;
    std::string definition_name;
    reader.GetEntryByPartName(".ini", definition, definition_name);
    if (!EndsWith(definition_name, ".ini"))
      Fail(path, "entry '" + definition_name +
                     "' comes before the definition and contains \".ini\"; the engine would "
                     "read it as the definition");

    std::vector<std::string> problems;
    const std::vector<ImageKey> keys = ScanImageKeys(
        std::string_view(reinterpret_cast<const char*>(definition.data()), definition.size()));
    for (const ImageKey& k : keys) {
      const std::string where = "[" + k.section + "] " + k.key + "=" + k.value;
      const std::string_view entry = skin::ImageEntryName(k.value);
      const int index = entry.empty() ? -1 : reader.FindEntry(entry);
      if (entry.empty())
        problems.push_back(where +
                           ": the extension is not exactly \".bmp\", so the image stays empty");
      else if (index < 0)
        problems.push_back(where + ": names '" + skin::AsciiLower(entry) +
                           "', which the package does not hold");
      else if (reader.Entry(index).empty())
        problems.push_back(where + ": entry '" + skin::AsciiLower(entry) + "' is empty");
    }
    if (!problems.empty()) {
      Fail(path,
           definition_name + " " + problems[0] +
               (problems.size() > 1 ? " (and " + std::to_string(problems.size() - 1) + " more)"
                                    : std::string()));
    }
    std::printf("%s: ok: %d entries, definition %s, %zu image keys\n", args[0].c_str(),
                reader.EntryCount(), definition_name.c_str(), keys.size());
  });
}

int RunLzhCompress(const Args& args) {
  if (!ArgsFit(args, 2)) return Usage("lzh-compress", "IN OUT");
  return Run([&] {
    const Bytes input = ReadFile(args[0]);
    Bytes output;
    try {
      output = skin::LzhCompress(input);
    } catch (const skin::ElzhException& e) {
      Fail(args[0], e.what());
    }
    WriteFile(args[1], output);
  });
}

int RunLzhExpand(const Args& args) {
  if (!ArgsFit(args, 2)) return Usage("lzh-expand", "IN OUT");
  return Run([&] {
    const Bytes input = ReadFile(args[0]);
    Bytes output;
    try {
      output = skin::LzhExpand(input);
    } catch (const skin::ElzhException& e) {
      Fail(args[0], e.what());
    }
    WriteFile(args[1], output);
  });
}

}  // namespace skinpack
