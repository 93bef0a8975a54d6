// The desktop mode of this build: not available yet, so say so and fail.
#include "ui/desktop.h"

#include "platform/console.h"

namespace quill {

int RunDesktopMode() {
  platform::PrintErrorLine("quillpix: this build has no desktop mode; use -i to convert files");
  return 1;
}

}  // namespace quill
