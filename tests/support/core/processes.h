#pragma once

#include <sys/types.h>

namespace brevio::test {

// The id of a process that has ended and been reaped: a writer that is gone.
pid_t endedProcessId();

} // namespace brevio::test
