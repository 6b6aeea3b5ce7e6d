// The last resort when setup's own start-up or shutdown machinery fails, or
// an exception reaches the top: a stop box that no quiet level suppresses,
// then the process ends at once with a code that says which stage failed.
#pragma once

enum RuntimeFailure {
  kRuntimeStartupFailed = -2,   // heap or static initialisation
  kRuntimeEntryEscaped = -3,    // an exception escaped the process entry
  kRuntimeShutdownFailed = -4,  // exit handlers and static destructors
  kRuntimeTerminated = -5,      // std::terminate, unhandled exception
};

// Shows the runtime failure box and ends the process with the code.
[[noreturn]] void RuntimeFailureExit(RuntimeFailure failure);

// Installs the terminate handler, the unhandled-exception filter and the
// new-handler (which raises the out-of-memory system exception). The
// terminate handler is also installed before static initialisation.
void InstallRuntimeFailureHandlers();

// Runs the program's body between start-up and shutdown: a failure before
// it counts as a start-up failure, one after it as a shutdown failure, and
// an exception escaping it ends the process with kRuntimeEntryEscaped.
int RunProcessEntry(int (*body)(void*), void* context);
