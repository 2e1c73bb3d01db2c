// Skin switching on the gallery (every page's controls, about 300): from the call to the
// form fully repainted (no update region left in the form or any window under it), against
// one full repaint of the same form unskinned. The manager carries out a switch on its
// timer's next tick (250 ms later); the switch here runs that tick's work at once, so the
// figures are the work, not the wait. Each switch is timed on its first use of a skin and
// again when it comes back to a skin used before. Run it in a Wine session:
//   scripts/wine-session.sh PREFIX wine build/win32/bench/switch_bench.exe [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/gallery/gallery_form.h"
#include "bench/wine_clock.h"
#include "framework/application.h"
#include "skin/data/skin_data.h"
#include "skin/manager/engine_phases.h"
#include "skin/manager/skin_manager.h"

namespace {

using bench::Median;
using bench::Milliseconds;
using bench::Now;

BOOL CALLBACK FindUpdate(HWND child, LPARAM any) {
  if (GetUpdateRect(child, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(any) = true;
    return FALSE;
  }
  return TRUE;
}

bool NeedsPaint(HWND form) {
  bool any = GetUpdateRect(form, nullptr, FALSE) != 0;
  if (!any) EnumChildWindows(form, &FindUpdate, reinterpret_cast<LPARAM>(&any));
  return any;
}

// Dispatches messages until nothing of the form waits for a paint and no skin work is left.
void PaintOut(HWND form) {
  for (int spins = 0; spins < 100000; ++spins) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (skin::SkinManager && skin::SkinManager->HasPendingWork())
      skin::SkinManager->RunPendingAction();
    if (!NeedsPaint(form)) return;
  }
}

void Settle(HWND form, int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (GetTickCount() < end) {
    PaintOut(form);
    Sleep(5);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  fw::TApplication app;
  app.Initialize();
  TGalleryForm* form = app.CreateForm(&GalleryForm);
  form->Show();
  HWND hwnd = form->Handle();
  Settle(hwnd, 1500);

  // One full repaint unskinned: the whole form, every child, frames included.
  form->UseNoSkin();
  Settle(hwnd, 800);
  std::vector<double> repaint;
  for (int i = 0; i < rounds * 2; ++i) {
    const LARGE_INTEGER start = Now();
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PaintOut(hwnd);
    repaint.push_back(Milliseconds(start, Now()));
  }

  // Skinned with the metallic skin again, then switched: first to the dark skin, never
  // used before in this process, then back and forth between two skins both used before.
  form->UseBuiltInSkin(kMetallicSkinResource, "metallic");
  Settle(hwnd, 1000);
  // The engine's phases within the timed switches back (time in the phase, per switch).
  constexpr int kPhases = int(skin::EnginePhase::Count);
  double phase_ms[kPhases] = {};
  bool count_phases = false;
  const auto time_switch = [&](const char* resource, const char* name) {
    const skin::PhaseTotals before = skin::EnginePhaseTotals();
    const LARGE_INTEGER start = Now();
    form->UseBuiltInSkin(resource, name);
    if (skin::SkinManager) skin::SkinManager->RunPendingAction();
    PaintOut(hwnd);
    const double ms = Milliseconds(start, Now());
    const skin::PhaseTotals& after = skin::EnginePhaseTotals();
    if (count_phases)
      for (int i = 0; i < kPhases; ++i)
        phase_ms[i] += double(after.microseconds[i] - before.microseconds[i]) / 1000.0;
    Settle(hwnd, 300);
    return ms;
  };
  const double first = time_switch(kDarkSkinResource, "dark");
  std::vector<double> again;
  count_phases = true;
  for (int round = 0; round < rounds; ++round) {
    again.push_back(time_switch(kMetallicSkinResource, "metallic"));
    again.push_back(time_switch(kDarkSkinResource, "dark"));
  }
  const double base = Median(repaint);
  std::printf("gallery, one full repaint unskinned: %.2f ms (median of %d)\n", base, rounds * 2);
  std::printf("switch to a skin not used before:  %7.2f ms (%.2fx)\n", first, first / base);
  std::printf("switch to a skin used before:      %7.2f ms (%.2fx, median of %d)\n", Median(again),
              Median(again) / base, rounds * 2);
  static const char* const kPhaseNames[] = {"skin load", "attach", "controls",   "start",
                                            "fit frame", "region", "frame paint"};
  static_assert(sizeof kPhaseNames / sizeof kPhaseNames[0] == kPhases);
  std::printf("  of which, per switch back (mean):");
  for (int i = 0; i < kPhases; ++i)
    std::printf("%s %s %.2f ms", i ? "," : "", kPhaseNames[i], phase_ms[i] / (rounds * 2));
  std::printf(" (controls lie within attach)\n");
  std::printf("(a switch asked for by a program waits for the manager's next tick, 250 ms)\n");
  GalleryForm = nullptr;
  return 0;
}
