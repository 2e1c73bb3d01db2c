// Re-entrancy: while the system runs one of its loops for the skinned gallery (a menu-bar
// drop-down, a submenu of it, the window menu, a popup menu, a message box, the colour
// dialog, the scroll-bar thumb drag, the window's move and size loops), the skin is
// switched, taken off, put back, the menu bar's items change, the window is destroyed, or
// controls are freed and made again. The change comes from a timer or as a posted message,
// and the skin manager's own timer carries the switch out inside the loop. Then the loop
// ends. Every round ends with the window answering, no engine fault reported, and at the
// end the handle counts (window procedure replacements among them) where they started.
//
// REENTRANCY_ROUNDS repeats the whole set (make soak runs it longer).
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/gallery/gallery_form.h"
#include "framework/ext_ctrls.h"
#include "framework/handle_counts.h"
#include "framework/menus.h"
#include "skin/data/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/manager/menu_bar.h"
#include "skin/controls/scroll_bar_skinners.h"
#include "skin/manager/skin_manager.h"
#include "tests/stress/stress_support.h"
#include "tests/support/fw_test.h"
#include "tests/support/menu_driver.h"

namespace {

enum Loop {
  kDropDown,
  kSubmenu,
  kWindowMenu,
  kPopupMenu,
  kMessageBox,
  kCommonDialog,
  kThumbDrag,
  kMove,
  kSize,
  kLoopCount
};
const char* const kLoopNames[] = {"drop-down",  "submenu",     "window menu",
                                  "popup menu", "message box", "common dialog",
                                  "thumb drag", "move",        "size"};
enum Action { kSwitch, kUnskin, kReskin, kMenuChange, kDestroy, kControls, kActionCount };
const char* const kActionNames[] = {"switch skin", "unskin",         "reskin",
                                    "menu change", "destroy window", "free controls"};

int Rounds() {
  const char* text = std::getenv("REENTRANCY_ROUNDS");
  const int n = text ? std::atoi(text) : 0;
  return n > 0 ? n : 1;
}

void MouseButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
}

// Runs `fn` once from a thread timer after `ms`: inside whatever loop is running then.
class OneShot {
 public:
  OneShot(int ms, std::function<void()> fn) : fn_(std::move(fn)) {
    id_ = SetTimer(nullptr, 0, UINT(ms), &OneShot::Tick);
    live_.push_back(this);
  }
  ~OneShot() {
    if (id_) KillTimer(nullptr, id_);
    std::erase(live_, this);
  }
  OneShot(const OneShot&) = delete;
  OneShot& operator=(const OneShot&) = delete;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    for (OneShot* self : live_) {
      if (self->id_ != id) continue;
      self->id_ = 0;
      if (self->fn_) self->fn_();
      return;
    }
  }
  static inline std::vector<OneShot*> live_;
  std::function<void()> fn_;
  UINT_PTR id_ = 0;
};

class ReentrancyTest : public fwtest::ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    skin::TSkinData::SetReporter(&reporter_);
    // A message-only window that carries a change out when a message posted to it is
    // dispatched: inside the loop, as the loop dispatches it.
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ReentrancyTest::PostedProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ReentrancyPosted";
    RegisterClassA(&wc);
    poster_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
    SetWindowLongPtrA(poster_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    MakeForm();
  }
  void TearDown() override {
    DestroyWindow(poster_);
    skin::TSkinData::SetReporter(nullptr);
    delete form_;
    form_ = GalleryForm = nullptr;
    fwtest::PumpFor(300);
    ApplicationTest::TearDown();
  }
  void MakeForm() {
    form_ = App().CreateForm(&GalleryForm);
    form_->SetBounds(60, 60, 640, 560);
    form_->Show();
    SetForegroundWindow(form_->Handle());
    ASSERT_TRUE(fwtest::PumpUntil([&] { return Skinned(); }, 3000));
    stress::RepaintAll(form_->Handle());
  }
  skin::TSkinForm* Controller() const { return skin::SkinFormOfWindow(form_->Handle()); }
  bool Skinned() const {
    skin::TSkinForm* c = form_ && form_->HandleAllocated() ? Controller() : nullptr;
    return c && c->LifeState == skin::LifeReady;
  }
  // The manager's next tick comes at once, inside the loop running now.
  static void TickSoon() {
    if (skin::SkinManager && skin::SkinManager->Timer.Enabled())
      skin::SkinManager->Timer.SetInterval(1);
  }

  void Act(Action action) {
    switch (action) {
      case kSwitch:
        form_->UseBuiltInSkin(dark_ ? kMetallicSkinResource : kDarkSkinResource,
                              dark_ ? "metallic" : "dark");
        dark_ = !dark_;
        break;
      case kUnskin:
        form_->UseNoSkin();
        break;
      case kReskin:
        form_->UseNoSkin();
        form_->UseBuiltInSkin(kMetallicSkinResource, "metallic");
        dark_ = false;
        break;
      case kMenuChange:
        // The bar shrinks under the open drop-down and is rebuilt.
        if (extra_) {
          form_->MainMenu1->Items()->Remove(extra_);
          delete extra_;
          extra_ = nullptr;
        }
        break;
      case kDestroy:
        DestroyWindow(form_->Handle());
        break;
      case kControls: {
        auto* group = dynamic_cast<fw::TRadioGroup*>(form_->FindComponent("RadioGroup1"));
        if (group) {
          fw::TStringList items;
          items.Add("One");
          items.Add("Two");
          group->SetItems(items);  // frees the group's buttons and makes new ones
        }
        form_->UseBuiltInSkin(dark_ ? kMetallicSkinResource : kDarkSkinResource, "other");
        dark_ = !dark_;
        break;
      }
      case kActionCount:
        break;
    }
    TickSoon();
  }

  // Opens the loop; `action` runs inside it, and the loop is ended after that.
  static LRESULT CALLBACK PostedProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<ReentrancyTest*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_APP && self) {
      self->Act(Action(wparam));
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wparam, lparam);
  }

  // `posted`: the change comes as a posted message instead of from the timer at once.
  void RunLoop(Loop loop, Action action, bool posted) {
    const auto act = [this, action, posted] {
      if (posted) {
        PostMessageA(poster_, WM_APP, WPARAM(action), 0);
      } else {
        Act(action);
      }
    };
    RunLoopWith(loop, action, act);
    // A posted change the loop ended before dispatching is dropped: it belonged inside.
    MSG left{};
    while (PeekMessageA(&left, poster_, WM_APP, WM_APP, PM_REMOVE)) {
    }
  }
  void RunLoopWith(Loop loop, Action action, const std::function<void()>& act) {
    HWND hwnd = form_->Handle();
    RECT window{};
    GetWindowRect(hwnd, &window);
    skin::TSkinForm* c = Controller();
    switch (loop) {
      case kDropDown: {
        ASSERT_TRUE(c && c->MenuBar && c->MenuBar->ButtonCount() > 0);
        const RECT b = c->MenuBar->Button(0)->Bounds;
        // A click where the last one was would be the second of a double click.
        const int dx = (click_++ % 3 - 1) * 6;
        fwtest::MenuDriver driver({[&](HWND) { act(); }, [](HWND) {}, [](HWND) { EndMenu(); }}, 60,
                                  400);
        fwtest::ClickAt(window.left + (b.left + b.right) / 2 + dx,
                        window.top + (b.top + b.bottom) / 2);
        fwtest::PumpUntil([&] { return driver.Finished(); }, 2000);
        EXPECT_FALSE(driver.MenusSeen().empty()) << "the menu never opened";
        break;
      }
      case kSubmenu: {
        // View's drop-down (opened on its first item), down to Skin and right into it.
        ASSERT_TRUE(c && c->MenuBar && c->MenuBar->ButtonCount() > 1);
        const RECT b = c->MenuBar->Button(1)->Bounds;
        const int dx = (click_++ % 3 - 1) * 6;
        const auto key = [](WORD vk) { return [vk](HWND) { fwtest::TapKey(vk); }; };
        submenu_seen_ = false;
        fwtest::MenuDriver driver({key(VK_DOWN), key(VK_RIGHT),
                                   [&](HWND) {
                                     submenu_seen_ = fwtest::VisibleMenuWindows().size() > 1;
                                     act();
                                   },
                                   [](HWND) {}, [](HWND) { EndMenu(); }},
                                  120, 600);
        fwtest::ClickAt(window.left + (b.left + b.right) / 2 + dx,
                        window.top + (b.top + b.bottom) / 2);
        fwtest::PumpUntil([&] { return driver.Finished(); }, 3000);
        EXPECT_TRUE(submenu_seen_) << "the submenu never opened";
        break;
      }
      case kWindowMenu: {
        ASSERT_NE(c, nullptr);
        fwtest::MenuDriver driver({[&](HWND) { act(); }, [](HWND) {}, [](HWND) { EndMenu(); }}, 60,
                                  400);
        fwtest::ClickAt(window.left + c->BorderLeft + 60 + (click_++ % 3) * 12,
                        window.top + c->BorderTop / 2, true);
        fwtest::PumpUntil([&] { return driver.Finished(); }, 2000);
        EXPECT_FALSE(driver.MenusSeen().empty()) << "the menu never opened";
        break;
      }
      case kPopupMenu: {
        fwtest::MenuDriver driver({[&](HWND) { act(); }, [](HWND) {}, [](HWND) { EndMenu(); }}, 60,
                                  400);
        form_->PopupMenu1->Popup(window.left + 200, window.top + 200);
        EXPECT_FALSE(driver.MenusSeen().empty()) << "the menu never opened";
        break;
      }
      case kMessageBox: {
        fwtest::MessageBoxRecorder boxes;
        OneShot during(1, act);
        App().MessageBox("during the box");
        fwtest::PumpFor(50);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
        break;
      }
      case kCommonDialog: {
        // The colour dialog over the form; the recorder presses its default button.
        fwtest::MessageBoxRecorder boxes;
        OneShot during(1, act);
        static COLORREF custom[16] = {};
        CHOOSECOLORA cc{};
        cc.lStructSize = sizeof cc;
        cc.hwndOwner = hwnd;
        cc.lpCustColors = custom;
        ChooseColorA(&cc);
        fwtest::PumpFor(50);
        // An owner destroyed before the dialog came up takes the dialog with it.
        if (action != kDestroy) {
          EXPECT_EQ(boxes.Boxes().size(), 1u);
        }
        break;
      }
      case kThumbDrag: {
        // The memo's skinned thumb, held down and moved; the release ends the drag.
        auto* memo = dynamic_cast<fw::TWinControl*>(form_->FindComponent("Memo1"));
        ASSERT_NE(memo, nullptr);
        form_->PageControl1->SetActivePage(dynamic_cast<fw::TTabSheet*>(memo->Parent()));
        stress::RepaintAll(hwnd);
        auto* bar = c ? dynamic_cast<skin::TSkinScrollBar*>(c->FindSkinnerByHandle(memo->Handle()))
                      : nullptr;
        ASSERT_NE(bar, nullptr);
        RECT memo_window{};
        GetWindowRect(memo->Handle(), &memo_window);
        const skin::ThumbMetrics& m = bar->FVertMetrics;
        const POINT thumb{
            memo_window.left + (bar->FVertBarRect.left + bar->FVertBarRect.right) / 2,
            memo_window.top + bar->FVertBarRect.top + m.arrow + m.thumb_pos + m.thumb_length / 2};
        SetCursorPos(thumb.x, thumb.y);
        fwtest::PumpFor(20);
        OneShot move(20, [thumb] { SetCursorPos(thumb.x, thumb.y + 30); });
        OneShot during(60, act);
        OneShot end(250, [] { MouseButton(false); });
        MouseButton(true);
        fwtest::PumpFor(400);
        EXPECT_EQ(GetCapture(), nullptr) << "the drag kept the capture";
        break;
      }
      case kMove:
      case kSize: {
        // The keyboard move and size loops; Escape ends them. With the window gone no
        // window of this thread has the keyboard, so the key is posted to the thread, where
        // the loop reads it too.
        OneShot during(20, act);
        OneShot end(200, [hwnd] {
          if (IsWindow(hwnd))
            fwtest::TapKey(VK_ESCAPE);
          else
            PostThreadMessageA(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
        });
        SendMessageA(hwnd, WM_SYSCOMMAND, loop == kMove ? SC_MOVE : SC_SIZE, 0);
        fwtest::PumpFor(50);
        break;
      }
      case kLoopCount:
        break;
    }
  }

  // Back to the start: a live gallery skinned with the metallic skin.
  void Restore() {
    fwtest::PumpFor(80);
    // A change asked for inside a message box may still wait for the manager's tick.
    stress::RunPendingNow();
    if (!form_->HandleAllocated() || !IsWindow(form_->Handle())) {
      delete form_;
      form_ = GalleryForm = nullptr;
      MakeForm();
    }
    if (!Skinned() || dark_ || !form_->SkinData1->Active()) {
      EXPECT_TRUE(form_->UseBuiltInSkin(kMetallicSkinResource, "metallic"))
          << (reporter_.messages.empty() ? "" : reporter_.messages.back());
      dark_ = false;
      stress::RunPendingNow();
      fwtest::PumpUntil([&] { return Skinned(); }, 3000);
    }
    if (!extra_) {
      extra_ = new fw::TMenuItem(form_);
      extra_->SetCaption("Extra");
      form_->MainMenu1->Items()->Add(extra_);
    }
    // The bar's buttons get their places when the frame is painted.
    SetForegroundWindow(form_->Handle());
    stress::RepaintAll(form_->Handle());
    fwtest::PumpFor(50);
  }

  // What the manager holds, for a round that could not start.
  std::string State() const {
    skin::TSkinForm* c = form_->HandleAllocated() ? Controller() : nullptr;
    char text[200];
    std::snprintf(text, sizeof text,
                  "controller %p life %d, manager active %d pending %d forms %d, data active %d",
                  static_cast<void*>(c), c ? int(c->LifeState) : -1, int(skin::SkinManager->Active),
                  int(skin::SkinManager->HasPendingWork()), int(skin::SkinManager->Forms.size()),
                  int(form_->SkinData1->Active()));
    return text;
  }

  TGalleryForm* form_ = nullptr;
  fw::TMenuItem* extra_ = nullptr;
  bool dark_ = false;
  bool submenu_seen_ = false;
  int click_ = 0;
  skin::RecordingSkinReporter reporter_;
  HWND poster_ = nullptr;
};

TEST_F(ReentrancyTest, EveryLoopSurvivesEveryChangeInsideIt) {
  fw::TPopupMenu::PopupWindow();  // the process-wide owner of popup menus, made once
  fw::TTimer{nullptr};            // and the timers' window, made by the first running timer
  stress::RunPendingNow();
  fwtest::PumpFor(300);
  const fw::HandleSnapshot start = fwtest::QuietHandleSnapshot();
  int rounds = 0;
  for (int r = 0; r < Rounds(); ++r) {
    for (int loop = 0; loop < kLoopCount; ++loop) {
      for (int action = 0; action < kActionCount; ++action) {
        SCOPED_TRACE(std::string(kLoopNames[loop]) + " / " + kActionNames[action]);
        Restore();
        ASSERT_TRUE(Skinned()) << State();
        // Every other combination, alternating with the round, gets its change posted.
        RunLoop(Loop(loop), Action(action), (r + loop + action) % 2 == 1);
        // The window's end takes the form, and its extra item, in the next set-up.
        if (action == kDestroy && !(form_->HandleAllocated() && IsWindow(form_->Handle())))
          extra_ = nullptr;
        EXPECT_TRUE(fwtest::VisibleMenuWindows().empty()) << "a menu was left open";
        if (form_->HandleAllocated() && IsWindow(form_->Handle())) {
          DWORD_PTR answer = 0;
          EXPECT_TRUE(
              SendMessageTimeoutA(form_->Handle(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
        }
        EXPECT_TRUE(reporter_.faults.empty()) << reporter_.faults.front();
        reporter_.faults.clear();
        ++rounds;
      }
    }
  }
  Restore();
  if (extra_) {
    form_->MainMenu1->Items()->Remove(extra_);
    delete extra_;
    extra_ = nullptr;
  }
  // The same state as at the start: the first form's replacement compares like for like.
  delete form_;
  form_ = GalleryForm = nullptr;
  MakeForm();
  stress::RunPendingNow();
  fwtest::PumpFor(300);
  EXPECT_EQ(fwtest::SettledHandleDifference(start), "");
  std::printf("re-entrancy: %d rounds over %d loop kinds and %d changes\n", rounds, int(kLoopCount),
              int(kActionCount));
}

}  // namespace
