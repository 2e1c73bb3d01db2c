// The skinned form's window procedures: FrameWindowProc on the window itself (three
// stages: always; with a skinned frame; once the frame is live) and FormWindowProc in the
// form object's window-procedure property. Every handler either answers the message or
// passes it to the procedure it replaced, once.
#include <windows.h>

#include <algorithm>

#include "framework/forms.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_data.h"
#include "skin/form/caption_buttons.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/engine_phases.h"
#include "skin/manager/menu_bar.h"
#include "skin/manager/skin_manager.h"

namespace skin {

namespace {
// The keyboard state holds exactly the Alt key among the modifier keys and mouse buttons.
bool OnlyAltHeld() {
  BYTE keys[256] = {};
  if (!GetKeyboardState(keys)) return false;
  auto down = [&](int vk) { return (keys[vk] & 0x80) != 0; };
  if (!down(VK_MENU)) return false;
  for (int vk : {VK_SHIFT, VK_CONTROL, VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_LWIN, VK_RWIN})
    if (down(vk)) return false;
  return true;
}
}  // namespace

namespace {

bool IsSystemCommandId(WORD id) {
  switch (id) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
      return true;
    default:
      return false;
  }
}

std::string WindowTextOf(HWND hwnd) {
  char text[1000] = {};
  LRESULT n = SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace

LRESULT TSkinForm::FrameProcEntry(void* self, HWND, UINT msg, WPARAM wparam, LPARAM lparam) {
  try {
    return static_cast<TSkinForm*>(self)->FrameWindowProc(msg, wparam, lparam);
  } catch (...) {
    ReportCaughtFault("form frame window procedure");
    return 0;
  }
}

LRESULT TSkinForm::CallDefault(UINT msg, WPARAM wparam, LPARAM lparam) {
  return frame_subclass_.CallOld(msg, wparam, lparam);
}

LRESULT TSkinForm::FrameWindowProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  // The old procedure may run a loop (a command handler's dialog, the move and size loops
  // of WM_SYSCOMMAND) in which this controller is freed: after each call that reaches it,
  // nothing of this object is touched unless `alive` says so (framework/lifetime.h).
  const fw::LifeWatch alive = Watch();
  // ---- stage 1: always ----
  switch (msg) {
    case WM_ERASEBKGND: {
      LRESULT result = CallDefault(msg, wparam, lparam);
      if (!alive) return result;
      if (!Form && SkinData && SkinData->FaceBrush()) {
        RECT client{};
        GetClientRect(Handle, &client);
        FillRect(reinterpret_cast<HDC>(wparam), &client, SkinData->FaceBrush());
        return 1;
      }
      return result;
    }
    case WM_STYLECHANGED:
      if (static_cast<int>(wparam) == GWL_STYLE)
        Style = reinterpret_cast<const STYLESTRUCT*>(lparam)->styleNew;
      return CallDefault(msg, wparam, lparam);
    case WM_NCDESTROY: {
      LifeState = LifeClosing;
      DetachQuietly();
      LRESULT result = CallDefault(msg, wparam, lparam);
      if (!alive) return result;
      LifeState = LifeClosed;
      if (SkinManager) SkinManager->ScheduleAction(ActPurge, 250, nullptr);
      return result;
    }
    case WM_CTLCOLORBTN: {
      LRESULT result = CallDefault(msg, wparam, lparam);
      if (!alive) return result;
      if (!Form) PrepareFaceText(reinterpret_cast<HDC>(wparam));
      return result;
    }
    case WM_CTLCOLORSTATIC: {
      LRESULT result = CallDefault(msg, wparam, lparam);
      if (!alive) return result;
      // A window without a form object (a message box, a dialog): its texts on the face.
      if (!Form) PrepareFaceText(reinterpret_cast<HDC>(wparam));
      if (SkinData && SkinData->FaceBrush())
        return reinterpret_cast<LRESULT>(SkinData->FaceBrush());
      return result;
    }
    case WM_SKINQUERY:
      return 1;
    case WM_SKINPHASE:
      return AnswerPhaseQuery(wparam, lparam);
    default:
      break;
  }
  if (!FrameSkinned()) return CallDefault(msg, wparam, lparam);

  // ---- stage 2: the frame is skinned ----
  if (MdiKind != MdiChild && (Style & WS_CHILD)) return CallDefault(msg, wparam, lparam);
  bool handled = false;
  LRESULT result = 0;
  switch (msg) {
    case WM_SIZE:
      result = OnSize(msg, wparam, lparam);
      handled = true;
      break;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      IsActive = LOBYTE(LOWORD(wparam)) != 0;
      break;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(lparam);
      handled = true;
      break;
    case WM_WINDOWPOSCHANGED:
      UpdateShowState();
      result = CallDefault(msg, wparam, lparam);
      handled = true;
      break;
    case WM_COMMAND:
      if (IsSystemCommandId(LOWORD(wparam))) {
        // A choice from the native system menu opened by TrackPopupMenu.
        PostMessageA(Handle, WM_SYSCOMMAND, LOWORD(wparam), 0);
      } else {
        result = CallDefault(msg, wparam, lparam);
      }
      handled = true;
      break;
    case WM_SYSCOMMAND:
      result = OnSysCommand(wparam, lparam) ? 1 : CallDefault(msg, wparam, lparam);
      handled = true;
      break;
    case WM_SKINSTART:
      StartSkinning();
      handled = true;
      break;
    case WM_SETTEXT:
      if (!Form) {
        // The caption follows the window's text also before the frame is live and while the
        // window is minimised: a program may name its window again (the file it opened)
        // before its message loop delivers WM_SKINSTART.
        result = CallDefault(msg, wparam, lparam);
        handled = true;
        if (!alive) return result;
        CaptionText = WindowTextOf(Handle);
      }
      break;
    case WM_DPICHANGED: {
      // The frame takes the new scale first, so that the move to the suggested rectangle
      // (by the form's own handler, or here) is measured with the new borders; then the
      // whole skin is applied again at that scale.
      ChangeDpi(LOWORD(wparam), reinterpret_cast<const RECT*>(lparam));
      result = CallDefault(msg, wparam, lparam);
      if (!alive) return result;
      GetClientRect(Handle, &ClientRect);  // the client area at the new place is kept
      ReapplySkin();
      handled = true;
      break;
    }
    case fw::CM_MENUCHANGED: {
      // The framework rebuilds the native menu; the frame is not painted meanwhile.
      TSkinData* data = SkinData;
      const bool paint_on = data->FramePaintOn;
      data->FramePaintOn = false;
      result = CallDefault(msg, wparam, lparam);
      if (!alive) {
        if (SkinManager && SkinManager->HasSkinData(data)) data->FramePaintOn = paint_on;
        return result;
      }
      SkinData->FramePaintOn = paint_on;
      if (MenuBar && SkinData->MenuUpdate) {
        if (HMENU menu = GetMenu(Handle)) {
          MenuBar->SetMenuHandle(menu);
          MenuBar->BuildFromMenuHandle();
          RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
        }
      }
      handled = true;
      break;
    }
    default:
      break;
  }

  // ---- stage 3: the skinned frame is live ----
  if (!alive) return result;
  if (IsMdiChildNotNormal() || ShowState == ShowMinimized || LifeState == LifeAttached ||
      LifeState == LifeClosed) {
    return handled ? result : CallDefault(msg, wparam, lparam);
  }
  switch (msg) {
    case WM_SIZE:
      return OnSize(msg, wparam, lparam);
    case WM_DRAWITEM:
      if (NativeMenu && MenuBar && MenuBar->DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lparam)))
        return TRUE;
      return handled ? result : CallDefault(msg, wparam, lparam);
    case WM_MEASUREITEM:
      if (NativeMenu && MenuBar &&
          MenuBar->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)))
        return TRUE;
      return handled ? result : CallDefault(msg, wparam, lparam);
    case WM_NCCALCSIZE:
      return OnNcCalcSize(wparam, lparam);
    case WM_NCHITTEST:
      return OnNcHitTest(lparam);
    case WM_NCPAINT: {
      const PhaseTimer timer(EnginePhase::FramePaint);
      return OnNcPaint(wparam);
    }
    case WM_NCACTIVATE:
      return OnNcActivate(wparam);
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: {
      if (msg == WM_NCLBUTTONDOWN && MenuBar) {
        const POINT screen{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        if (MenuBar->HandleNcLButtonDown(ScreenToFramePoint(screen))) return 0;
      }
      fw::TMessage message{msg, wparam, lparam, 0};
      if (HandleNcMouse(message)) return message.Result;
      return handled ? result : CallDefault(msg, wparam, lparam);
    }
    case WM_SETTEXT:
      if (!Form) {
        // The system paints its own caption for WM_SETTEXT; the skinned one goes over it.
        // (The text itself was taken in stage 2.)
        PaintFrame(nullptr);
        return result;
      }
      break;
    case WM_SKINREPAINT:
      PaintFrame(nullptr);
      return 0;
    default:
      break;
  }
  return handled ? result : CallDefault(msg, wparam, lparam);
}

void TSkinForm::PrepareFaceText(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  if (SkinData) SetTextColor(dc, fw::ColorToRGB(static_cast<fw::TColor>(SkinData->ButtonText)));
}

void TSkinForm::StartSkinning() {
  const PhaseTimer timer(EnginePhase::Start);
  if (LifeState == LifeAttached) {
    // A dialog may still lay itself out after its activation (a message box sizes itself in
    // its WM_INITDIALOG, which under Wine comes after the activation the manager attaches
    // on): the client area to keep is the one it has now, under the system frame still.
    RECT window{};
    GetWindowRect(Handle, &window);
    GetClientRect(Handle, &ClientRect);
    // The client as it was with the native menu bar, which the skin's bar replaces.
    ClientRect.bottom = std::max(ClientRect.top, ClientRect.bottom - RemovedMenuHeight);
    RemovedMenuHeight = 0;
    SystemFrameSize = {0, 0, (window.right - window.left) - ClientRect.right,
                       (window.bottom - window.top) - ClientRect.bottom};
    if (MdiKind == MdiChild && SkinManager && SkinManager->MdiMaximized) {
      SetCaptionStyles(true);
      RecalcFrame();
    } else if (ShowState != ShowMinimized && FrameKind != FrameNone) {
      LifeState = LifeFitting;
      // The whole window is redrawn below, so the resize paints nothing itself (under Wine
      // that halves the cost of the resize and of the region). A child window still
      // redraws, for what it uncovers of its parent.
      FitWindowToFrame(false, (Style & WS_CHILD) != 0);
      LifeState = LifeReady;
      UpdateWindowRegion(false);  // the whole window is redrawn below
    }
  }
  LifeState = LifeReady;
  DebugLog("*****Skin Active finish");
  WatchHover();
  // A frameless or minimised window, or one whose region did not change, still needs its
  // frame drawn once now that the frame is live.
  RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT TSkinForm::OnSize(UINT msg, WPARAM wparam, LPARAM lparam) {
  const fw::LifeWatch alive = Watch();
  LRESULT result = CallDefault(msg, wparam, lparam);
  if (!alive) return result;
  switch (wparam) {
    case SIZE_RESTORED:
      ShowState = ShowNormal;
      break;
    case SIZE_MINIMIZED:
      ShowState = ShowMinimized;
      break;
    case SIZE_MAXIMIZED:
      ShowState = ShowMaximized;
      break;
    default:
      break;
  }
  if (ShowState == ShowMinimized) return result;
  if (MdiKind == MdiChild &&
      ((SkinManager && SkinManager->MdiMaximized) || ShowState != ShowNormal))
    return result;
  if (LifeState == LifeReady || LifeState == LifeReskinning) UpdateWindowRegion();
  return result;
}

void TSkinForm::OnGetMinMaxInfo(LPARAM lparam) {
  const fw::LifeWatch alive = Watch();
  CallDefault(WM_GETMINMAXINFO, 0, lparam);
  if (!alive) return;
  UpdateShowState();
  if (ShowState == ShowMinimized) {
    SetCaptionStyles(true);
  } else if (MdiKind != MdiChild) {
    SetCaptionStyles(false);
  } else if (ShowState == ShowNormal) {
    if (SkinManager && SkinManager->MdiMaximized) SkinManager->SetMdiMax(false);
    SetCaptionStyles(false);
  } else if (ShowState == ShowMaximized) {
    SetCaptionStyles(true);
  }
  auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
  info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  AdjustMaximizedPlacement(*this, *info);
}

bool TSkinForm::OnSysCommand(WPARAM wparam, LPARAM lparam) {
  const UINT command = static_cast<UINT>(wparam) & 0xFFF0;
  if (!PopupPending && command == SC_KEYMENU && lparam != ' ' && lparam != '-' && !GetCapture()) {
    // A form opens the drop-down of Alt+letter on its dialog-char message; a window without
    // a form object opens it here.
    if (!Form && OpenMenuByKey(static_cast<char>(lparam))) return true;
    const bool accelerator = MenuBar && MenuBar->FindAccelButton(static_cast<char>(lparam));
    // The menu key alone works the skinned bar, not the system's menu loop over the skinned
    // frame. Nothing of this controller is touched after the bar's loop.
    if (lparam == 0) {
      if (MenuBar && FrameSkinned()) MenuBar->RunKeyboardMode();
      return true;
    }
    if (accelerator) return true;
  }
  switch (command) {
    case SC_MINIMIZE:
      ShowState = ShowMinimized;
      if (MdiKind == MdiChild) SetCaptionStyles(true);
      break;
    case SC_MAXIMIZE:
      ShowState = ShowMaximized;
      break;
    case SC_RESTORE:
      ShowState = ShowNormal;
      if (MdiKind == MdiChild) SetCaptionStyles(false);
      break;
    default:
      break;
  }
  return false;
}

LRESULT TSkinForm::OnNcCalcSize(WPARAM wparam, LPARAM lparam) {
  RECT proposed{};
  if (wparam) proposed = reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam)->rgrc[0];
  const fw::LifeWatch alive = Watch();
  LRESULT result = CallDefault(WM_NCCALCSIZE, wparam, lparam);
  if (!alive) return result;
  if (!wparam) return result == 0 ? 0 : result;
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam);
  if (IsMdiChildNotNormal() || FrameKind == FrameNone) {
    params->rgrc[1] = params->rgrc[0];
    return WVR_VALIDRECTS;
  }
  PixelRect window = ToPixelRect(proposed);
  if (params->lppos) {
    const WINDOWPOS& pos = *params->lppos;
    window = {pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
  }
  const RECT client = ToRect(ClientRectForWindow(window, Metrics()));
  params->rgrc[0] = client;
  params->rgrc[1] = client;
  return WVR_VALIDRECTS;
}

LRESULT TSkinForm::OnNcHitTest(LPARAM lparam) {
  const fw::LifeWatch alive = Watch();
  LRESULT result = CallDefault(WM_NCHITTEST, 0, lparam);
  if (!alive) return result;
  if (result != HTNOWHERE && result != HTCAPTION) return result;
  POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  const POINT window_point = ScreenToFramePoint(point);
  if (LRESULT button = CaptionButtonHitCode(window_point)) return button;
  if (result != HTNOWHERE) return result;
  ScreenToClient(Handle, &point);
  if (ShowState != ShowMinimized) point.y += BorderTop + MenuHeight;
  return FrameHitTest(point.y, Metrics());
}

LRESULT TSkinForm::OnNcPaint(WPARAM wparam) {
  if (!SkinData->FramePaintOn) return 0;
  if (IsMdiChildNotNormal() || FrameKind == FrameNone) return CallDefault(WM_NCPAINT, wparam, 0);
  // The update region of WM_NCPAINT belongs to the sender, and GetDCEx with
  // DCX_INTERSECTRGN would take it over; the whole window DC is used instead (the title
  // bar goes in one copy, so painting all of the frame does not flicker).
  PaintFrame(nullptr);
  return 0;
}

LRESULT TSkinForm::OnNcActivate(WPARAM wparam) {
  IsActive = wparam != 0;
  if (!IsActive && HoverTimer) HoverTimer->SetEnabled(false);
  WatchHover();
  if (!IsActive && HotSkinner) {
    HotSkinner->SendMouseLeave();
    HotSkinner = nullptr;
  }
  if (!IsMdiChildNotNormal()) PaintFrame(nullptr);
  return TRUE;
}

void TSkinForm::FormWindowProc(fw::TMessage& message) {
  switch (message.Msg) {
    case WM_SETTEXT: {
      const fw::LifeWatch alive = Watch();
      form_proc_.CallSaved(message);
      if (!alive) return;
      CaptionText = WindowTextOf(Handle);
      RecalcFrame();
      return;
    }
    case WM_SKINREAPPLY:
      ReapplySkin();
      return;
    case fw::CM_DIALOGCHAR:
      if (MenuBar && OnlyAltHeld()) {
        if (TMenuBtn* button = MenuBar->FindAccelButton(static_cast<char>(message.WParam))) {
          MenuBar->SwitchToButton(button);
          message.Result = 1;
          return;
        }
      }
      form_proc_.CallSaved(message);
      return;
    default:
      form_proc_.CallSaved(message);
      return;
  }
}

}  // namespace skin
