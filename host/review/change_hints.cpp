#include "host/review/change_hints.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QString>
#include <QWidget>
#include <algorithm>

#include "editing/table/table_types.h"
#include "engine/layout/formatted_data.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "host/annotation/postil.h"
#include "host/codec/division_string.h"
#include "host/review/reviewer_table.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

const std::string kLineBreak = "\x0c\x0d";

}  // namespace

// The viewer's mouse moves, seen after nothing has taken them.
class TChangeHints::Filter final : public QObject {
 public:
  explicit Filter(TChangeHints& owner) : owner_(owner) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseMove) {
      const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
      // A hint is not worth an error leaving the event handler.
      try {
        owner_.MouseMove(p.x(), p.y());
      } catch (const std::exception&) {
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TChangeHints& owner_;
};

TChangeHints::TChangeHints(TCustomDocView& view, const TReviewerTable& table, const TQvPostil& postil)
    : view_(view), table_(table), postil_(postil), filter_(std::make_unique<Filter>(*this)) {
  view_.ClientWidget()->installEventFilter(filter_.get());
}

TChangeHints::~TChangeHints() {
  if (QWidget* client = view_.ClientWidget()) client->removeEventFilter(filter_.get());
}

std::string TChangeHints::PostilHint(int32_t x, int32_t y) const {
  const std::string found = postil_.ShowUserName(x, y, view_.HPos(), view_.VPos(), view_.VSmallStep());
  if (found.empty()) return {};
  TDivisionString parts;
  parts.Run(found, ";");
  const std::string date = parts.StrCount() > 1 ? parts.StrItems(1) : std::string();
  return parts.StrItems(0) + kLineBreak + Utf8ToAnsi("时间：") + date;
}

std::string TChangeHints::TextHint(int32_t styleNo) const {
  const TDVStyle* sheet = view_.Style();
  if (!sheet || !sheet->TextStyles().IsValidIndex(styleNo)) return {};
  const TFontInfo& style = sheet->TextStyles()[styleNo];
  const char* what = (style.Style & fsUnderline) ? "  插入的内容" : (style.Style & fsStrikeOut) ? "  删除的内容" : nullptr;
  if (!what) return {};
  // Slot 0 is the drafter's, who tracks nothing; the lowest slot of the
  // colour wins. Free slots name nobody: plain underlined black text is no
  // one's change.
  const int last = std::min<int32_t>(table_.UsedUserNo(), TReviewerTable::kSlots - 1);
  for (int j = 1; j <= last; ++j) {
    const TReviewer& reviewer = table_.Slot(j);
    if (reviewer.Name.empty() || reviewer.Color != style.Color) continue;
    return reviewer.Name + Utf8ToAnsi(what) + kLineBreak + Utf8ToAnsi("时间:") + reviewer.Time;
  }
  return {};
}

std::optional<std::string> TChangeHints::HintAt(int32_t x, int32_t y) {
  if (ShowPostilUsers) {
    std::string hint = PostilHint(x, y);
    if (!hint.empty()) return hint;
  }
  if (last_ == std::pair{x, y}) return std::nullopt;
  last_ = std::pair{x, y};
  TCustomDVFormattedData* data = nullptr;
  int itemNo = -1;
  std::string word;
  view_.GetWordAtExt(x, y, data, itemNo, word);
  if (!data || itemNo < 0 || itemNo >= data->ItemCount()) return std::string();
  const int32_t styleNo = data->GetItemStyle(itemNo);
  if (styleNo >= 0) return TextHint(styleNo);
  if (styleNo == dvsPicture || styleNo == dvsHotPicture) return data->GetItemTextR(itemNo);
  if (styleNo == dvsTable) return std::nullopt;
  return std::string();
}

void TChangeHints::MouseMove(int32_t x, int32_t y) {
  std::optional<std::string> hint = HintAt(x, y);
  if (!hint || *hint == hint_) return;
  hint_ = std::move(*hint);
  view_.ClientWidget()->setToolTip(QString::fromStdString(HintToToolTip(hint_)));
}

std::string HintToToolTip(std::string_view hint) {
  std::string text = AnsiToUtf8(hint);
  for (size_t at = text.find(kLineBreak); at != std::string::npos; at = text.find(kLineBreak, at + 1))
    text.replace(at, kLineBreak.size(), "\n");
  return text;
}

}  // namespace quillet
