#pragma once

namespace brevio {

class CommandLine;

// Carries out the terminal command a parsed command line asks for ("--now [--hours N]",
// "--search TEXT", "--reminders", "--refresh" or "--add-source ADDRESS [--name NAME]") on the
// working folder (the current one, or the one --workdir or --data-home names: it must exist for
// the commands that only read, the others make it) and returns the exit code. It needs no display,
// makes no window and leaves the single-instance lock alone.
int runConsoleCommand(const CommandLine& commandLine);

} // namespace brevio
