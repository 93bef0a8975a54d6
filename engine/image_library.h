// Start-up of the image library, once per process.
#pragma once

namespace quill {

// Initialises the library's plugins and installs its message handler, the first time it is
// called; later calls do nothing. Safe to call from any thread; ConvertImage calls it itself.
void InitialiseImageLibrary();

}  // namespace quill
