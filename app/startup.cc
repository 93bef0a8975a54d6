// Process start: takes the single-instance lock, then runs the console mode, which either does
// the whole job or hands over to the desktop mode.
#include "app/startup.h"

#include "platform/console.h"
#include "platform/files.h"
#include "platform/lock.h"
#include "platform/paths.h"
#include "settings/product.h"
#include "ui/desktop.h"

namespace quill {

std::string DataFolder(const std::string& maker, const std::string& program) {
  std::string folder = platform::ApplicationDataFolder();
  if (folder.empty() || folder.back() != platform::kPathSeparator) {
    folder += platform::kPathSeparator;
  }
  const std::string maker_folder = folder + maker + platform::kPathSeparator;
  if (!platform::FolderExists(maker_folder)) platform::CreateFolder(maker_folder);
  const std::string program_folder = maker_folder + program + platform::kPathSeparator;
  if (!platform::FolderExists(program_folder)) platform::CreateFolder(program_folder);
  return program_folder;
}

int RunProgram(const std::vector<std::string>& parameters) {
  platform::InstanceLock lock = platform::InstanceLock::Acquire(ProgramTitle());
  if (!lock.held()) {
    platform::PrintErrorLine(ProgramTitle() + " is already running");
    return 1;
  }
  if (!parameters.empty() && (parameters[0] == "-v" || parameters[0] == "--version")) {
    platform::PrintLine(VersionText(kVersionNumber));
    return 0;
  }
  return RunDesktopMode();
}

}  // namespace quill
