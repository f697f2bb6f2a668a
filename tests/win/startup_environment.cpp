// Everything the program prepares before its main window, done once for all
// Windows tests.
#include "window/startup_gui.h"

#include <gtest/gtest.h>

namespace {

class StartupEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { PrepareStartup(); }
};

const ::testing::Environment* const startup =
    ::testing::AddGlobalTestEnvironment(new StartupEnvironment);

} // namespace
