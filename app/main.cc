// Process entry of quillpix.
#include <string>
#include <vector>

#include "app/startup.h"

int main(int argc, char** argv) {
  std::vector<std::string> parameters(argv + (argc > 0 ? 1 : 0), argv + argc);
  return quill::RunProgram(parameters);
}
