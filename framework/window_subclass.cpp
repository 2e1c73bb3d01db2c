#include "framework/window_subclass.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace fw {

// One stub: machine code that replaces the window handle argument with the stub's own
// address and jumps to the shared entry, followed by what the entry needs. 32-bit x86
// only (the stdcall WNDPROC's first argument sits at [esp+4]).
struct SubclassThunk {
  uint8_t code[16];
  WindowSubclass::Handler handler;  // null in pass-through mode
  void* context;
  HWND hwnd;
  WNDPROC old_proc;
  SubclassThunk* next_free;
};

namespace {

static_assert(sizeof(void*) == 4, "the subclass stub is 32-bit x86 code");

// Stubs come from executable pages that are never given back; freed stubs are reused.
class ThunkPool {
 public:
  SubclassThunk* Take() {
    if (!free_) Grow();
    if (!free_) return nullptr;
    SubclassThunk* t = free_;
    free_ = t->next_free;
    ++live_;
    return t;
  }
  void Give(SubclassThunk* t) {
    t->handler = nullptr;
    t->context = nullptr;
    t->next_free = free_;
    free_ = t;
    --live_;
  }
  long Live() const { return live_; }

 private:
  void Grow() {
    const size_t size = 64 * 1024;
    auto* block = static_cast<SubclassThunk*>(
        VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (!block) return;
    for (size_t i = 0; i < size / sizeof(SubclassThunk); ++i) {
      block[i].next_free = free_;
      free_ = &block[i];
    }
  }
  SubclassThunk* free_ = nullptr;
  long live_ = 0;
};

ThunkPool& Pool() {
  static ThunkPool pool;
  return pool;
}

void ReleaseThunk(SubclassThunk* t) {
  Pool().Give(t);
  CountHandle(HandleKind::Subclass, -1);
}

LRESULT CALLBACK ThunkEntry(HWND stub, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* t = reinterpret_cast<SubclassThunk*>(stub);
  HWND hwnd = t->hwnd;
  WNDPROC old_proc = t->old_proc;
  if (t->handler) {
    // The handler may restore and even free its owner; nothing here reads the stub after.
    return t->handler(t->context, hwnd, msg, wparam, lparam);
  }
  // Pass-through: unhook as soon as we are at the top of the chain again.
  if (reinterpret_cast<WNDPROC>(GetWindowLongA(hwnd, GWL_WNDPROC)) ==
      reinterpret_cast<WNDPROC>(t->code)) {
    SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(old_proc));
    ReleaseThunk(t);
  } else if (msg == WM_NCDESTROY) {
    ReleaseThunk(t);  // the window is going; nobody calls this stub again
  }
  return CallWindowProcA(old_proc, hwnd, msg, wparam, lparam);
}

void WriteCode(SubclassThunk* t) {
  uint8_t* c = t->code;
  // mov dword ptr [esp+4], imm32
  c[0] = 0xC7;
  c[1] = 0x44;
  c[2] = 0x24;
  c[3] = 0x04;
  uint32_t self = reinterpret_cast<uint32_t>(t);
  std::memcpy(c + 4, &self, 4);
  // jmp rel32
  c[8] = 0xE9;
  int32_t rel = static_cast<int32_t>(reinterpret_cast<uint32_t>(&ThunkEntry) -
                                     reinterpret_cast<uint32_t>(c + 13));
  std::memcpy(c + 9, &rel, 4);
  c[13] = c[14] = c[15] = 0xCC;
  FlushInstructionCache(GetCurrentProcess(), c, sizeof t->code);
}

}  // namespace

bool WindowSubclass::Install(HWND hwnd, Handler handler, void* context) {
  if (thunk_ || !IsWindow(hwnd) || !handler) return false;
  SubclassThunk* t = Pool().Take();
  if (!t) return false;
  WriteCode(t);
  t->handler = handler;
  t->context = context;
  t->hwnd = hwnd;
  t->old_proc = reinterpret_cast<WNDPROC>(GetWindowLongA(hwnd, GWL_WNDPROC));
  SetLastError(0);
  LONG previous = SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(t->code));
  if (previous == 0 && GetLastError() != 0) {
    Pool().Give(t);
    return false;
  }
  t->old_proc = reinterpret_cast<WNDPROC>(previous);
  CountHandle(HandleKind::Subclass, +1);
  thunk_ = t;
  hwnd_ = hwnd;
  old_proc_ = t->old_proc;
  return true;
}

void WindowSubclass::Restore() {
  SubclassThunk* t = thunk_;
  if (!t) return;
  thunk_ = nullptr;
  if (!IsWindow(hwnd_)) {
    ReleaseThunk(t);  // the window is gone: nobody can call the stub any more
    return;
  }
  if (reinterpret_cast<WNDPROC>(GetWindowLongA(hwnd_, GWL_WNDPROC)) ==
      reinterpret_cast<WNDPROC>(t->code)) {
    SetWindowLongA(hwnd_, GWL_WNDPROC, reinterpret_cast<LONG>(old_proc_));
    ReleaseThunk(t);
  } else {
    // Someone subclassed after us: keep forwarding until we can unlink (ThunkEntry).
    t->handler = nullptr;
    t->context = nullptr;
  }
}

WNDPROC WindowSubclass::StubProc() const {
  return thunk_ ? reinterpret_cast<WNDPROC>(thunk_->code) : nullptr;
}

long WindowSubclass::LiveStubs() { return Pool().Live(); }

// The method in the control's property points at a node of ours, not at the owner, so
// that a node left behind under a later override keeps forwarding after the owner is gone.
struct WindowProcOverride::Node {
  TWndMethod saved;
  TWndMethod target;  // empty: pass-through
  TControl* control = nullptr;
  void Dispatch(TMessage& message) {
    if (target) {
      target(message);
      return;
    }
    TWndMethod saved_copy = saved;
    TControl* c = control;
    // At the top again: take ourselves out before forwarding.
    if (c && c->WindowProc() == TWndMethod::Of<&Node::Dispatch>(this)) {
      c->SetWindowProc(saved_copy);
      CountHandle(HandleKind::Subclass, -1);
      delete this;
    }
    saved_copy(message);
  }
};

void WindowProcOverride::Install(TControl* control, TWndMethod method) {
  Restore();
  if (!control || !method) return;
  saved_ = control->WindowProc();
  node_ = new Node{saved_, method, control};
  control_ = control;
  control->SetWindowProc(TWndMethod::Of<&Node::Dispatch>(node_));
  CountHandle(HandleKind::Subclass, +1);
}

void WindowProcOverride::Restore() {
  Node* n = std::exchange(node_, nullptr);
  if (!n) return;
  TControl* c = std::exchange(control_, nullptr);
  if (c->WindowProc() == TWndMethod::Of<&Node::Dispatch>(n)) {
    c->SetWindowProc(n->saved);
    CountHandle(HandleKind::Subclass, -1);
    delete n;
  } else {
    n->target = TWndMethod();  // forwards until it is on top again (Node::Dispatch)
  }
}

}  // namespace fw
