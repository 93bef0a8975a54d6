// The console run of this build: conversion is not available yet.
#include "cli/console_run.h"

#include "platform/console.h"

namespace quill {

int RunConsoleJob(ConsoleContext&, bool) {
  platform::PrintLine("This build of quillpix cannot convert files yet.");
  return kExitError;
}

}  // namespace quill
