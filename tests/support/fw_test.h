#pragma once
// Helpers for tests that run under Wine.
//
// Every Wine test program links wine_test_main.cpp, which
//  - installs a WH_CBT hook on the test thread that records and closes every message box
//    (window class "#32770") as soon as it is activated, so no test waits on a modal box;
//    a box that no MessageBoxRecorder expects fails the running test with its text;
//  - runs a watchdog thread: a test still running after FW_TEST_WATCHDOG seconds (default
//    30) prints its name and ends the process with exit code 3, so nothing hangs ctest;
//  - validates every heap of the process after each test: a damaged heap fails the test that
//    just ended (see DamagedHeaps).
//
// Asserting on message boxes:
//   fwtest::MessageBoxRecorder boxes;          // record from here to the end of the scope
//   app.MessageBox("text");                    // returns at once (OK was pressed)
//   EXPECT_THAT(boxes.Texts(), ElementsAre("text"));
//   EXPECT_EQ(boxes.Boxes()[0].caption, "title");
//
// Waiting for Windows: PumpUntil([&] { return painted; }) dispatches messages until the
// condition holds or the timeout passes (returns the condition's last value).
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/handle_counts.h"

namespace fwtest {

// True for a window of this program. Test programs run side by side, and Wine tells a
// thread's hooks of other programs' windows too.
bool OfThisProgram(HWND window);

void RecordBox(HWND box);

struct RecordedBox {
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;  // button captions in window order
  bool has_icon = false;
  RECT rect{};                  // window rectangle on the screen
  bool owner_disabled = false;  // the main form was disabled while the box showed
};

class MessageBoxRecorder {
 public:
  MessageBoxRecorder();
  ~MessageBoxRecorder();
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  const std::vector<RecordedBox>& Boxes() const { return boxes_; }
  std::vector<std::string> Texts() const;
  void Clear() { boxes_.clear(); }

 private:
  friend void RecordBox(HWND box);
  std::vector<RecordedBox> boxes_;
  MessageBoxRecorder* previous_;
};

// Dispatches the thread's messages until condition() is true or timeout_ms passed.
bool PumpUntil(const std::function<bool()>& condition, int timeout_ms = 5000);
// Dispatches messages for the given time.
void PumpFor(int milliseconds);

// The live handle counts with the cursor parked at the screen's bottom-right corner, off
// the test windows: a skinned window polls the pointer only while something under it is
// hot, so the counts do not depend on where the last click left the cursor.
fw::HandleSnapshot QuietHandleSnapshot();
// "" when the live handle counts equal `start` (taken by QuietHandleSnapshot), else the
// kinds that differ; the cursor is parked first. Timers that are running out (a deferred
// action, a hover poll) get up to a second and a half: a leak does not go away by waiting.
std::string SettledHandleDifference(const fw::HandleSnapshot& start);

// The WCAG contrast ratio of two colours (1 to 21).
double ContrastRatio(COLORREF a, COLORREF b);

// Real input, as a user gives it: the cursor moves to a point of a window's client area
// (SetCursorPos), the left button goes down and up there (SendInput), and messages are
// dispatched until the input has been handled. The window's top-level parent is brought to
// the foreground first.
void ClickAt(HWND hwnd, POINT client_point);
// A key pressed and released (SendInput) on the focused window.
void PressKey(WORD virtual_key);

// The heaps of the process that fail HeapValidate, each by name ("the C runtime heap ...",
// "the process heap", else its address). The test prefix runs every heap with free checking
// (scripts/wine-env.sh): Wine fills a freed block with a pattern and keeps it from reuse for
// the next 1024 frees of its heap, and validation finds the pattern overwritten. Nothing
// faults at the write itself, nor at a later allocation; only validation tells.
std::vector<std::string> DamagedHeaps();

// Installs the hook, the watchdog and the heap check; called by the test main.
void InstallTestGuards();
// Called by the test main with the tests' result, which it ends the process with at once:
// the Wine shutdown of a test program (its DLLs' detach, after every other thread is gone)
// was seen to stay stuck under load in fresh prefixes, holding ctest until its timeout.
[[noreturn]] void EndProcess(int result);

// A test fixture with an application object (and the standard classes registered).
class ApplicationTest : public testing::Test {
 protected:
  void SetUp() override { app_ = std::make_unique<fw::TApplication>(); }
  void TearDown() override { app_.reset(); }
  fw::TApplication& App() { return *app_; }

 private:
  std::unique_ptr<fw::TApplication> app_;
};

}  // namespace fwtest
