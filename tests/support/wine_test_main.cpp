// The main of every Wine test program: message boxes are recorded and closed, a watchdog
// ends a test that hangs, and the process ends as soon as the tests have run (see fw_test.h).
#include <gtest/gtest.h>

#include "tests/support/fw_test.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  fwtest::InstallTestGuards();
  fwtest::EndProcess(RUN_ALL_TESTS());
}
