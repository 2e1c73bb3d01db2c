// The MDI client of a skinned MDI frame. Its window procedure sees the MDI protocol on its
// way to the client: a child made through WM_MDICREATE is skinned once the client has
// refreshed its menu (the child's controls exist by then) and the frame repaints; tiling
// and cascading switch the maximised look off first; a new frame menu becomes the skinned
// bar and leaves the window; when the last child goes the bar is built from the menu
// object again.
#include <windows.h>

#include <cstdio>

#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/menu_bar.h"
#include "skin/manager/skin_manager.h"

namespace skin {

void TSkinForm::HookMdiClient() {
  if (MdiClientWindow && !mdi_client_subclass_.Installed())
    mdi_client_subclass_.Install(MdiClientWindow, &TSkinForm::MdiClientProcEntry, this);
}

LRESULT TSkinForm::MdiClientProcEntry(void* self, HWND, UINT msg, WPARAM wparam, LPARAM lparam) {
  try {
    return static_cast<TSkinForm*>(self)->MdiClientWindowProc(msg, wparam, lparam);
  } catch (...) {
    ReportCaughtFault("MDI client window procedure");
    return 0;
  }
}

LRESULT TSkinForm::MdiClientWindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  const bool m = FrameSkinned();
  // Creating, destroying and arranging children runs their window procedures, which may
  // end this controller (framework/lifetime.h).
  const fw::LifeWatch alive = Watch();
  char log[96] = {};
  LRESULT result = 0;
  switch (msg) {
    case WM_NCDESTROY: {
      HWND client = MdiClientWindow;
      result = mdi_client_subclass_.CallOld(msg, wparam, lparam);
      if (!alive) return result;
      UnhookMdiClient();
      MdiClientWindow = nullptr;
      if (SkinManager && SkinManager->MdiClient == client) SkinManager->MdiClient = nullptr;
      return result;
    }
    case WM_NCCALCSIZE:
      if (m && MdiClientWindow) {
        // The client's own scroll bars are not drawn on a skinned frame.
        const LONG style = GetWindowLongA(MdiClientWindow, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL))
          SetWindowLongA(MdiClientWindow, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
      }
      result = mdi_client_subclass_.CallOld(msg, wparam, lparam);
      if (!alive) return result;
      break;
    case WM_MDICREATE:
      if (SkinData) SkinData->MenuUpdate = false;
      result = mdi_client_subclass_.CallOld(msg, wparam, lparam);
      if (!alive) return result;
      NewMdiChild = reinterpret_cast<HWND>(result);
      break;
    case WM_MDIDESTROY:
      std::snprintf(log, sizeof log, "WM_MDIDESTROY %4x",
                    static_cast<unsigned>(reinterpret_cast<UINT_PTR>(wparam)));
      result = mdi_client_subclass_.CallOld(msg, wparam, lparam);
      if (!alive) return result;
      if (NewMdiChild == reinterpret_cast<HWND>(wparam)) NewMdiChild = nullptr;
      if (m && SkinManager) SkinManager->SetMdiMax(ActiveMdiChildMaximized());
      if (MenuBar && SkinManager && SkinManager->CountMdiChildren() == 0) {
        if (SkinData) SkinData->MenuUpdate = SavedMenuUpdate;
        MenuBar->BuildFromMenuObject();
        RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      }
      break;
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (m && SkinManager && SkinManager->MdiMaximized) SkinManager->SetMdiMax(false);
      result = mdi_client_subclass_.CallOld(msg, wparam, lparam);
      if (!alive) return result;
      break;
    case WM_MDISETMENU: {
      std::snprintf(log, sizeof log, "************WM_MDISETMENU %1x,%1x",
                    static_cast<unsigned>(reinterpret_cast<UINT_PTR>(wparam)),
                    static_cast<unsigned>(static_cast<UINT_PTR>(lparam)));
      result = mdi_client_subclass_.CallOld(msg, wparam, lparam);
      if (!alive) return result;
      if (!m) break;
      HMENU menu = reinterpret_cast<HMENU>(wparam);
      if (menu && MenuBar && (menu != MenuBar->MenuHandle() || NewMdiChild)) {
        MenuBar->BuildFromMdiMenu(GetMenu(Handle));
        RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      }
      // Only a frame with a skinned bar gives its native menu up: one without would be
      // left with no menu at all.
      if (MenuBar && GetMenu(Handle)) SetMenu(Handle, nullptr);
      break;
    }
    case WM_MDIREFRESHMENU:
      result = mdi_client_subclass_.CallOld(msg, wparam, lparam);
      if (!alive) return result;
      if (NewMdiChild) {
        HWND child = NewMdiChild;
        NewMdiChild = nullptr;
        if (SkinManager) SkinManager->AttachMdiChild(child);
        PostMessageA(Handle, WM_SKINREPAINT, 0, 0);
      }
      break;
    default:
      return mdi_client_subclass_.CallOld(msg, wparam, lparam);
  }
  if (log[0]) {
    char line[112];
    std::snprintf(line, sizeof line, "**MDI: %s", log);
    DebugLog(line);
  }
  return result;
}

}  // namespace skin
