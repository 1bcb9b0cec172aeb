#pragma once
// A settings folder of the run's own for fuzz targets that read settings
// files, removed when the run ends.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "commands/settings_file.h"

namespace quillet::fuzz {

// The folder, made at the first call.
inline const std::string& ScratchSettingsFolder() {
  struct TScratch {
    TScratch() {
      char name[] = "/tmp/quillet-settings-fuzz-XXXXXX";
      if (!mkdtemp(name)) std::abort();
      base = name;
      setenv("XDG_CONFIG_HOME", name, 1);
      folder = SettingsFolder();
    }
    ~TScratch() { std::filesystem::remove_all(base); }
    std::string base, folder;
  };
  static const TScratch scratch;
  return scratch.folder;
}

// Puts the bytes in the folder as the settings file `name`.
inline void WriteScratchSettingsFile(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = ScratchSettingsFolder() + "/" + name;
  { TDVSettingsFile make(name); }  // the folder exists from here on
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

}  // namespace quillet::fuzz
