// Attaching the control skinners of a form with 300 child controls (classification and
// subclassing) and detaching them again, in milliseconds. Run it in a Wine session:
//   scripts/wine-session.sh PREFIX wine build/win32/bench/attach_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/wine_clock.h"
#include "framework/application.h"
#include "framework/comctrls.h"
#include "framework/forms.h"
#include "framework/std_controls.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"

namespace {

using bench::Median;
using bench::Milliseconds;
using bench::Now;

skin::TSkinControl* MakeBase(fw::TComponent* owner) { return new skin::TSkinControl(owner); }

template <class T>
void Add(fw::TForm* form, int index) {
  auto* c = new T(form);
  c->SetName("C" + std::to_string(index));
  c->SetParent(form);
  c->SetBounds(2 + (index % 20) * 38, 2 + (index / 20) * 30, 36, 26);
}

struct Figures {
  std::vector<double> attach, detach;
};

}  // namespace

int main() {
  fw::TApplication app;
  app.Initialize();
  auto* form = new fw::TForm(&app);
  form->SetBounds(0, 0, 800, 500);
  auto* data = new skin::TSkinData(form);
  // Six kinds of controls, 300 in all: buttons, edits, memos, check boxes, panels, labels.
  for (int i = 0; i < 300; ++i) {
    switch (i % 6) {
      case 0:
        Add<fw::TButton>(form, i);
        break;
      case 1:
        Add<fw::TEdit>(form, i);
        break;
      case 2:
        Add<fw::TMemo>(form, i);
        break;
      case 3:
        Add<fw::TCheckBox>(form, i);
        break;
      case 4:
        Add<fw::TPanel>(form, i);
        break;
      default:
        Add<fw::TLabel>(form, i);
        break;
    }
  }
  form->HandleNeeded();
  // Classification alone: no kind has a maker, so nothing is attached.
  for (int k = 1; k < static_cast<int>(skin::SkinnerKind::Count); ++k)
    skin::RegisterSkinnerMaker(static_cast<skin::SkinnerKind>(k), nullptr);
  std::vector<double> classify_only;
  for (int round = 0; round <= 10; ++round) {
    auto* controller = new skin::TSkinForm(nullptr);
    controller->Handle = form->Handle();
    controller->Form = form;
    controller->SkinData = data;
    const LARGE_INTEGER t0 = Now();
    controller->SkinFormControls(form);
    const LARGE_INTEGER t1 = Now();
    delete controller;
    if (round > 0) classify_only.push_back(Milliseconds(t0, t1));
  }
  for (int k = 1; k < static_cast<int>(skin::SkinnerKind::Count); ++k)
    skin::RegisterSkinnerMaker(static_cast<skin::SkinnerKind>(k), &MakeBase);

  Figures figures;
  size_t skinners = 0;
  const int rounds = 30;
  for (int round = 0; round <= rounds; ++round) {
    auto* controller = new skin::TSkinForm(nullptr);
    controller->Handle = form->Handle();
    controller->Form = form;
    controller->SkinData = data;
    const LARGE_INTEGER t0 = Now();
    controller->SkinFormControls(form);
    const LARGE_INTEGER t1 = Now();
    skinners = controller->ComponentList().size();
    controller->FreeSkinners();
    delete controller;
    const LARGE_INTEGER t2 = Now();
    if (round == 0) continue;  // the first round warms up
    figures.attach.push_back(Milliseconds(t0, t1));
    figures.detach.push_back(Milliseconds(t1, t2));
  }
  // One more attach between two markers that reach the window server (an atom looked up by
  // name), so that a request trace of the server can count the requests the attach makes:
  // bench/attach-requests.sh.
  {
    auto* controller = new skin::TSkinForm(nullptr);
    controller->Handle = form->Handle();
    controller->Form = form;
    controller->SkinData = data;
    GlobalFindAtomA("attach_bench: attach begins");
    controller->SkinFormControls(form);
    GlobalFindAtomA("attach_bench: attach ends");
    controller->FreeSkinners();
    delete controller;
  }
  // The system calls every attach makes (focus, style, text, invalidation), on the same
  // windows, for comparison: what the platform itself costs here.
  std::vector<HWND> windows;
  for (fw::TComponent* c : form->ComponentList())
    if (auto* win = dynamic_cast<fw::TWinControl*>(c)) windows.push_back(win->Handle());
  // Each call on its own over every window, to show which of them the attach time is made of.
  const auto time_each = [&](auto&& call) {
    const LARGE_INTEGER a = Now();
    for (HWND hwnd : windows) call(hwnd);
    return Milliseconds(a, Now());
  };
  const double focus_ms = time_each([](HWND) { (void)GetFocus(); });
  const double style_ms = time_each([](HWND h) { (void)GetWindowLongPtrA(h, GWL_STYLE); });
  const double text_ms = time_each([](HWND h) {
    char text[1001];
    SendMessageA(h, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(text));
  });
  const double invalidate_ms = time_each([](HWND h) { InvalidateRect(h, nullptr, FALSE); });
  // One round trip to the window server (the median of 11 passes over every window): the
  // unit in which the attach time per skinner is given, so that machines can be compared. A
  // property read is one request (get_window_property in a server trace); GetWindowTextA of
  // a window of this process is answered in the process under Wine and is shown beside it.
  const auto median_of_passes = [&](auto&& call) {
    std::vector<double> rounds;
    for (int round = 0; round < 11; ++round) rounds.push_back(time_each(call));
    return 1000.0 * Median(rounds) / double(windows.size());
  };
  const double round_trip_us =
      median_of_passes([](HWND h) { (void)GetPropA(h, "attach_bench: no such property"); });
  const double get_text_us = median_of_passes([](HWND h) {
    char text[64];
    GetWindowTextA(h, text, sizeof text);
  });
  // Flush the invalidations before the next figures.
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  std::printf("attach_bench: 300 controls, %zu skinners, %d rounds\n", skinners, rounds);
  std::printf(
      "  system calls alone over %zu windows: GetFocus %.2f ms, GetWindowLongPtr %.2f ms,\n"
      "    WM_GETTEXT %.2f ms, InvalidateRect %.2f ms\n",
      windows.size(), focus_ms, style_ms, text_ms, invalidate_ms);
  std::printf("  classify only (nothing attached): median %.2f ms\n", Median(classify_only));
  std::printf("  attach (classify + subclass): median %.2f ms, best %.2f ms\n",
              Median(figures.attach),
              *std::min_element(figures.attach.begin(), figures.attach.end()));
  std::printf("  detach (restore + free):      median %.2f ms, best %.2f ms\n",
              Median(figures.detach),
              *std::min_element(figures.detach.begin(), figures.detach.end()));
  std::printf("  attach + detach:              median %.2f ms (goal < 10 ms)\n",
              Median(figures.attach) + Median(figures.detach));
  const double attach_us_per_control = 1000.0 * Median(figures.attach) / double(skinners);
  std::printf(
      "  attach per skinner: %.1f us = %.2f window-server round trips (one GetPropA: %.1f us;"
      " GetWindowTextA: %.1f us)\n",
      attach_us_per_control, attach_us_per_control / round_trip_us, round_trip_us, get_text_us);
  delete form;
  return 0;
}
