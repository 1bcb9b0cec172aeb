#include "engine/model/host_lines.h"

#include "engine/base/dvf_tokens.h"

namespace quillet {

void TQvDvData::QvSave(TStream& stream) const {
  for (const std::string& line : userInfo) DVFWriteLine(stream, line);
  for (const std::string& line : allPostil) DVFWriteLine(stream, line);
}

bool TQvDvData::QvRead(std::string_view line) {
  if (line.substr(0, 2) == "QV") {
    userInfo.emplace_back(line);
    return true;
  }
  if (line.substr(0, 2) == "QP") {
    allPostil.emplace_back(line);
    return true;
  }
  return false;
}

}  // namespace quillet
