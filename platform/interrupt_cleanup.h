// Cleaning up after a process that SIGINT or SIGTERM ends while it writes a
// file: the temporary file of a replacement in progress is removed, so that an
// interrupted save leaves the old file as it was and nothing beside it.
//
// One temporary file at a time is tracked (the process saves one file at a
// time). The signal handler only calls async-signal-safe functions.
#pragma once

#include <string>

namespace tavro {

// Installs the handlers for SIGINT and SIGTERM, unless the process was started
// ignoring them; after the cleanup the signal ends the process as it would
// have without them.
void InstallInterruptCleanup();

// `path` is to be removed if the process is interrupted, until ForgetTemporary.
void TrackTemporary(const std::string& path);
void ForgetTemporary();

}  // namespace tavro
