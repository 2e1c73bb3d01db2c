// skinrun: starts a program with the skin engine. The program is created suspended, its
// main thread gets the engine DLL's WH_CBT and WH_GETMESSAGE hooks (which load the DLL into
// it and start the engine there at its first window), and it is resumed; skinrun waits for
// it to end and returns its exit code, hooking each thread the program starts meanwhile
// (the engine skins one GUI thread: the main thread when it makes a window, otherwise the
// first thread that shows one). Only the process skinrun started is hooked.
//
// Whatever goes wrong before the program runs (a bad skin file, a console program, a
// missing DLL) is one line on stderr; the program then runs unskinned and skinrun ends with
// status 1. A program that cannot be started at all also gives status 1.
#include <windows.h>
#include <tlhelp32.h>

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

UINT g_control_message = 0;

// The engine's hooks in each thread of the program, the main thread first. Thread ids are
// published to the console handler, which runs on a thread of its own.
class ThreadHooks {
 public:
  ThreadHooks(HMODULE engine, HOOKPROC cbt, HOOKPROC messages, HOOKPROC later_cbt,
              HOOKPROC later_messages)
      : engine_(engine),
        cbt_(cbt),
        messages_(messages),
        later_cbt_(later_cbt),
        later_messages_(later_messages) {
    InitializeCriticalSection(&lock_);
  }
  ~ThreadHooks() {
    for (const Hooked& h : hooked_) {
      if (h.cbt) UnhookWindowsHookEx(h.cbt);
      if (h.messages) UnhookWindowsHookEx(h.messages);
    }
    DeleteCriticalSection(&lock_);
  }
  ThreadHooks(const ThreadHooks&) = delete;
  ThreadHooks& operator=(const ThreadHooks&) = delete;

  // Both hooks on the thread (the main thread's, or those of a thread started later); false
  // (and neither kept) when either cannot be set.
  bool Hook(DWORD thread_id, bool main_thread) {
    Hooked h{thread_id,
             SetWindowsHookExA(WH_CBT, main_thread ? cbt_ : later_cbt_, engine_, thread_id),
             SetWindowsHookExA(WH_GETMESSAGE, main_thread ? messages_ : later_messages_, engine_,
                               thread_id)};
    const bool both = h.cbt && h.messages;
    if (!both) {
      if (h.cbt) UnhookWindowsHookEx(h.cbt);
      if (h.messages) UnhookWindowsHookEx(h.messages);
      h.cbt = h.messages = nullptr;
    }
    EnterCriticalSection(&lock_);
    hooked_.push_back(h);  // a thread that cannot be hooked is not tried again
    LeaveCriticalSection(&lock_);
    return both;
  }

  // Hooks the threads of the process that are not hooked yet.
  void HookNewThreads(DWORD process_id) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
      if (entry.th32OwnerProcessID == process_id && !Knows(entry.th32ThreadID))
        Hook(entry.th32ThreadID, false);
      entry.dwSize = sizeof entry;
    }
    CloseHandle(snapshot);
  }

  // The engine's control message to every hooked thread: the one running the engine takes
  // it, the others let it go.
  void PostToAll(WPARAM what) {
    EnterCriticalSection(&lock_);
    for (const Hooked& h : hooked_)
      if (h.cbt) PostThreadMessageA(h.thread_id, g_control_message, what, 0);
    LeaveCriticalSection(&lock_);
  }

 private:
  struct Hooked {
    DWORD thread_id;
    HHOOK cbt;
    HHOOK messages;
  };
  bool Knows(DWORD thread_id) const {
    for (const Hooked& h : hooked_)
      if (h.thread_id == thread_id) return true;
    return false;
  }

  HMODULE engine_;
  HOOKPROC cbt_;
  HOOKPROC messages_;
  HOOKPROC later_cbt_;
  HOOKPROC later_messages_;
  std::vector<Hooked> hooked_;
  CRITICAL_SECTION lock_;
};

ThreadHooks* g_hooks = nullptr;

bool IsBuiltInSkin(const std::string& name) { return name == "metallic" || name == "dark"; }

// Ctrl+C or a closed console: the engine is asked to give everything back before skinrun's
// hooks go with it; the program itself runs on.
BOOL WINAPI OnConsoleEvent(DWORD) {
  if (ThreadHooks* hooks = g_hooks; hooks && g_control_message) hooks->PostToAll(1 /*stop*/);
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
  HOOKPROC later_cbt = nullptr;
  HOOKPROC later_messages = nullptr;
  if (problem.empty()) {
    engine = LoadLibraryA(EngineDllPath().c_str());
    if (engine) {
      cbt = reinterpret_cast<HOOKPROC>(
          reinterpret_cast<void*>(GetProcAddress(engine, "SkinEngineCbtProc")));
      messages = reinterpret_cast<HOOKPROC>(
          reinterpret_cast<void*>(GetProcAddress(engine, "SkinEngineMessageProc")));
      later_cbt = reinterpret_cast<HOOKPROC>(
          reinterpret_cast<void*>(GetProcAddress(engine, "SkinEngineThreadCbtProc")));
      later_messages = reinterpret_cast<HOOKPROC>(
          reinterpret_cast<void*>(GetProcAddress(engine, "SkinEngineThreadMessageProc")));
      auto control_message = reinterpret_cast<UINT(__cdecl*)()>(
          reinterpret_cast<void*>(GetProcAddress(engine, "SkinEngineControlMessage")));
      if (control_message) g_control_message = control_message();
    }
    if (!cbt || !messages || !later_cbt || !later_messages || !g_control_message)
      problem = EngineDllPath() + ": cannot be loaded";
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
  std::optional<ThreadHooks> hooks;
  if (problem.empty()) {
    hooks.emplace(engine, cbt, messages, later_cbt, later_messages);
    if (!hooks->Hook(process.dwThreadId, true)) problem = "the program's thread cannot be hooked";
  }
  if (!problem.empty()) {
    hooks.reset();
    std::fprintf(stderr, "skinrun: %s; running it unskinned\n", problem.c_str());
  } else {
    g_hooks = &*hooks;
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
  }
  ResumeThread(process.hThread);
  // Threads the program starts are hooked as they are found: a thread that shows its first
  // window before this sees it is skinned from its next message on.
  while (WaitForSingleObject(process.hProcess, hooks ? 50 : INFINITE) == WAIT_TIMEOUT)
    hooks->HookNewThreads(process.dwProcessId);
  DWORD exit_code = 1;
  GetExitCodeProcess(process.hProcess, &exit_code);
  g_hooks = nullptr;
  hooks.reset();
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return problem.empty() ? static_cast<int>(exit_code) : 1;
}
