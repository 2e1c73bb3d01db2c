// The skinned frame's cost under Wine: a full PaintFrame of a 1024 x 768 skinned window
// against Wine's own non-client paint of the same window unskinned (RedrawWindow with
// RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW), and the region build for that size.
// Run it in a Wine session:
//   scripts/wine-session.sh $PWD/build/wineprefix64 wine build/win64/bench/frame_bench.exe [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/skin_manager.h"

namespace {

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Drain() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

template <class F>
double MedianMs(int rounds, F&& body) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const double t0 = NowMs();
    body();
    times.push_back(NowMs() - t0);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 200;
  fw::TApplication app;
  app.Initialize();
  skin::RegisterSkinDataClass();
  std::ifstream file(SKIN_PACKAGE_DIR "/metallic.skn", std::ios::binary);
  std::vector<uint8_t> package{std::istreambuf_iterator<char>(file),
                               std::istreambuf_iterator<char>()};
  if (package.empty()) {
    std::fprintf(stderr, "no skin package at %s\n", SKIN_PACKAGE_DIR "/metallic.skn");
    return 1;
  }
  auto* form = new fw::TForm(&app);
  form->SetPosition(fw::poDesigned);
  form->SetBounds(0, 0, 1024, 768);
  form->SetCaption("Frame benchmark");
  auto* data = new skin::TSkinData(form);
  data->SetStoreBytes(package);
  data->LoadFromStore();
  data->SetActive(true);
  data->Loaded();
  HWND hwnd = form->Handle();

  // The system's frame first, before the skin attaches.
  form->Show();
  Drain();
  skin::SkinManager->Active = false;
  const double system_ms = MedianMs(rounds, [&] {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  });

  skin::SkinManager->Active = true;
  skin::SkinManager->AttachWindow(hwnd);
  skin::TSkinForm* controller = skin::SkinManager->FindForm(hwnd);
  for (int i = 0; i < 100 && controller && controller->LifeState != skin::LifeReady; ++i) {
    Drain();
    Sleep(5);
  }
  if (!controller) {
    std::fprintf(stderr, "the window was not skinned\n");
    return 1;
  }
  SetWindowPos(hwnd, nullptr, 0, 0, 1024, 768, SWP_NOMOVE | SWP_NOZORDER);
  Drain();
  const double skinned_ms = MedianMs(rounds, [&] { controller->PaintFrame(nullptr); });
  const double skinned_redraw_ms = MedianMs(rounds, [&] {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  });
  const double region_ms = MedianMs(rounds, [&] {
    controller->RegionWidth = controller->RegionHeight = 0;  // forces a rebuild
    controller->UpdateWindowRegion();
    Drain();
  });
  std::printf("window 1024 x 768, %d rounds, medians:\n", rounds);
  std::printf("  system non-client paint (RedrawWindow, unskinned): %.3f ms\n", system_ms);
  std::printf("  skinned PaintFrame:                                %.3f ms (%.2fx)\n", skinned_ms,
              skinned_ms / system_ms);
  std::printf("  skinned RedrawWindow (WM_NCPAINT through the skin): %.3f ms (%.2fx)\n",
              skinned_redraw_ms, skinned_redraw_ms / system_ms);
  std::printf("  region build and apply:                            %.3f ms\n", region_ms);
  delete form;
  return 0;
}
