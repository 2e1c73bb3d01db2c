#pragma once
// The process-wide skin manager. Skin data components register with it and ask it to skin,
// unskin or refresh their forms; it watches the GUI thread through a WH_CBT hook, hands
// every top-level window that is to be skinned to a skinned-form controller (TSkinForm)
// and every menu window to a popup skinner, keeps the lists of both, and carries out the
// components' requests from a 250 ms timer, outside the window procedures that asked.
//
// Requests wait as a set of actions per component and are carried out together, in a fixed
// order, on the timer's next tick (RunPendingAction): none replaces another.
//
// With RecordRequests on (tests turn it on), every request is also recorded in Requests,
// in order, so that tests can check what was asked.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/scoped_handle.h"

namespace fw {
class TCustomForm;
}

namespace skin {

class TSkinData;
class TSkinForm;
class TSkinPopupMenu;

// Deferred action codes (ScheduleAction).
constexpr int ActSkin = 1;
constexpr int ActUnskin = 2;
constexpr int ActRefresh = 3;
constexpr int ActPurge = 6;

// Private messages exchanged with skinned windows.
constexpr UINT WM_SKINSTART = 0x3503;
constexpr UINT WM_SKINQUERY = 0x3504;

// One request made of the manager, as recorded in TSkinManage::Requests.
struct ManagerRequest {
  enum Kind {
    AddSkinData,
    RemoveSkinData,
    InstallHook,
    ScheduleAction,
    ClearFormCaches,
    AttachWindow
  };
  Kind kind;
  const TSkinData* skin_data = nullptr;  // AddSkinData, RemoveSkinData
  int action = 0;                        // ScheduleAction
  int interval = 0;                      // ScheduleAction
  HWND window = nullptr;                 // AttachWindow

  bool operator==(const ManagerRequest&) const = default;
};

// The deferred-action timer: a thread timer without a window, delivered through the GUI
// thread's message loop. Created disabled.
class ActionTimer {
 public:
  using Callback = void (*)();
  explicit ActionTimer(Callback callback) : callback_(callback) {}
  ActionTimer(const ActionTimer&) = delete;
  ActionTimer& operator=(const ActionTimer&) = delete;
  ~ActionTimer() { SetEnabled(false); }

  void SetInterval(UINT ms);
  UINT Interval() const { return interval_; }
  void SetEnabled(bool on);
  bool Enabled() const { return id_ != 0; }

 private:
  static void CALLBACK OnTick(HWND, UINT, UINT_PTR id, DWORD);

  Callback callback_;
  UINT interval_ = 250;
  UINT_PTR id_ = 0;
};

class TSkinManage {
 public:
  TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;
  ~TSkinManage();

  // Records the Windows version and installs the WH_CBT hook for the calling thread.
  void InstallHook();
  void AddSkinData(TSkinData* data);
  // The component is registered (and so not freed).
  bool HasSkinData(const TSkinData* data) const;
  // Forgets the component; also drops it as PendingSkinData so no tick reaches it freed.
  void RemoveSkinData(TSkinData* data);
  // Decides whether the window is to be skinned and attaches a controller; true when one
  // was created.
  bool AttachWindow(HWND window);
  // The skin data a window is to be drawn with, or nullptr.
  TSkinData* ChooseSkinData(HWND window) const;
  // Asks the first main-form skin data's filter about a window class.
  bool ShouldSkinClass(const std::string& class_name) const;
  // The controller of a live window; closed controllers (waiting for the purge) are not
  // found, since their window handle may already be reused for a new window.
  TSkinForm* FindForm(HWND window) const;
  // Forgets the controller of the window without freeing it.
  void RemoveForm(HWND window);
  // Forgets this controller (not another one with the same window handle) without freeing
  // it; its destructor calls this.
  void RemoveForm(const TSkinForm* form);
  // The form object of a window among the application's forms and the forms they own, or
  // nullptr.
  fw::TCustomForm* FormOfWindow(HWND window) const;

  // Popup menu windows ("#32768").
  void SkinPopup(HWND window);
  void ReleasePopup(HWND window);
  bool IsPopupTracked(HWND window) const;
  // The frame bitmap of the popup skinner showing `menu`, or nullptr.
  HBITMAP PopupBackground(HMENU menu) const;

  // The shared MDI-maximised state; adjusts every MDI child controller on a change.
  void SetMdiMax(bool maximized);
  // MDI child controllers whose windows still exist (a closed one waits in Forms for the
  // next purge and is not counted).
  int CountMdiChildren() const;
  // Attaches an MDI child that its frame's client has just made: AttachWindow with the
  // MDI-child exclusion lifted, as during the skin pass.
  bool AttachMdiChild(HWND window);
  // Adds an action to the component's pending set (a purge needs no component); the
  // timer carries out every set after `interval` ms. Skin and unskin of one component
  // cancel each other: the later one stays. Before the first activation (StartCount 0) a
  // skin or unskin only switches Active, at once.
  void ScheduleAction(int action, int interval, TSkinData* data);
  // The action waits for the component (for a purge, the component is not asked).
  bool IsPending(const TSkinData* data, int action) const;
  // Some action waits for the component.
  bool HasPending(const TSkinData* data) const;
  bool HasPendingWork() const { return !Pending.empty() || PurgePending; }
  // Asks every form controller to drop its caption buttons.
  void ClearFormCaches();
  // The same for the live controllers drawing with `data`; true when there was one.
  bool ClearFormCaches(const TSkinData* data);
  // The timer's work: closed controllers are freed first, then for each component with
  // pending actions, in the order they were first asked for, its unskin or skin, then its
  // refresh, then its OnSkinChanged. Work asked for meanwhile waits for the next tick.
  void RunPendingAction();
  // RunPendingAction is on the stack (a loop below its work is running).
  bool RunningActions() const { return running_; }

  ActionTimer Timer;
  fw::ScopedHook HookHandle;
  std::vector<TSkinForm*> Forms;
  std::vector<TSkinPopupMenu*> Popups;
  std::vector<TSkinData*> SkinDatas;
  bool Active = false;
  bool InSkinAllPass = false;
  int StartCount = 0;
  bool MdiMaximized = false;
  HWND MdiClient = nullptr;
  bool ScrollBarLibStarted = false;

  // Pending actions of one component, as bits (1 << action).
  struct PendingWork {
    TSkinData* data;
    unsigned actions;
  };
  std::vector<PendingWork> Pending;
  bool PurgePending = false;

  // Every request in the order it was made, while RecordRequests is on (tests).
  std::vector<ManagerRequest> Requests;
  static bool RecordRequests;

 private:
  void Record(const ManagerRequest& request) {
    if (RecordRequests) Requests.push_back(request);
  }
  void SkinFormsOf(TSkinData* data);
  void UnskinFormsOf(TSkinData* data);
  void RefreshFormsOf(TSkinData* data);
  static LRESULT CALLBACK CbtHookProc(int code, WPARAM wparam, LPARAM lparam);
  void FreeClosedForms();
  void UnskinForm(TSkinForm* form);
  bool running_ = false;  // RunPendingAction is on the stack
};

// The class name of a window as the engine reads it (at most 99 characters).
std::string WindowClassName(HWND window);

// The packed GetVersion value recorded by InstallHook (top bit set: the Windows 9x family).
extern DWORD WindowsVersion;

// The one manager, created by the first skin data component that loads; freed at
// program end (or by FreeSkinManager).
extern TSkinManage* SkinManager;

// Creates the manager if there is none; returns it.
TSkinManage* CreateSkinManager();
// Frees the manager and clears the reference (program end; tests).
void FreeSkinManager();

// The log sink of the skin engine: takes one line and discards it.
void DebugLog(const char* line);

}  // namespace skin
