// Start-up of the image library.
#include "engine/image_library.h"

#include <FreeImage.h>

#include <mutex>

#include "engine/library_messages.h"

namespace quill {

void InitialiseImageLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    // The shared library initialises itself when it is loaded, but a static link does not.
    // Initialisation is reference-counted, so this one extra reference is harmless in the first
    // case and required in the second. It is never released: the plugins live as long as the
    // process.
    FreeImage_Initialise(FALSE);
    InstallLibraryMessageHandler();
  });
}

}  // namespace quill
