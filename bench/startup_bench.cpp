// Start-up time of the calculator: from CreateProcess until its main form is on screen and
// has finished its first paint (visible, no update region left, the GUI thread idle).
// Run it inside a Wine session:
//   scripts/wine-session.sh $PWD/build/wineprefix wine build/win32/bench/startup_bench.exe
// Usage: startup_bench.exe [path\to\calc.exe] [runs]   (default: ..\app\calc.exe, 7 runs;
// an empty path is the default too)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct FormSearch {
  DWORD process_id;
  HWND form;
};

BOOL CALLBACK FindVisibleForm(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<FormSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char class_name[32] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  if (pid == search->process_id && lstrcmpA(class_name, "TForm1") == 0 && IsWindowVisible(window)) {
    search->form = window;
    return FALSE;
  }
  return TRUE;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

std::string DefaultCalculatorPath() {
  char own[MAX_PATH];
  GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string path(own);
  path.resize(path.find_last_of("\\/") + 1);
  return path + "..\\app\\calc.exe";
}

struct Run {
  double visible_ms = -1;
  double painted_ms = -1;
};

// One start of the calculator; the times are -1 when it did not get that far in 30 s.
Run TimeOneStart(const std::string& exe, LARGE_INTEGER frequency) {
  Run run;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string command = "\"" + exe + "\"";
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
    std::exit(1);
  }
  FormSearch search = {process.dwProcessId, nullptr};
  for (;;) {
    QueryPerformanceCounter(&now);
    const double elapsed = Milliseconds(start, now, frequency);
    if (elapsed > 30000 || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
    if (!search.form) {
      EnumWindows(FindVisibleForm, reinterpret_cast<LPARAM>(&search));
      if (search.form) run.visible_ms = elapsed;
    }
    // Painted: the form has no update region left and its thread waits for input.
    if (search.form && !GetUpdateRect(search.form, nullptr, FALSE) &&
        WaitForInputIdle(process.hProcess, 0) == 0) {
      run.painted_ms = elapsed;
      break;
    }
    Sleep(1);
  }
  if (search.form) PostMessageA(search.form, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string exe = argc > 1 && *argv[1] ? argv[1] : DefaultCalculatorPath();
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);

  std::vector<double> painted;
  for (int i = 0; i < runs; ++i) {
    const Run run = TimeOneStart(exe, frequency);
    std::printf("run %d: form visible %.1f ms, first paint done %.1f ms\n", i + 1, run.visible_ms,
                run.painted_ms);
    if (run.painted_ms >= 0) painted.push_back(run.painted_ms);
  }
  if (painted.empty()) {
    std::printf("the calculator never showed a painted form\n");
    return 1;
  }
  std::sort(painted.begin(), painted.end());
  double sum = 0;
  for (double ms : painted) sum += ms;
  std::printf(
      "start-up to first painted form over %zu runs: min %.1f ms, median %.1f ms, "
      "mean %.1f ms, max %.1f ms\n",
      painted.size(), painted.front(), painted[painted.size() / 2],
      sum / static_cast<double>(painted.size()), painted.back());
  return 0;
}
