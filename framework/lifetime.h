#pragma once
// The lifetime rule for objects that can be freed while a message loop runs below them.
//
// TrackPopupMenu, MessageBox, DialogBox, a drag loop, DefWindowProc on SC_MOVE or SC_SIZE,
// and every call into a window procedure that is not ours may run a message loop; the
// manager's timer, posted messages and WM_NCDESTROY arrive inside it and can free the very
// object whose method made the call (a skin switch frees form controllers, menu bars,
// caption buttons and control skinners). So:
//
//   An object that can be freed that way derives from fw::Watchable. A method that makes
//   such a call takes a watch (Watch()) of every object it touches after the call, itself
//   first, and returns without touching them when a watch says its object is gone. Its
//   caller does the same in turn; what lives on the stack (locals, copies) is safe.
//
// A watch is a weak reference: it never keeps the object alive, costs one shared count and
// can be tested after the object was freed. Objects are still freed at once when nothing
// watches them; nothing is deferred.
#include <memory>

namespace fw {

class LifeWatch {
 public:
  LifeWatch() = default;
  // True while the watched object exists.
  bool Alive() const { return flag_ && *flag_; }
  explicit operator bool() const { return Alive(); }

 private:
  friend class Watchable;
  explicit LifeWatch(std::shared_ptr<const bool> flag) : flag_(std::move(flag)) {}
  std::shared_ptr<const bool> flag_;
};

class Watchable {
 public:
  Watchable() = default;
  // A copy is a new object with a life of its own.
  Watchable(const Watchable&) : Watchable() {}
  Watchable& operator=(const Watchable&) { return *this; }
  LifeWatch Watch() const { return LifeWatch(flag_); }

 protected:
  // Never deleted through this base.
  ~Watchable() { EndLife(); }

  // Watches say "gone" from now on; a destructor that does work a watcher must not see as
  // alive calls it first.
  void EndLife() { *flag_ = false; }

 private:
  std::shared_ptr<bool> flag_ = std::make_shared<bool>(true);
};

}  // namespace fw
