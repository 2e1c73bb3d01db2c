#include "tests/stress/stress_support.h"

#include "framework/scoped_handle.h"
#include "tests/support/fw_test.h"
#include "skin/manager/skin_manager.h"

namespace stress {

void RunPendingNow() {
  if (skin::SkinManager) skin::SkinManager->RunPendingAction();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

bool ApplyPackage(skin::TSkinData& data, std::vector<uint8_t> package) {
  data.SetStoreBytes(std::move(package));
  if (!data.LoadFromStore()) return false;
  if (data.Active()) {
    data.ApplyNewSkin();
  } else {
    data.SetActive(true);
  }
  RunPendingNow();
  return true;
}

void RepaintAll(HWND window) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool ClientShowsSomething(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  fw::ScopedGetDc dc(window);
  if (!dc.get() || r.right <= 0 || r.bottom <= 0) return false;
  const COLORREF first = GetPixel(dc.get(), 0, 0);
  for (int y = 0; y < r.bottom; y += 5)
    for (int x = 0; x < r.right; x += 5)
      if (GetPixel(dc.get(), x, y) != first) return true;
  return false;
}

}  // namespace stress
