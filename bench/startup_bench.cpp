// Start-up time of the calculator: from CreateProcess until its main form is on screen and
// has finished its first paint (visible, no update region left, the GUI thread idle).
// Run it inside a Wine session:
//   scripts/wine-session.sh $PWD/build/wineprefix wine build/win32/bench/startup_bench.exe
// Usage: startup_bench.exe [path\to\calc.exe] [runs] [path\to\comparison.exe]
// (defaults: ..\app\calc.exe, 7 runs, calc_unskinned.exe beside the benchmark: the same
// program with its skin switched off; an empty path takes the default). The two programs
// start in turn, so both see the same machine load.
#include <windows.h>

#include <algorithm>
#include <array>
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

std::string DefaultComparisonPath() {
  char own[MAX_PATH];
  GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string path(own);
  path.resize(path.find_last_of("\\/") + 1);
  return path + "calc_unskinned.exe";
}

struct Summary {
  double min = 0, median = 0, mean = 0, max = 0;
  size_t runs = 0;
};

Summary Summarize(std::vector<double> ms) {
  Summary s;
  if (ms.empty()) return s;
  std::sort(ms.begin(), ms.end());
  double sum = 0;
  for (double v : ms) sum += v;
  s = {ms.front(), ms[ms.size() / 2], sum / static_cast<double>(ms.size()), ms.back(), ms.size()};
  return s;
}

// The engine's phases as the skinned form reports them (WM_SKINPHASE, see
// skin/manager/engine_phases.h; the unskinned form answers 0): milliseconds and runs.
constexpr UINT kPhaseQuery = 0x3505;
constexpr const char* kPhaseNames[] = {"skin load (both programs)",
                                       "attach (controller, styles, controls)",
                                       "  of which the controls",
                                       "start (the frame made live)",
                                       "  of which fitting the window to the frame",
                                       "  of which the window region",
                                       "frame paints"};
constexpr size_t kPhases = sizeof kPhaseNames / sizeof kPhaseNames[0];

struct Run {
  double visible_ms = -1;
  double painted_ms = -1;
  std::array<double, kPhases> phase_ms{};
  std::array<long, kPhases> phase_runs{};
};

void ReadPhases(HWND form, Run& run) {
  for (size_t i = 0; i < kPhases; ++i) {
    DWORD_PTR us = 0, runs = 0;
    SendMessageTimeoutA(form, kPhaseQuery, i, 0, SMTO_ABORTIFHUNG, 1000, &us);
    SendMessageTimeoutA(form, kPhaseQuery, i, 1, SMTO_ABORTIFHUNG, 1000, &runs);
    run.phase_ms[i] = double(us) / 1000.0;
    run.phase_runs[i] = long(runs);
  }
}

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
      ReadPhases(search.form, run);
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
  const std::string other = argc > 3 && *argv[3] ? argv[3] : DefaultComparisonPath();
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);

  std::vector<double> skinned, plain;
  std::array<std::vector<double>, kPhases> phase_ms;
  std::array<long, kPhases> phase_runs{};
  for (int i = 0; i < runs; ++i) {
    const Run a = TimeOneStart(exe, frequency);
    for (size_t k = 0; k < kPhases; ++k) {
      phase_ms[k].push_back(a.phase_ms[k]);
      phase_runs[k] = a.phase_runs[k];
    }
    const Run b = TimeOneStart(other, frequency);
    std::printf(
        "run %d: skinned visible %.1f ms, painted %.1f ms; unskinned visible %.1f ms, "
        "painted %.1f ms\n",
        i + 1, a.visible_ms, a.painted_ms, b.visible_ms, b.painted_ms);
    if (a.painted_ms >= 0) skinned.push_back(a.painted_ms);
    if (b.painted_ms >= 0) plain.push_back(b.painted_ms);
  }
  if (skinned.empty() || plain.empty()) {
    std::printf("a calculator never showed a painted form\n");
    return 1;
  }
  const Summary s = Summarize(skinned), p = Summarize(plain);
  std::printf(
      "skinned:   start-up to first painted form over %zu runs: min %.1f ms, median %.1f "
      "ms, mean %.1f ms, max %.1f ms\n",
      s.runs, s.min, s.median, s.mean, s.max);
  std::printf(
      "unskinned: start-up to first painted form over %zu runs: min %.1f ms, median %.1f "
      "ms, mean %.1f ms, max %.1f ms\n",
      p.runs, p.min, p.median, p.mean, p.max);
  std::printf("skinned / unskinned: %.2f (medians), %.2f (minima)\n", s.median / p.median,
              s.min / p.min);
  std::printf("skinned minus unskinned: %.1f ms (medians); in the engine's phases (median):\n",
              s.median - p.median);
  for (size_t k = 0; k < kPhases; ++k) {
    std::printf("  %-36s %7.2f ms  (%ld times)\n", kPhaseNames[k], Summarize(phase_ms[k]).median,
                phase_runs[k]);
  }
  return 0;
}
