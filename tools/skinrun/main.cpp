// skinrun: starts a program with the skin engine. The program is created suspended, its
// main thread gets the engine DLL's WH_CBT and WH_GETMESSAGE hooks (which load the DLL into
// it and start the engine there at its first window), and it is resumed; skinrun waits for
// it to end and returns its exit code. Only the process skinrun started is hooked.
//
// Whatever goes wrong before the program runs (a bad skin file, a console program, a
// missing DLL) is one line on stderr; the program then runs unskinned and skinrun ends with
// status 1. A program that cannot be started at all also gives status 1.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "skin/data/skin_definition.h"
#include "skin/store/skin_reporter.h"
#include "tools/skinrun/command_line.h"

namespace {

constexpr const char* kUsage =
    "usage: skinrun [--skin FILE.skn|metallic|dark] [--] PROGRAM [ARGS...]\n"
    "\n"
    "Starts PROGRAM (a 32-bit Windows GUI program; searched like a command) with its windows,\n"
    "menus, dialogs, message boxes and standard controls drawn by the skin engine, waits for\n"
    "it to end and returns its exit code. The skin is the built-in metallic one, the\n"
    "built-in dark one, or the package FILE.skn. skin_engine.dll must be next to skinrun.exe.\n"
    "\n"
    "When the skin file is bad, the program is not a GUI program or the engine cannot be\n"
    "loaded, skinrun says so in one line, runs the program unskinned and returns 1.\n";

DWORD g_child_thread = 0;
UINT g_control_message = 0;

bool IsBuiltInSkin(const std::string& name) { return name == "metallic" || name == "dark"; }

// Ctrl+C or a closed console: the engine is asked to give everything back before skinrun's
// hooks go with it; the program itself runs on.
BOOL WINAPI OnConsoleEvent(DWORD) {
  if (g_child_thread && g_control_message)
    PostThreadMessageA(g_child_thread, g_control_message, 1 /*stop*/, 0);
  Sleep(1000);
  return FALSE;
}

std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return n > 0 && n < sizeof full ? std::string(full, n) : path;
}

std::optional<std::string> FindProgram(const std::string& name) {
  char found[MAX_PATH];
  const DWORD n = SearchPathA(nullptr, name.c_str(), ".exe", sizeof found, found, nullptr);
  if (n == 0 || n >= sizeof found) return std::nullopt;
  return std::string(found, n);
}

skinrun::ProgramKind KindOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> head(4096);
  file.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(file.gcount()));
  return skinrun::ReadProgramKind(head);
}

// An empty text when the package loads; otherwise why not.
std::string CheckSkinFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return "cannot be read";
  const std::streamoff size = file.tellg();
  if (size <= 0 || size > 64 * 1024 * 1024) return "not a skin package";
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  file.seekg(0);
  if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) return "cannot be read";
  skin::SkinDefinition definition;
  skin::NullSkinReporter quiet;
  std::string error;
  if (skin::LoadSkinPackage(bytes, definition, quiet, &error)) return "";
  return error.empty() ? "not a skin package" : error;
}

std::string EngineDllPath() {
  char exe[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
  std::string path(exe, n < sizeof exe ? n : 0);
  const size_t slash = path.find_last_of("\\/");
  path = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return path + "skin_engine.dll";
}

}  // namespace

int main(int argc, char** argv) {
  std::string skin_file;
  std::vector<std::string> command;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (command.empty() && (arg == "--help" || arg == "-h" || arg == "/?")) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (command.empty() && arg == "--skin" && i + 1 < argc) {
      skin_file = argv[++i];
    } else if (command.empty() && arg == "--") {
      for (++i; i < argc; ++i) command.emplace_back(argv[i]);
    } else if (command.empty() && arg.starts_with("--")) {
      std::fprintf(stderr, "skinrun: unknown option %s (skinrun --help)\n", arg.c_str());
      return 2;
    } else {
      command.push_back(arg);
    }
  }
  if (command.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }

  const std::optional<std::string> program = FindProgram(command[0]);
  if (!program) {
    std::fprintf(stderr, "skinrun: %s: program not found\n", command[0].c_str());
    return 1;
  }
  // Problems that leave the program unskinned, first found first said.
  std::string problem;
  const skinrun::ProgramKind kind = KindOf(*program);
  const skinrun::ProgramKind own =
      sizeof(void*) == 8 ? skinrun::ProgramKind::Gui64 : skinrun::ProgramKind::Gui32;
  if (kind == skinrun::ProgramKind::NotAProgram) {
    std::fprintf(stderr, "skinrun: %s: not a Windows program\n", program->c_str());
    return 1;
  }
  if (kind == skinrun::ProgramKind::Console) {
    problem = *program + ": not a GUI program";
  } else if (kind != own) {
    problem = *program + (own == skinrun::ProgramKind::Gui32 ? ": not a 32-bit GUI program"
                                                             : ": not a 64-bit GUI program");
  }
  if (problem.empty() && !skin_file.empty() && !IsBuiltInSkin(skin_file)) {
    const std::string fault = CheckSkinFile(skin_file);
    if (!fault.empty()) problem = skin_file + ": " + fault;
  }
  HMODULE engine = nullptr;
  HOOKPROC cbt = nullptr;
  HOOKPROC messages = nullptr;
  if (problem.empty()) {
    engine = LoadLibraryA(EngineDllPath().c_str());
    if (engine) {
      cbt = reinterpret_cast<HOOKPROC>(
          reinterpret_cast<void*>(GetProcAddress(engine, "SkinEngineCbtProc")));
      messages = reinterpret_cast<HOOKPROC>(
          reinterpret_cast<void*>(GetProcAddress(engine, "SkinEngineMessageProc")));
      auto control_message = reinterpret_cast<UINT(__cdecl*)()>(
          reinterpret_cast<void*>(GetProcAddress(engine, "SkinEngineControlMessage")));
      if (control_message) g_control_message = control_message();
    }
    if (!cbt || !messages || !g_control_message) problem = EngineDllPath() + ": cannot be loaded";
  }

  if (!skin_file.empty() && problem.empty()) {
    const std::string skin = IsBuiltInSkin(skin_file) ? skin_file : FullPath(skin_file);
    SetEnvironmentVariableA("SKIN_ENGINE_SKIN", skin.c_str());
  } else {
    SetEnvironmentVariableA("SKIN_ENGINE_SKIN", nullptr);
  }
  command[0] = *program;
  std::string line = skinrun::JoinCommandLine(command);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program->c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, nullptr, &startup, &process)) {
    std::fprintf(stderr, "skinrun: %s: cannot be started (error %lu)\n", program->c_str(),
                 static_cast<unsigned long>(GetLastError()));
    return 1;
  }
  HHOOK cbt_hook = nullptr;
  HHOOK message_hook = nullptr;
  if (problem.empty()) {
    cbt_hook = SetWindowsHookExA(WH_CBT, cbt, engine, process.dwThreadId);
    message_hook = SetWindowsHookExA(WH_GETMESSAGE, messages, engine, process.dwThreadId);
    if (!cbt_hook || !message_hook) problem = "the program's thread cannot be hooked";
  }
  if (!problem.empty()) {
    if (cbt_hook) UnhookWindowsHookEx(cbt_hook);
    if (message_hook) UnhookWindowsHookEx(message_hook);
    cbt_hook = message_hook = nullptr;
    std::fprintf(stderr, "skinrun: %s; running it unskinned\n", problem.c_str());
  } else {
    g_child_thread = process.dwThreadId;
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
  }
  ResumeThread(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exit_code = 1;
  GetExitCodeProcess(process.hProcess, &exit_code);
  g_child_thread = 0;
  if (cbt_hook) UnhookWindowsHookEx(cbt_hook);
  if (message_hook) UnhookWindowsHookEx(message_hook);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return problem.empty() ? static_cast<int>(exit_code) : 1;
}
