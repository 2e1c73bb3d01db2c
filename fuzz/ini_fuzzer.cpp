// Parses arbitrary text as a skin definition's INI and looks up what the definition
// reader would, plus names taken from the text itself; checks the lookup rules that must
// hold for any text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "skin/data/colour_scheme.h"
#include "skin/data/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const skin::IniFile ini(text);
  size_t list_bytes = 1;
  for (const std::string& section : ini.SectionNames()) {
    list_bytes += section.size() + 1;
    if (!ini.SectionExists(section) || !ini.SectionExists(skin::UpperAscii(section))) std::abort();
    for (const char* key : {"Image", "Bitmap", "frame", "color", "Tile"}) {
      const std::string v = ini.ReadString(section, key, "\x01");
      if (v.size() > skin::IniFile::kMaxValueLength) std::abort();
      if (v != ini.ReadString(skin::UpperAscii(section), skin::UpperAscii(key), "\x01"))
        std::abort();
      ini.ReadInteger(section, key, -1);
      skin::ParseColourText(v, 0);
    }
  }
  if (list_bytes > skin::IniFile::kSectionListBytes) std::abort();
  // Integer and colour parsing of the raw text, too.
  skin::IniFile::ParseInteger(text.substr(0, 64));
  skin::ParseColourText(text.substr(0, 4096), 7);
  return 0;
}
