#pragma once

#include <optional>

namespace brevio {

// The command line: "--now [--hours N]", "--search TEXT", "--help" and "--version" run in the
// terminal from the working folder (the current one) and end the program; its exit code is
// returned. Nothing (the window starts) for any other command line.
std::optional<int> runConsoleOptions(int argc, char* argv[]);

} // namespace brevio
