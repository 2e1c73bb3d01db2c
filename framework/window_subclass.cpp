#include "framework/window_subclass.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace fw {

// One stub: machine code that replaces the window handle argument with the stub's own
// address and jumps to the shared entry, followed by what the entry needs. On 32-bit x86
// the stdcall WNDPROC's first argument sits at [esp+4]; on x86-64 it is in rcx.
struct SubclassThunk {
  uint8_t code[24];
  WindowSubclass::Handler handler;  // null in pass-through mode
  void* context;
  HWND hwnd;
  WNDPROC old_proc;
  SubclassThunk* next_free;
  unsigned generation;  // counts the stub's installations
  bool live;            // taken from the pool
};

namespace {

// Stubs come from executable pages that are never given back; freed stubs are reused.
class ThunkPool {
 public:
  SubclassThunk* Take() {
    if (!free_) Grow();
    if (!free_) return nullptr;
    SubclassThunk* t = free_;
    free_ = t->next_free;
    ++t->generation;
    t->live = true;
    ++live_;
    return t;
  }
  void Give(SubclassThunk* t) {
    t->handler = nullptr;
    t->context = nullptr;
    t->live = false;
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
      block[i].generation = 0;
      block[i].live = false;
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
    // The handler may restore and even free its owner; the stub itself stays readable (the
    // pool never gives its pages back), and the generation tells whether it is still this
    // installation.
    const unsigned generation = t->generation;
    const LRESULT result = t->handler(t->context, hwnd, msg, wparam, lparam);
    // Restored during WM_NCDESTROY under a later subclasser, the stub went into pass-through
    // after the message had passed it: nobody calls it again, so it goes back now.
    if (msg == WM_NCDESTROY && t->live && t->generation == generation && !t->handler)
      ReleaseThunk(t);
    return result;
  }
  // Pass-through: unhook as soon as we are at the top of the chain again.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) ==
      reinterpret_cast<WNDPROC>(t->code)) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_proc));
    ReleaseThunk(t);
  } else if (msg == WM_NCDESTROY) {
    ReleaseThunk(t);  // the window is going; nobody calls this stub again
  }
  return CallWindowProcA(old_proc, hwnd, msg, wparam, lparam);
}

void WriteCode(SubclassThunk* t) {
  uint8_t* c = t->code;
  std::memset(c, 0xCC, sizeof t->code);
#if defined(_M_X64) || defined(__x86_64__)
  const uint64_t self = reinterpret_cast<uint64_t>(t);
  const uint64_t entry = reinterpret_cast<uint64_t>(&ThunkEntry);
  c[0] = 0x48;  // mov rcx, imm64
  c[1] = 0xB9;
  std::memcpy(c + 2, &self, 8);
  c[10] = 0x48;  // mov rax, imm64
  c[11] = 0xB8;
  std::memcpy(c + 12, &entry, 8);
  c[20] = 0xFF;  // jmp rax
  c[21] = 0xE0;
#else
  const uint32_t self = reinterpret_cast<uint32_t>(t);
  c[0] = 0xC7;  // mov dword ptr [esp+4], imm32
  c[1] = 0x44;
  c[2] = 0x24;
  c[3] = 0x04;
  std::memcpy(c + 4, &self, 4);
  c[8] = 0xE9;  // jmp rel32
  const int32_t rel = static_cast<int32_t>(reinterpret_cast<uint32_t>(&ThunkEntry) -
                                           reinterpret_cast<uint32_t>(c + 13));
  std::memcpy(c + 9, &rel, 4);
#endif
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
  t->old_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
  SetLastError(0);
  LONG_PTR previous = SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(t->code));
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
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd_, GWLP_WNDPROC)) ==
      reinterpret_cast<WNDPROC>(t->code)) {
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_proc_));
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

void WindowProcOverride::Abandon() {
  Node* n = std::exchange(node_, nullptr);
  control_ = nullptr;
  if (!n) return;
  CountHandle(HandleKind::Subclass, -1);
  delete n;
}

}  // namespace fw
