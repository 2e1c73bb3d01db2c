#include "skin/manager/engine_phases.h"

namespace skin {

namespace {
int g_depth[size_t(EnginePhase::Count)] = {};
}  // namespace

PhaseTotals& EnginePhaseTotals() {
  static PhaseTotals totals;
  return totals;
}

LRESULT AnswerPhaseQuery(WPARAM phase, LPARAM what) {
  if (phase >= size_t(EnginePhase::Count)) return 0;
  const PhaseTotals& totals = EnginePhaseTotals();
  return static_cast<LRESULT>(what == 1 ? totals.runs[phase] : totals.microseconds[phase]);
}

PhaseTimer::PhaseTimer(EnginePhase phase)
    : phase_(phase),
      outer_(g_depth[size_t(phase)]++ == 0),
      start_(std::chrono::steady_clock::now()) {}

PhaseTimer::~PhaseTimer() {
  --g_depth[size_t(phase_)];
  if (!outer_) return;
  const auto elapsed = std::chrono::steady_clock::now() - start_;
  PhaseTotals& totals = EnginePhaseTotals();
  totals.microseconds[size_t(phase_)] +=
      std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
  ++totals.runs[size_t(phase_)];
}

}  // namespace skin
