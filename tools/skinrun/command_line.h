#pragma once
// Portable parts of skinrun: the child's command line and what a program file is.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skinrun {

// One argument quoted so that the C runtime's command-line parser gives it back unchanged
// (backslashes are literal unless they precede a quote).
std::string QuoteArgument(const std::string& argument);
// The arguments, each quoted as needed, separated by spaces.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

enum class ProgramKind { NotAProgram, Gui32, Gui64, Console, OtherPlatform };
// What the first bytes of a file (its DOS and PE headers; 4 KiB are enough) say it is.
ProgramKind ReadProgramKind(std::span<const uint8_t> head);

}  // namespace skinrun
