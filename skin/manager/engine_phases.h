#pragma once
// Where the engine's time goes: wall time summed per phase over the life of the process,
// and how often each phase ran. Always on (a clock read at each end of a phase), read by
// the start-up benchmark through WM_SKINPHASE, which every skinned window answers.
#include <windows.h>

#include <chrono>
#include <cstdint>

namespace skin {

enum class EnginePhase : uint8_t {
  SkinLoad,    // a package read into the skin's records: expansion, definition, bitmaps
  Attach,      // a window taken over: its controller, styles and control skinners
  Controls,    // a pass attaching the skinners of a form's controls (within Attach)
  Start,       // the skinned frame made live, on WM_SKINSTART after the attach
  FitFrame,    // a window resized so that its client keeps its size inside the skin's frame
  Region,      // a window region built from the skin and set
  FramePaint,  // the skinned frame painted (WM_NCPAINT)
  Count
};

// wparam: the phase; lparam: 0 for its time in microseconds, 1 for how often it ran.
// Answered by skinned windows (the form controller); other windows give 0.
constexpr UINT WM_SKINPHASE = 0x3505;

struct PhaseTotals {
  int64_t microseconds[size_t(EnginePhase::Count)] = {};
  int64_t runs[size_t(EnginePhase::Count)] = {};
};
PhaseTotals& EnginePhaseTotals();
LRESULT AnswerPhaseQuery(WPARAM phase, LPARAM what);

// Adds the time from its construction to its destruction to a phase. A phase that starts
// again inside itself (a nested attach) counts once, for the outer run.
class PhaseTimer {
 public:
  explicit PhaseTimer(EnginePhase phase);
  ~PhaseTimer();
  PhaseTimer(const PhaseTimer&) = delete;
  PhaseTimer& operator=(const PhaseTimer&) = delete;

 private:
  EnginePhase phase_;
  bool outer_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace skin
