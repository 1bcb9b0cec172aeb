#include "commands/actions/find_actions.h"

#include <QWidget>
#include <stdexcept>

#include "commands/dialogs/find_dialog.h"
#include "commands/resource_strings.h"
#include "editing/control/editor.h"
#include "engine/text/item_text.h"
#include "engine/text/upper_case.h"
#include "platform/core/code_page.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

namespace {

void Inform(std::string text) {
  CommonDialogs().MessageBox(
      {std::move(text), std::string(LoadResString(dvrsSearchDone)), MB_OK, MB_ICONINFORMATION});
}

std::u16string UpperCase(std::u16string s) {
  for (char16_t& c : s) c = DVU_UpperCaseUnit(c);
  return s;
}

}  // namespace

// ---- the shared part ----

TdvActionSearch::TdvActionSearch(QObject* owner) : TdvAction(owner) {}

TdvActionSearch::~TdvActionSearch() = default;

void TdvActionSearch::UpdateTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  setEnabled(editor && editor->Widget());
}

void TdvActionSearch::CloseDialog() {
  if (dialog_) dialog_->CloseDialog();
}

void TdvActionSearch::Open(TCustomDocViewEdit& editor,
                           const std::function<std::unique_ptr<TdvaFindDialog>()>& make) {
  QWidget* widget = editor.Widget();
  if (!widget) return;
  if (!dialog_) {
    dialog_ = make();
    // The dialog belongs to the editor's window: it goes when that closes
    // for good, rather than keeping the program alive on its own.
    QObject::connect(widget->window(), &QObject::destroyed, this, [this] { dialog_.reset(); });
  }
  editor_ = &editor;
  dialog_->Execute(widget);
}

bool TdvActionSearch::FindNext() {
  TCustomDocViewEdit* editor = editor_.get();
  if (!editor || !dialog_) return false;
  const TDVESearchOptions options = GetDVESearchOptions(dialog_->Options());
  // The dialog's text is Unicode: searched as such, so that characters the
  // document's code page lacks are still found in Unicode items.
  return editor->EditData().SearchTextW(options & dvseoDown, options & dvseoMatchCase, dialog_->FindText(),
                                        options & dvseoWholeWord);
}

bool TdvActionSearch::Search() {
  if (!editor_.get() || !dialog_) return false;
  if (FindNext()) return true;
  Inform(ReplacePlaceholder(LoadResString(dvrsNotFound), "%s", Utf16ToUtf8(dialog_->FindText())));
  return false;
}

// ---- find ----

TdvActionFind::~TdvActionFind() = default;

TdvActionReplace* TdvActionFind::PartnerReplace() const {
  return actionReplace_ ? actionReplace_.data() : FindComponentByClass<TdvActionReplace>(parent());
}

void TdvActionFind::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  if (TdvActionReplace* replace = PartnerReplace()) replace->CloseDialog();
  Open(*editor, [this] {
    auto dialog = std::make_unique<TdvaFindDialog>();
    dialog->OnFind = [this] { RunGuarded([this] { FindDialogFind(); }); };
    return dialog;
  });
}

void TdvActionFind::FindDialogFind() {
  if (!Editor()) return;
  if (TdvActionReplace* replace = PartnerReplace()) replace->CloseDialog();
  Search();
}

// ---- find next ----

void TdvActionFindNext::ExecuteTarget(TCustomControl* target) {
  TdvActionFind* find = actionFind_ ? actionFind_.data() : FindComponentByClass<TdvActionFind>(parent());
  if (!find) throw std::runtime_error(std::string(LoadResString(dvrsNoFindAction)));
  const TdvaFindDialog* dialog = find->FindDialog();
  if (dialog && !dialog->FindText().empty())
    find->FindDialogFind();
  else if (find->HandlesTarget(target))
    find->ExecuteTarget(target);
}

// ---- replace ----

TdvActionReplace::~TdvActionReplace() = default;

TdvaReplaceDialog* TdvActionReplace::ReplaceDialog() const { return static_cast<TdvaReplaceDialog*>(Dialog()); }

TdvActionFind* TdvActionReplace::PartnerFind() const {
  return actionFind_ ? actionFind_.data() : FindComponentByClass<TdvActionFind>(parent());
}

void TdvActionReplace::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor) return;
  if (TdvActionFind* find = PartnerFind()) find->CloseDialog();
  Open(*editor, [this] {
    auto dialog = std::make_unique<TdvaReplaceDialog>();
    dialog->OnFind = [this] { RunGuarded([this] { ReplaceDialogFind(); }); };
    dialog->OnReplace = [this] { RunGuarded([this] { ReplaceDialogReplace(); }); };
    return dialog;
  });
}

void TdvActionReplace::ReplaceDialogFind() { Search(); }

bool TdvActionReplace::SelectionMatches(TCustomDocViewEdit& editor) const {
  const std::u16string find = ReplaceDialog()->FindText();
  // Nothing is ever found for an empty text, not even an empty selection.
  if (find.empty()) return false;
  const std::u16string selected = DVU_Units(editor.EditData().GetSelText(true));
  if (ReplaceDialog()->Options() & frMatchCase) return selected == find;
  return UpperCase(selected) == UpperCase(find);
}

bool TdvActionReplace::ReplaceSelection(TCustomDocViewEdit& editor) const {
  const std::u16string with = ReplaceDialog()->ReplaceText();
  const bool down = ReplaceDialog()->Options() & frDown;
  TDVEditDVData& data = editor.GetTopLevelEditor()->EditData();
  int startNo, endNo;
  int32_t startOffs, endOffs;
  data.GetSelectionBounds(startNo, startOffs, endNo, endOffs, true);
  const bool atItemStart = startNo >= 0 && startOffs <= data.GetOffsBeforeItem(startNo);
  // Down, the caret goes after the new text, up before it: the next search
  // starts past it and never finds the find text inside it again.
  bool replaced;
  if (with.empty()) {
    replaced = editor.DeleteSelection();
  } else {
    replaced = editor.InsertTextAsTyped(with, !down);
  }
  if (!replaced || down || startNo < 0) return replaced;
  // With revision tracking the old text stays, struck out, before the new:
  // up, the caret goes before both, where the match began. What precedes
  // that point is untouched: the match's item up to it, else the item
  // before.
  if (atItemStart && startNo > 0) {
    --startNo;
    startOffs = data.GetOffsAfterItem(startNo);
  } else if (atItemStart) {
    startOffs = data.GetOffsBeforeItem(0);
  }
  if (startNo < data.ItemCount()) data.SetSelectionBounds(startNo, startOffs, startNo, startOffs);
  return true;
}

void TdvActionReplace::ReplaceDialogReplace() {
  TCustomDocViewEdit* editor = Editor();
  TdvaReplaceDialog* dialog = ReplaceDialog();
  if (!editor || !dialog) return;
  if (!(dialog->Options() & frReplaceAll)) {
    if (SelectionMatches(*editor)) ReplaceSelection(*editor);
    ReplaceDialogFind();
    return;
  }
  int count = 0;
  if (SelectionMatches(*editor) && ReplaceSelection(*editor)) ++count;
  // A refused replacement leaves its match selected, and the next search
  // starts past a selection: the loop still ends.
  while (FindNext())
    if (ReplaceSelection(*editor)) ++count;
  if (!ShowReplaceAllSummary) return;
  Inform(count == 1 ? std::string(LoadResString(dvrsOneReplaced))
                    : ReplacePlaceholder(LoadResString(dvrsReplaced), "%d", std::to_string(count)));
}

}  // namespace quillet
