#pragma once
// Revision tracking for one editor: starting and stopping it for a
// reviewer of the table, and the editor's two style-conversion handlers,
// which answer the host's font, protection and paragraph commands and the
// editor's revision marks (inserted text underlined, deleted text struck
// out, both in the reviewer's colour).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/style/text_style.h"
#include "platform/core/colors.h"

namespace quillet {

class TCustomDocViewEdit;
class TDbDm;
class TReviewerTable;

// What the main form's controls hold when a command converts styles: the
// font menu's check marks, the last choices of the font boxes, the colour
// items' tags, the set chosen in the protection dialog, the alignment
// items' check marks and the ruler's positions.
struct TTrackingFormState {
  bool FontBold = false, FontItalic = false, FontUnderline = false, FontStrikeout = false;
  std::string FontName;
  int32_t FontSize = 10;
  TColor FontColor = 0;
  TColor FontBackColor = 0;
  TDVProtectOptions TextProtection = 0;
  bool ParaLeft = false, ParaRight = false, ParaCenter = false;
  TColor ParaColor = 0;
  int32_t RulerLeftMargin = 0, RulerRightMargin = 0, RulerWidth = 0;
  int32_t RulerLeftIndent = 0, RulerRightIndent = 0, RulerFirstIndent = 0;
};

class TRevisionTracking {
 public:
  // Binds the handlers to the editor's OnStyleConversion and
  // OnParaStyleConversion; the destructor unbinds them. Editor, table and
  // state must outlive this object.
  TRevisionTracking(TCustomDocViewEdit& editor, TReviewerTable& table, const TTrackingFormState& state);
  ~TRevisionTracking();
  TRevisionTracking(const TRevisionTracking&) = delete;
  TRevisionTracking& operator=(const TRevisionTracking&) = delete;

  // The reviewer userName (system code page) enters the table and the
  // editor tracks in the reviewer's colour and name. Raises EReviewerError,
  // with tracking as it was, when the table refuses the reviewer.
  void StartTrace(std::string_view userName);
  // Tracking off, its colour 0; the table is kept.
  void StopTrace();

  // The text style for text of style styleNo under the code; codes without
  // a change answer styleNo. A style not in the sheet is added.
  int32_t TextStyleConversion(int32_t styleNo, int32_t code);
  // The same for paragraph styles.
  int32_t ParaStyleConversion(int32_t paraNo, int32_t code);

  // The time a reviewer's start of tracking is stamped with.
  std::function<std::string()> Now;

 private:
  // The colour of the current reviewer's marks.
  TColor ReviewerColor() const;
  int32_t MarkedStyle(int32_t styleNo, int32_t code);

  TCustomDocViewEdit& editor_;
  TReviewerTable& table_;
  const TTrackingFormState& state_;
};

// The name a reviewer tracks under: the database module's user name, else
// the login name.
std::string TrackingUserName(const TDbDm& db);

}  // namespace quillet
