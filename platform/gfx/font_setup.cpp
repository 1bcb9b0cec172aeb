#include "platform/gfx/font_setup.h"

#include <unistd.h>

#include <cstdlib>

#ifndef QUILLET_FONTCONFIG_FILE
#define QUILLET_FONTCONFIG_FILE ""
#endif

namespace quillet {

void InstallProjectFontConfig() {
  // A configuration the user or the system chose wins over ours.
  const char* chosen = std::getenv("FONTCONFIG_FILE");
  if (chosen && *chosen) return;
  // An installed program finds the file through the environment; a build
  // tree knows where its source is.
  const char* path = std::getenv("QUILLET_FONTCONFIG_FILE");
  if (!path || !*path) path = QUILLET_FONTCONFIG_FILE;
  // A missing file would leave fontconfig with no configuration at all.
  if (*path && access(path, R_OK) == 0) setenv("FONTCONFIG_FILE", path, 1);
}

}  // namespace quillet
