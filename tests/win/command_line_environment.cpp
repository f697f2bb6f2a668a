// The main window takes its argument from the process's command line, which
// for this test program holds the test options. Every test therefore starts
// with a command line that carries no argument; the command line tests set
// their own.
#include "window/command_line_gui.h"

#include <gtest/gtest.h>

namespace {

const char* ProgramPathOnly() {
    return "\"C:\\TamsoloCalc\\tamsolocalc.exe\"";
}

class CommandLineEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { SetCommandLineSource(ProgramPathOnly); }
};

const ::testing::Environment* const commandLine =
    ::testing::AddGlobalTestEnvironment(new CommandLineEnvironment);

} // namespace
