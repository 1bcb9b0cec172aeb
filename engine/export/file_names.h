#pragma once
// The folder and name parts of a file name ("/" separates folders).
#include <string>

namespace quillet {

// The folder part with its trailing "/"; empty when the name has none.
inline std::string DVExtractFilePath(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

inline std::string DVExtractFileName(const std::string& fileName) {
  return fileName.substr(fileName.find_last_of('/') + 1);
}

}  // namespace quillet
