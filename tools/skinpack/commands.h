#pragma once
// The skinpack commands. Each takes the arguments after its name and returns the exit
// status: 0 success, 1 bad input (one line on stderr naming the file and the fault),
// 2 wrong usage.
#include <string>
#include <vector>

namespace skinpack {

using Args = std::vector<std::string>;

struct Command {
  const char* name;
  const char* usage;    // the arguments, e.g. "DIR OUT"
  const char* summary;  // one line for the command list
  const char* help;     // the full text printed by `skinpack NAME --help`
  int (*run)(const Args& args);
};

// Defined in package_commands.cpp.
int RunPack(const Args& args);
int RunUnpack(const Args& args);
int RunList(const Args& args);
int RunVerify(const Args& args);
int RunLzhCompress(const Args& args);
int RunLzhExpand(const Args& args);
// Defined in info_command.cpp.
int RunInfo(const Args& args);
// Defined in preview_command.cpp.
int RunPreview(const Args& args);

// The table of all commands, in the order `skinpack --help` lists them.
const std::vector<Command>& Commands();

}  // namespace skinpack
