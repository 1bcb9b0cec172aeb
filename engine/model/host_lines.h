#pragma once
// The host's lines carried in a document stream: reviewer lines ("QV...")
// and annotation lines ("QP..."). The engine keeps them apart from the
// document so that a host layer above it can rebuild its reviewers and
// annotations. A load that replaces the document replaces the lists with the
// stream's; otherwise the engine never fills or empties them.
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TStream;

class TQvDvData {
 public:
  // Annotation lines and reviewer lines, whole, tag included, in the order added.
  std::vector<std::string> allPostil;
  std::vector<std::string> userInfo;

  // Every reviewer line, then every annotation line, each ending with CR LF.
  void QvSave(TStream& stream) const;
  // Keeps a line that begins with exactly "QV" (reviewers) or "QP"
  // (annotations) and answers true; any other line is not kept.
  bool QvRead(std::string_view line);
  bool Empty() const { return allPostil.empty() && userInfo.empty(); }
};

}  // namespace quillet
