#include "skin/manager/skin_manager.h"

#include <algorithm>
#include <cstdio>

#include "skin/data/skin_data.h"

namespace skin {

DWORD WindowsVersion = 0;
TSkinManage* SkinManager = nullptr;

namespace {

// Frees the manager when the program's static objects are destroyed, after the
// application's forms: a skin data component freed later finds no manager and skips
// unregistering.
struct ManagerShutdown {
  ~ManagerShutdown() { FreeSkinManager(); }
} manager_shutdown;

void TimerTick() {
  if (SkinManager) SkinManager->RunPendingAction();
}

}  // namespace

void DebugLog(const char*) {}

void ActionTimer::SetInterval(UINT ms) {
  interval_ = ms;
  if (id_) id_ = SetTimer(nullptr, id_, interval_, &ActionTimer::OnTick);
}

void ActionTimer::SetEnabled(bool on) {
  if (on && !id_) {
    id_ = SetTimer(nullptr, 0, interval_, &ActionTimer::OnTick);
  } else if (!on && id_) {
    KillTimer(nullptr, id_);
    id_ = 0;
  }
}

// A thread timer gets no context; there is only one manager, so its timer is the one.
void CALLBACK ActionTimer::OnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (SkinManager && SkinManager->Timer.id_) SkinManager->Timer.callback_();
}

TSkinManage::TSkinManage() : Timer(&TimerTick) {}

TSkinManage::~TSkinManage() {
  StartCount = 4;
  Timer.SetEnabled(false);
  HookHandle.reset();
  // Controllers and popup skinners are not created yet; the lists only hold pointers.
  Forms.clear();
  Popups.clear();
  SkinDatas.clear();
}

LRESULT CALLBACK TSkinManage::CbtHookProc(int code, WPARAM wparam, LPARAM lparam) {
  // Window creation, destruction and activation will be handled here; for now every
  // call is passed on untouched.
  HHOOK hook = SkinManager ? SkinManager->HookHandle.get() : nullptr;
  return CallNextHookEx(hook, code, wparam, lparam);
}

void TSkinManage::InstallHook() {
  Requests.push_back({ManagerRequest::InstallHook});
  WindowsVersion = GetVersion();
  char line[64];
  std::snprintf(line, sizeof line, "Windows Version %lx",
                static_cast<unsigned long>(WindowsVersion));
  DebugLog(line);
  std::snprintf(line, sizeof line, "Windows Version %d %d",
                static_cast<int>(LOBYTE(LOWORD(WindowsVersion))),
                static_cast<int>(HIBYTE(LOWORD(WindowsVersion))));
  DebugLog(line);
  // One hook per thread is enough: a second main-form component would otherwise install a
  // second hook and leave the first one behind when the handle is overwritten.
  if (!HookHandle) {
    HookHandle.reset(
        SetWindowsHookExA(WH_CBT, &TSkinManage::CbtHookProc, nullptr, GetCurrentThreadId()));
  }
  std::snprintf(line, sizeof line, "ThreadId %lx",
                static_cast<unsigned long>(GetCurrentThreadId()));
  DebugLog(line);
  std::snprintf(line, sizeof line, "HookCallback %lx",
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(HookHandle.get())));
  DebugLog(line);
}

void TSkinManage::AddSkinData(TSkinData* data) {
  Requests.push_back({ManagerRequest::AddSkinData, data});
  // A component registers once, even if its Loaded runs again.
  if (std::find(SkinDatas.begin(), SkinDatas.end(), data) == SkinDatas.end())
    SkinDatas.push_back(data);
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
  Requests.push_back({ManagerRequest::RemoveSkinData, data});
  auto it = std::find(SkinDatas.begin(), SkinDatas.end(), data);
  if (it != SkinDatas.end()) SkinDatas.erase(it);
  if (PendingSkinData == data) PendingSkinData = nullptr;
}

bool TSkinManage::AttachWindow(HWND window) {
  Requests.push_back({ManagerRequest::AttachWindow, nullptr, 0, 0, window});
  return false;
}

void TSkinManage::ScheduleAction(int action, int interval) {
  Requests.push_back({ManagerRequest::ScheduleAction, nullptr, action, interval});
  PendingAction = action;
  Timer.SetInterval(static_cast<UINT>(std::max(interval, 1)));
  if (StartCount != 0) {
    Timer.SetEnabled(true);
  } else if (action == ActSkin) {
    Active = true;
  } else if (action == ActUnskin) {
    Active = false;
  }
}

void TSkinManage::ClearFormCaches() { Requests.push_back({ManagerRequest::ClearFormCaches}); }

void TSkinManage::RunPendingAction() {
  if (!PendingSkinData) return;  // the timer stays on and ticks again
  Timer.SetEnabled(false);
  // With no controllers yet, skinning and unskinning only switch attaching on or off;
  // refresh and purge have nothing to walk.
  if (PendingAction == ActSkin) {
    Active = true;
  } else if (PendingAction == ActUnskin) {
    Active = false;
  }
  TSkinData* data = PendingSkinData;
  PendingSkinData = nullptr;
  data->FireSkinChanged();
}

TSkinManage* CreateSkinManager() {
  if (!SkinManager) SkinManager = new TSkinManage();
  return SkinManager;
}

void FreeSkinManager() {
  delete SkinManager;
  SkinManager = nullptr;
}

}  // namespace skin
