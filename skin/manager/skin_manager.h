#pragma once
// The process-wide skin manager. Skin data components register with it, ask it to skin,
// unskin or refresh their forms, and it watches the GUI thread through a WH_CBT hook.
//
// This first version keeps the manager's full interface and its bookkeeping (the list of
// skin data components, Active, StartCount, the pending action and its 250 ms timer) but
// has no form controllers or popup skinners yet: the hook only passes calls on, and
// AttachWindow attaches nothing. Every request is also recorded in Requests, in order, so
// that tests can check what the components asked for.
#include <windows.h>

#include <vector>

#include "framework/scoped_handle.h"

namespace skin {

class TSkinData;
class TSkinForm;       // the skinned-form controller (later)
class TSkinPopupMenu;  // the popup-menu skinner (later)

// Deferred action codes (PendingAction).
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
  // Forgets the component; also drops it as PendingSkinData so no tick reaches it freed.
  void RemoveSkinData(TSkinData* data);
  // Decides whether the window is to be skinned and attaches a controller; true when one
  // was created. No controllers exist yet, so this answers false.
  bool AttachWindow(HWND window);
  // Sets the pending action; with StartCount 0 it takes effect on Active at once,
  // otherwise the timer carries it out after `interval` ms.
  void ScheduleAction(int action, int interval);
  // Asks every form controller to drop its caption buttons (none yet).
  void ClearFormCaches();
  // The timer's work: carries out PendingAction for PendingSkinData.
  void RunPendingAction();

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
  int PendingAction = 0;
  TSkinData* PendingSkinData = nullptr;
  bool ScrollBarLibStarted = false;

  // Every request in the order it was made (for tests and diagnostics).
  std::vector<ManagerRequest> Requests;

 private:
  static LRESULT CALLBACK CbtHookProc(int code, WPARAM wparam, LPARAM lparam);
};

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
