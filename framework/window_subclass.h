#pragma once
// Subclassing as an object with a lifetime.
//
// WindowSubclass replaces a window's GWL_WNDPROC with a small per-object stub that enters
// the owner's handler with the owner as context, keeps the procedure it replaced and
// gives it back on Restore() (or destruction, or WM_NCDESTROY, whichever comes first).
// Restore is safe to call twice. When someone else subclassed the window after us, our
// stub is no longer at the top of the chain and cannot be unlinked without cutting them
// off: it then stays installed in pass-through mode, forwarding every message to the
// procedure it replaced, and unhooks itself as soon as it is at the top again (once the
// other subclasser has restored) or when the window is destroyed.
//
// WindowProcOverride does the same for a framework control's window-procedure property.
//
// Both count a live Subclass handle while a replacement is in place.
#include <windows.h>

#include "framework/controls.h"
#include "framework/handle_counts.h"

namespace fw {

struct SubclassThunk;

class WindowSubclass {
 public:
  // The handler gets the owner's context and the message; it calls CallOld() for what it
  // does not handle. It must not touch the subclass object after the object was freed.
  using Handler = LRESULT (*)(void* context, HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

  WindowSubclass() = default;
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;
  ~WindowSubclass() { Restore(); }

  // Installs the stub on `hwnd`; false (and nothing changed) when the window does not
  // exist, or when this object already subclasses a window.
  bool Install(HWND hwnd, Handler handler, void* context);
  // Gives the replaced procedure back (see the file comment); the object can be installed
  // again afterwards.
  void Restore();

  bool Installed() const { return thunk_ != nullptr; }
  HWND Window() const { return hwnd_; }
  WNDPROC OldProc() const { return old_proc_; }
  // The stub's address, as GetWindowLongA(GWL_WNDPROC) shows it while it is on top.
  WNDPROC StubProc() const;
  LRESULT CallOld(UINT msg, WPARAM wparam, LPARAM lparam) const {
    return CallWindowProcA(old_proc_, hwnd_, msg, wparam, lparam);
  }

  // Stubs not yet returned to the pool (installed, or left in pass-through mode).
  static long LiveStubs();

 private:
  SubclassThunk* thunk_ = nullptr;
  HWND hwnd_ = nullptr;
  WNDPROC old_proc_ = nullptr;
};

// Puts a method into a framework control's WindowProc property and gives the saved one
// back. The saved procedure is what the method passes unhandled messages to.
class WindowProcOverride {
 public:
  WindowProcOverride() = default;
  WindowProcOverride(const WindowProcOverride&) = delete;
  WindowProcOverride& operator=(const WindowProcOverride&) = delete;
  ~WindowProcOverride() { Restore(); }

  void Install(TControl* control, TWndMethod method);
  void Restore();
  // The control is being freed: lets go of the replacement without touching the control
  // (nothing calls it any more).
  void Abandon();
  bool Installed() const { return node_ != nullptr; }
  TControl* Control() const { return control_; }
  // Passes the message to the procedure that was in the property before.
  void CallSaved(TMessage& message) const { saved_(message); }

 private:
  struct Node;
  Node* node_ = nullptr;
  TControl* control_ = nullptr;
  TWndMethod saved_;  // kept after Restore, for a handler that restores and then passes on
};

}  // namespace fw
