// The main of every Wine test program: message boxes are recorded and closed, a watchdog
// ends a test that hangs, and a process that does not end after its tests (see fw_test.h).
#include <gtest/gtest.h>

#include "tests/support/fw_test.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  fwtest::InstallTestGuards();
  const int result = RUN_ALL_TESTS();
  fwtest::GuardExit(result);
  return result;
}
