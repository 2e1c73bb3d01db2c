#include "skin/manager/engine_phases.h"
#include "skin/manager/skin_manager.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "framework/application.h"
#include "framework/same_text.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/element_painting.h"
#include "skin/manager/menu_item_drawing.h"
#include "skin/manager/popup_menu.h"

namespace skin {

DWORD WindowsVersion = 0;
TSkinManage* SkinManager = nullptr;
bool TSkinManage::RecordRequests = false;

namespace {

// Frees the manager when the program's static objects are destroyed, after the
// application's forms: a skin data component freed later finds no manager and skips
// unregistering.
struct ManagerShutdown {
  ~ManagerShutdown() { FreeSkinManager(); }
} manager_shutdown;

void TimerTick() {
  try {
    if (SkinManager) SkinManager->RunPendingAction();
  } catch (...) {
    ReportCaughtFault("skin manager timer");
  }
}

constexpr unsigned Bit(int action) { return action > 0 && action < 32 ? 1u << action : 0u; }

// The engine runs on one thread. Wine also reports to a thread's hook the activation of
// windows of other threads and other processes (a box another program shows); such a window
// is never subclassed, and is not even asked whether it is skinned, as a send to a busy
// thread would wait for it.
bool OwnedByThisThread(HWND window) {
  return IsWindow(window) && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}  // namespace

void DebugLog(const char*) {}

void ActionTimer::SetInterval(UINT ms) {
  interval_ = ms;
  // A thread timer's interval changes by setting it again under the same id.
  if (id_) SetTimer(nullptr, id_, interval_, &ActionTimer::OnTick);
}

void ActionTimer::SetEnabled(bool on) {
  if (on && !id_) {
    id_ = SetTimer(nullptr, 0, interval_, &ActionTimer::OnTick);
    if (id_) fw::CountHandle(fw::HandleKind::Timer, +1);
  } else if (!on && id_) {
    KillTimer(nullptr, id_);
    fw::CountHandle(fw::HandleKind::Timer, -1);
    id_ = 0;
  }
}

// A thread timer gets no context; there is only one manager, so its timer is the one.
void CALLBACK ActionTimer::OnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (SkinManager && SkinManager->Timer.id_) SkinManager->Timer.callback_();
}

std::string WindowClassName(HWND window) {
  char name[100] = {};
  int n = GetClassNameA(window, name, sizeof name);
  return std::string(name, n > 0 ? static_cast<size_t>(n) : 0);
}

namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool IsMdiChildWindow(HWND window) {
  if (!(GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return false;
  HWND parent = GetParent(window);
  return parent && Lower(WindowClassName(parent)) == "mdiclient";
}

HWND OwnerWindowOf(const TSkinData* data) {
  auto* form = dynamic_cast<fw::TWinControl*>(data->Owner());
  return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

}  // namespace

TSkinManage::TSkinManage() : Timer(&TimerTick) {
  // The process-wide scratch surface exists while skinning runs.
  CreateScratchBitmap();
}

TSkinManage::~TSkinManage() {
  StartCount = 4;
  Timer.SetEnabled(false);
  HookHandle.reset();
  // Controllers let go without touching size, styles or colours: the program is ending.
  while (!Forms.empty()) {
    TSkinForm* form = Forms.back();
    form->LifeState = LifeClosing;
    form->DetachQuietly();
    Forms.pop_back();
    delete form;  // its destructor's RemoveForm finds nothing left to remove
  }
  // Popup skinners go without being detached: their menus are gone by now.
  for (TSkinPopupMenu* popup : Popups) delete popup;
  Popups.clear();
  ReleaseSharedMenuItemSurface();
  SkinDatas.clear();
  FreeScratchBitmap();
}

LRESULT CALLBACK TSkinManage::CbtHookProc(int code, WPARAM wparam, LPARAM lparam) {
  TSkinManage* manager = SkinManager;
  HHOOK hook = manager ? manager->HookHandle.get() : nullptr;
  if (code < 0 || !manager) return CallNextHookEx(hook, code, wparam, lparam);
  HWND window = reinterpret_cast<HWND>(wparam);
  try {
    switch (code) {
      case HCBT_CREATEWND: {
        const std::string name = WindowClassName(window);
        auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lparam);
        if (name == "ScrollBar" && create && create->lpcs && (create->lpcs->style & SBS_SIZEGRIP) &&
            manager->FindForm(create->lpcs->hwndParent)) {
          return 10;  // no size grip on a skinned window: the skin draws the frame
        }
        if (name == "#32768") manager->SkinPopup(window);
        break;
      }
      case HCBT_DESTROYWND:
        manager->ReleasePopup(window);
        break;
      case HCBT_ACTIVATE:
        // Another thread's window showing says nothing about this one's.
        if (!OwnedByThisThread(window)) break;
        if (manager->StartCount == 0) manager->StartCount = 1;
        manager->AttachWindow(window);
        break;
      default:
        break;
    }
  } catch (...) {
    ReportCaughtFault("skin manager window hook");
  }
  // The manager may have gone while a controller was attached (a test freeing it from a
  // handler); the hook handle read at entry is still the right one to pass on.
  return CallNextHookEx(hook, code, wparam, lparam);
}

void TSkinManage::InstallHook() {
  Record({ManagerRequest::InstallHook});
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
  Record({ManagerRequest::AddSkinData, data});
  // A component registers once, even if its Loaded runs again.
  if (std::find(SkinDatas.begin(), SkinDatas.end(), data) == SkinDatas.end())
    SkinDatas.push_back(data);
}

bool TSkinManage::HasSkinData(const TSkinData* data) const {
  return std::find(SkinDatas.begin(), SkinDatas.end(), data) != SkinDatas.end();
}

void TSkinManage::RemoveSkinData(TSkinData* data) {
  Record({ManagerRequest::RemoveSkinData, data});
  auto it = std::find(SkinDatas.begin(), SkinDatas.end(), data);
  if (it != SkinDatas.end()) SkinDatas.erase(it);
  Pending.erase(std::remove_if(Pending.begin(), Pending.end(),
                               [data](const PendingWork& w) { return w.data == data; }),
                Pending.end());
  // A controller must not outlive the skin data it draws with: the ones left (windows
  // without a form object) let go quietly now.
  for (size_t i = Forms.size(); i-- > 0;) {
    TSkinForm* form = Forms[i];
    if (form->SkinData != data) continue;
    Forms.erase(Forms.begin() + static_cast<std::ptrdiff_t>(i));
    if (form->LifeState != LifeClosed) {
      form->LifeState = LifeClosing;
      form->DetachQuietly();
    }
    if (!form->Owner()) delete form;
  }
}

TSkinForm* TSkinManage::FindForm(HWND window) const {
  // A closed controller waits for the purge; its window is gone, and the window handle may
  // already name a new window, which is not the closed controller's.
  for (TSkinForm* form : Forms)
    if (form->Handle == window && form->LifeState != LifeClosed) return form;
  return nullptr;
}

void TSkinManage::RemoveForm(HWND window) {
  if (TSkinForm* form = FindForm(window)) RemoveForm(form);
}

void TSkinManage::RemoveForm(const TSkinForm* form) {
  const auto it = std::find(Forms.begin(), Forms.end(), form);
  if (it != Forms.end()) Forms.erase(it);
}

namespace {

// The application's forms and the forms they own, at any depth, owners first. Ownership
// is a tree, so the walk ends.
std::vector<fw::TCustomForm*> FormsOf(const fw::TApplication& app) {
  std::vector<fw::TCustomForm*> forms(app.Forms().begin(), app.Forms().end());
  for (size_t i = 0; i < forms.size(); ++i) {
    for (fw::TComponent* c : forms[i]->ComponentList())
      if (auto* owned = dynamic_cast<fw::TCustomForm*>(c)) forms.push_back(owned);
  }
  return forms;
}

}  // namespace

fw::TCustomForm* TSkinManage::FormOfWindow(HWND window) const {
  fw::TApplication* app = fw::Application();
  if (!app || !window) return nullptr;
  for (fw::TCustomForm* form : FormsOf(*app))
    if (form->HandleAllocated() && form->Handle() == window) return form;
  return nullptr;
}

bool TSkinManage::ShouldSkinClass(const std::string& class_name) const {
  bool answer = true;
  for (TSkinData* data : SkinDatas) {
    if (data->SkinFormtype == sfMainform) {
      data->FormFilter(class_name, answer);
      break;
    }
  }
  return answer;
}

TSkinData* TSkinManage::ChooseSkinData(HWND window) const {
  TSkinData* chosen = nullptr;
  for (TSkinData* data : SkinDatas)
    if (data->SkinFormtype == sfOnlyThisForm && OwnerWindowOf(data) == window) chosen = data;
  if (chosen) return chosen;
  const std::string name = Lower(WindowClassName(window));
  if (name == "tmessageform" || name == "#32770") {
    for (TSkinData* data : SkinDatas)
      if (data->SkinFormtype == sfDialog) chosen = data;
    if (chosen) return chosen;
  }
  for (TSkinData* data : SkinDatas)
    if (data->SkinFormtype == sfMainform) chosen = data;
  if (chosen) return chosen;
  return SkinDatas.empty() ? nullptr : SkinDatas.front();
}

bool TSkinManage::AttachWindow(HWND window) {
  Record({ManagerRequest::AttachWindow, nullptr, 0, 0, window});
  if (!Active) return false;
  if (!OwnedByThisThread(window)) return false;
  if (SendMessageA(window, WM_SKINQUERY, 0, 0) == 1) return false;
  if (FindForm(window)) return false;
  fw::TCustomForm* form = FormOfWindow(window);
  if (!InSkinAllPass && IsMdiChildWindow(window)) return false;
  RECT r{};
  GetWindowRect(window, &r);
  if (static_cast<long long>(r.right - r.left) * (r.bottom - r.top) == 0) return false;
  if (form && form->Tag() == 99) return false;
  const std::string class_name = WindowClassName(window);
  if (class_name == "TApplication") return false;
  if (!ShouldSkinClass(class_name)) return false;
  TSkinData* data = ChooseSkinData(window);
  if (!data || data->NoSkinLoaded) return false;

  const PhaseTimer timer(EnginePhase::Attach);
  TSkinForm* controller = new TSkinForm(form);
  controller->Handle = window;
  Forms.push_back(controller);
  if (form) {
    controller->AttachToForm(data, form);
  } else {
    controller->AttachToWindow(data);
  }
  PostMessageA(window, WM_SKINSTART, 0, 1000);
  return true;
}

void TSkinManage::SkinPopup(HWND window) {
  if (!Active || !OwnedByThisThread(window)) return;
  if (SendMessageA(window, WM_SKINQUERY, 0, 0) == 1) return;
  if (IsPopupTracked(window)) return;
  TSkinData* data = ChooseSkinData(window);
  if (!data || data->NoSkinLoaded || !data->SkinControls.Contains(xcMainMenu)) return;
  auto* popup = new TSkinPopupMenu();
  Popups.push_back(popup);
  popup->Attach(window, data, nullptr);
}

void TSkinManage::ReleasePopup(HWND window) {
  for (auto it = Popups.begin(); it != Popups.end(); ++it) {
    if ((*it)->Window() == window) {
      TSkinPopupMenu* popup = *it;
      Popups.erase(it);
      popup->Detach();
      delete popup;
      if (Popups.empty()) ReleaseSharedMenuItemSurface();
      return;
    }
  }
}

bool TSkinManage::IsPopupTracked(HWND window) const {
  for (TSkinPopupMenu* popup : Popups)
    if (popup->Window() == window) return true;
  return false;
}

HBITMAP TSkinManage::PopupBackground(HMENU menu) const {
  for (TSkinPopupMenu* popup : Popups)
    if (popup->Menu() == menu) return popup->FrameBitmap();
  return nullptr;
}

void TSkinManage::SetMdiMax(bool maximized) {
  if (maximized == MdiMaximized) return;
  MdiMaximized = maximized;
  for (size_t i = 0; i < Forms.size(); ++i) {
    TSkinForm* form = Forms[i];
    if (form->MdiKind != MdiChild) continue;
    if (maximized) {
      if (form->RegionApplied) form->RemoveWindowRegion();
      form->SetCaptionStyles(true);
    } else if (form->ShowState == ShowMinimized) {
      form->SetCaptionStyles(true);
    } else {
      form->ShowState = ShowNormal;
      form->UpdateWindowRegion();
      form->SetCaptionStyles(false);
      if (!form->RegionApplied) form->RecalcFrame();
    }
  }
  DebugLog(maximized ? "***** SetMdiMax True" : "***** SetMdiMax Flase");
}

int TSkinManage::CountMdiChildren() const {
  int n = 0;
  for (TSkinForm* form : Forms)
    if (form->MdiKind == MdiChild && form->LifeState != LifeClosed &&
        form->LifeState != LifeClosing)
      ++n;
  return n;
}

bool TSkinManage::AttachMdiChild(HWND window) {
  const bool pass = InSkinAllPass;
  InSkinAllPass = true;
  const bool attached = AttachWindow(window);
  InSkinAllPass = pass;
  return attached;
}

void TSkinManage::ScheduleAction(int action, int interval, TSkinData* data) {
  Record({ManagerRequest::ScheduleAction, nullptr, action, interval});
  if (StartCount == 0 && (action == ActSkin || action == ActUnskin)) {
    // Nothing is shown yet: the first activation attaches what is to be skinned.
    Active = action == ActSkin;
    for (PendingWork& w : Pending)
      if (w.data == data) w.actions &= ~(Bit(ActSkin) | Bit(ActUnskin));
    return;
  }
  if (action == ActPurge) {
    PurgePending = true;
  } else if (data && Bit(action)) {
    auto it = std::find_if(Pending.begin(), Pending.end(),
                           [data](const PendingWork& w) { return w.data == data; });
    if (it == Pending.end()) it = Pending.insert(Pending.end(), {data, 0});
    if (action == ActSkin) it->actions &= ~Bit(ActUnskin);
    if (action == ActUnskin) it->actions &= ~Bit(ActSkin);
    it->actions |= Bit(action);
  } else {
    return;  // an action nobody can carry out
  }
  Timer.SetInterval(static_cast<UINT>(std::max(interval, 1)));
  if (StartCount != 0) Timer.SetEnabled(true);
}

bool TSkinManage::IsPending(const TSkinData* data, int action) const {
  if (action == ActPurge) return PurgePending;
  for (const PendingWork& w : Pending)
    if (w.data == data) return (w.actions & Bit(action)) != 0;
  return false;
}

bool TSkinManage::HasPending(const TSkinData* data) const {
  for (const PendingWork& w : Pending)
    if (w.data == data) return w.actions != 0;
  return false;
}

void TSkinManage::ClearFormCaches() {
  Record({ManagerRequest::ClearFormCaches});
  for (size_t i = 0; i < Forms.size(); ++i) Forms[i]->ClearCaptionButtons();
}

bool TSkinManage::ClearFormCaches(const TSkinData* data) {
  bool any = false;
  for (TSkinForm* form : Forms) {
    if (form->SkinData != data || form->LifeState == LifeClosed) continue;
    form->ClearCaptionButtons();
    any = true;
  }
  return any;
}

void TSkinManage::UnskinForm(TSkinForm* form) {
  form->DetachAndRestore();
  HWND window = form->Handle;
  if (IsWindow(window)) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
  }
  RemoveForm(form);
  delete form;
}

void TSkinManage::FreeClosedForms() {
  for (size_t i = Forms.size(); i-- > 0;) {
    TSkinForm* form = Forms[i];
    if (form->LifeState != LifeClosed) continue;
    Forms.erase(Forms.begin() + static_cast<std::ptrdiff_t>(i));
    delete form;
  }
}

void TSkinManage::SkinFormsOf(TSkinData* data) {
  Active = true;
  InSkinAllPass = true;
  if (fw::TApplication* app = fw::Application()) {
    // A copy, read again after each attach: a form's procedure may create or free forms.
    std::vector<fw::TCustomForm*> forms = FormsOf(*app);
    const std::vector<fw::TCustomForm*> order = forms;
    for (size_t i = order.size(); i-- > 0;) {
      fw::TCustomForm* form = order[i];
      if (data->SkinFormtype == sfOnlyThisForm && form != data->Owner()) continue;
      if (std::find(forms.begin(), forms.end(), form) == forms.end()) continue;
      if (form->HandleAllocated() && AttachWindow(form->Handle())) forms = FormsOf(*app);
      if (data->SkinFormtype == sfOnlyThisForm) break;
    }
  }
  InSkinAllPass = false;
}

void TSkinManage::UnskinFormsOf(TSkinData* data) {
  Active = false;
  if (data->SkinFormtype == sfOnlyThisForm) {
    for (size_t i = Forms.size(); i-- > 0;) {
      if (Forms[i]->SkinData == data) {
        UnskinForm(Forms[i]);
        break;
      }
    }
    return;
  }
  while (!Forms.empty()) UnskinForm(Forms.back());
}

void TSkinManage::RefreshFormsOf(TSkinData* data) {
  if (data->NoSkinLoaded) {
    // The component's new package did not load: its windows have nothing to be drawn with
    // and go back to the system's look.
    for (size_t i = Forms.size(); i-- > 0;)
      if (i < Forms.size() && Forms[i]->SkinData == data) UnskinForm(Forms[i]);
    return;
  }
  if (data->SkinFormtype == sfOnlyThisForm) {
    for (TSkinForm* form : Forms) {
      if (form->SkinData == data) {
        form->ClearCaptionButtons();
        form->LoadFrameMetrics();
        form->ReapplySkin();
        break;
      }
    }
    return;
  }
  for (size_t i = 0; i < Forms.size(); ++i) {
    if (Forms[i]->SkinData != data) continue;
    Forms[i]->ClearCaptionButtons();
    Forms[i]->LoadFrameMetrics();
  }
  // Reapplying moves and repaints windows, whose procedures may change the list: each step
  // reads it again.
  for (size_t i = 0; i < Forms.size(); ++i) {
    TSkinForm* form = Forms[i];
    if (form->SkinData == data) form->ReapplySkin();
  }
}

void TSkinManage::RunPendingAction() {
  // Re-entered from a loop that runs below the work (a window procedure's dialog): the
  // work asked for meanwhile waits for the next tick.
  if (running_) return;
  Timer.SetEnabled(false);
  if (!HasPendingWork()) return;
  running_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{running_};
  const std::vector<PendingWork> work = std::exchange(Pending, {});
  PurgePending = false;
  // Closed controllers go first whatever else is asked, so none is refreshed back to life
  // (and leaked) or left behind.
  FreeClosedForms();
  for (const PendingWork& w : work) {
    // A component freed by an earlier step (a handler of its OnSkinChanged) is skipped.
    if (!HasSkinData(w.data)) continue;
    if (w.actions & Bit(ActUnskin)) UnskinFormsOf(w.data);
    if (w.actions & Bit(ActSkin)) SkinFormsOf(w.data);
    if (!HasSkinData(w.data)) continue;
    if (w.actions & Bit(ActRefresh)) RefreshFormsOf(w.data);
    if (!HasSkinData(w.data)) continue;
    if (w.actions & (Bit(ActSkin) | Bit(ActUnskin) | Bit(ActRefresh))) w.data->FireSkinChanged();
  }
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
