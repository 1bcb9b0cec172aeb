#pragma once
// The hyperlink command. A link is text (or a hot picture) whose text style
// jumps, with the link's target as the item's tag string, so the editor must
// keep tags as strings (dvoTagsArePChars). The command inserts new link
// text, or turns the selected text and pictures into links to one target,
// or back into plain items when the target is empty.
//
// Texts and targets the command and its form event exchange are UTF-8;
// targets are stored in the tag in the system code page.
#include <functional>
#include <memory>
#include <string>

#include "commands/actions/style_actions.h"
#include "platform/core/colors.h"
#include "platform/core/cursors.h"
#include "platform/gfx/canvas.h"

namespace quillet {

class TFontInfo;

// Which style properties the command sets on links and resets on removal.
enum TDVHyperlinkProperty : uint8_t {
  dvhlBold, dvhlItalic, dvhlUnderline, dvhlStrikeout, dvhlColor, dvhlBackColor, dvhlHoverColor,
  dvhlHoverBackColor, dvhlCursor, dvhlJump
};
using TDVHyperlinkProperties = uint16_t;
constexpr TDVHyperlinkProperties HyperlinkProperty(TDVHyperlinkProperty p) { return uint16_t(1u << p); }

class TdvActionInsertHyperlink;
// Replaces the built-in form: insertNew says a new link is to be made;
// goOn (true on entry) false cancels; text and target in and out.
using TDVHyperlinkFormEvent = std::function<void(TdvActionInsertHyperlink& sender, bool insertNew, bool& goOn,
                                                 std::string& text, std::string& target)>;

class TdvActionInsertHyperlink : public TdvActionTextStyles {
 public:
  explicit TdvActionInsertHyperlink(QObject* owner = nullptr);
  ~TdvActionInsertHyperlink() override;

  TColor Color = clBlue;
  TColor HoverColor = clBlue;
  TColor BackColor = clNone;
  TColor HoverBackColor = clNone;
  TCursor Cursor = crJump;
  TFontStyles Style = fsUnderline;
  TDVHyperlinkProperties ValidProperties =
      HyperlinkProperty(dvhlUnderline) | HyperlinkProperty(dvhlColor) | HyperlinkProperty(dvhlBackColor) |
      HyperlinkProperty(dvhlHoverColor) | HyperlinkProperty(dvhlHoverBackColor) | HyperlinkProperty(dvhlCursor) |
      HyperlinkProperty(dvhlJump);
  // Pictures become hot pictures carrying the target, and back.
  bool SetToPictures = true;
  // What each space of a target becomes; one holding a space keeps them.
  std::string SpaceFiller = "%20";
  TDVHyperlinkFormEvent OnHyperlinkForm;

  // Enabled when the innermost editor keeps string tags, has no table with
  // cells selected and no table among the selected items.
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;

  // Whether the innermost editor has items to link: without a selection
  // the link at the caret (or touching it on the same line), else the
  // picture at the caret, is selected first. target: the selected items'
  // common target, empty when they differ.
  bool HasItems(TCustomDocViewEdit& editor, std::string& target);
  std::string EncodeTarget(const std::string& target) const;
  // The link style: text style 0 made a link, found or added.
  int32_t GetStyleNo(TCustomDocViewEdit& editor);
  // The selected items linked to target, or unlinked when it is empty
  // (their look back to text style 0's), as one undo step.
  void SetTags(TCustomDocViewEdit& editor, const std::string& target);
  // userData 1 makes a link, 0 removes one.
  void ApplyConversion(TFontInfo& style, int32_t userData) override;

 protected:
  // The form (or OnHyperlinkForm); false when cancelled.
  virtual bool DoShowForm(bool insertNew, std::string& text, std::string& target);

 private:
  bool Valid(TDVHyperlinkProperty p) const { return (ValidProperties & HyperlinkProperty(p)) != 0; }
  void InsertLink(TCustomDocViewEdit& editor, const std::string& text, const std::string& target);
  // Text style 0 while links are being removed: a copy, since the
  // conversion may add styles and move the sheet's.
  std::unique_ptr<TFontInfo> reference_;
};

}  // namespace quillet
