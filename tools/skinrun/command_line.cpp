#include "tools/skinrun/command_line.h"

namespace skinrun {

std::string QuoteArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
    return argument;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled and the quote escaped; others stay as they are.
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  // Before the closing quote every backslash is doubled.
  quoted.append(backslashes * 2, '\\');
  quoted += '"';
  return quoted;
}

std::string JoinCommandLine(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += ' ';
    line += QuoteArgument(argument);
  }
  return line;
}

namespace {

uint32_t Read16(std::span<const uint8_t> b, size_t at) {
  return at + 2 <= b.size() ? b[at] | (b[at + 1] << 8) : 0;
}
uint32_t Read32(std::span<const uint8_t> b, size_t at) {
  return at + 4 <= b.size() ? Read16(b, at) | (Read16(b, at + 2) << 16) : 0;
}

}  // namespace

ProgramKind ReadProgramKind(std::span<const uint8_t> head) {
  if (Read16(head, 0) != 0x5A4D) return ProgramKind::NotAProgram;  // "MZ"
  const uint32_t pe = Read32(head, 0x3C);
  if (pe > head.size() || Read32(head, pe) != 0x00004550) return ProgramKind::NotAProgram;
  const uint32_t machine = Read16(head, pe + 4);
  const uint32_t optional = pe + 24;
  const uint32_t magic = Read16(head, optional);
  // The subsystem sits at the same offset in both optional-header formats.
  const uint32_t subsystem = Read16(head, optional + 68);
  if (magic != 0x10B && magic != 0x20B) return ProgramKind::NotAProgram;
  if (subsystem == 3) return ProgramKind::Console;
  if (subsystem != 2) return ProgramKind::OtherPlatform;
  if (machine == 0x14C && magic == 0x10B) return ProgramKind::Gui32;
  if (machine == 0x8664 && magic == 0x20B) return ProgramKind::Gui64;
  return ProgramKind::OtherPlatform;
}

}  // namespace skinrun
