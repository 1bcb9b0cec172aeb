#include "host/form/action_dm.h"

#include <QAction>
#include <QKeySequence>
#include <filesystem>
#include <functional>
#include <optional>

#include "commands/actions/dispatcher.h"
#include "commands/actions/file_support.h"
#include "editing/control/editor.h"
#include "editing/undo/undo_types.h"
#include "host/annotation/postil.h"
#include "host/review/document_record.h"
#include "host/review/reviewer_table.h"
#include "commands/actions/color_actions.h"
#include "commands/actions/edit_actions.h"
#include "commands/actions/file_actions.h"
#include "commands/actions/fill_color_action.h"
#include "commands/actions/find_actions.h"
#include "commands/actions/font_dialog_actions.h"
#include "commands/actions/font_style_actions.h"
#include "commands/actions/hyperlink_action.h"
#include "commands/actions/insert_actions.h"
#include "commands/actions/insert_table_action.h"
#include "commands/actions/para_actions.h"
#include "commands/actions/para_dialog_actions.h"
#include "commands/actions/print_actions.h"
#include "commands/actions/size_actions.h"
#include "commands/actions/table_actions.h"

namespace quillet {

namespace {

// How the module adapts an action's execution. Write: pinned, the host
// lines written first.
enum class THandler { None, Pin, Write, Paste, Undo, Redo, New, Open };

struct TActionSpec {
  const char* name;
  const char* category;
  const char* caption;
  QKeySequence shortcut;
  THandler handler;
  std::function<QAction*(QObject*)> make;
};

template <class T>
std::function<QAction*(QObject*)> Make(std::function<void(T&)> setUp = {}) {
  return [setUp](QObject* owner) -> QAction* {
    auto* action = new T(owner);
    if (setUp) setUp(*action);
    return action;
  };
}

constexpr const char* kFile = "DVE File";
constexpr const char* kEdit = "DVE Edit";
constexpr const char* kText = "DVE Text";
constexpr const char* kPara = "DVE Paragraph";
constexpr const char* kTable = "DVE Table";
constexpr const char* kInsert = "DVE Insert";
constexpr const char* kMisc = "DVE Miscellaneous";

const char* const kCategoryProperty = "quilletCategory";

// One extension for every file dialog and the new document's name, so that
// open shows the files save as writes.
constexpr const char* kDocumentExt = "esf";
constexpr const char* kDocumentFilter = "Edit System Files (*.esf)|*.esf";
constexpr const char* kNewDocumentName = "新文件.esf";

// New and open as the module runs them: it has to know whether the
// document was replaced, which the commands do not tell.
class TModuleNew final : public TdvActionNew {
 public:
  using TdvActionNew::TdvActionNew;
  // The new command's steps; false when the close question kept the
  // document.
  bool Renew(TCustomDocViewEdit& editor) {
    TdvActionSave& save = GetActionSave();
    if (!MayReplace(editor, save)) return false;
    editor.Clear();
    editor.Format();
    if (AutoDeleteUnusedStyles) editor.DeleteUnusedStyles(true, true);
    save.AddDoc(editor, DefaultFileName, false, false, false, ffeDVF);
    return true;
  }
};

class TModuleOpen final : public TdvActionOpen {
 public:
  using TdvActionOpen::TdvActionOpen;
  // The file to read once the close question let the document go; none
  // when either question was cancelled.
  std::optional<TImportChoice> Ask(TCustomDocViewEdit& editor) {
    if (!MayReplace(editor, GetActionSave())) return std::nullopt;
    return AskImportFile(DialogTitle, DefaultExt, FilterIndex, Filter, DVFFilter, nullptr);
  }
};

}  // namespace

TActionDM::TActionDM(TCustomDocViewEdit& editor, TQvPostil& postil, TReviewerTable& reviewers,
                     TDocumentRecord& record, QObject* parent)
    : QObject(parent), editor_(editor), postil_(postil), reviewers_(reviewers), record_(record) {
  Build();
  dispatcher_ = new TdvActionDispatcher(this);
  // In pen mode undo and redo work on the annotations, whatever the text's
  // history holds.
  dispatcher_->OnUpdate = [this] {
    if (!postil_.IsPostil()) return;
    Action("dvActionUndo1")->setEnabled(true);
    Action("dvActionRedo1")->setEnabled(true);
  };
}

TActionDM::~TActionDM() = default;

QAction* TActionDM::Action(std::string_view name) const {
  for (QAction* action : actions_)
    if (action->objectName().toStdString() == name) return action;
  return nullptr;
}

QString TActionDM::Category(const QAction& action) { return action.property(kCategoryProperty).toString(); }

namespace {

QString Caption(const char* prefix, TDVUndoType type, const std::string& own) {
  const std::string_view name =
      type == dvutCustom ? std::string_view(own) : DVUndoTypeNamesEn[static_cast<size_t>(type)];
  return QString::fromUtf8(prefix) + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QString TActionDM::UndoCaption() const { return Caption("撤消(&U) ", editor_.UndoAction(), editor_.UndoName()); }

QString TActionDM::RedoCaption() const { return Caption("恢复(&R) ", editor_.RedoAction(), editor_.RedoName()); }

QString TActionDM::DocumentTitle(const std::string& fileName, bool isNew) {
  QString title = QString::fromStdString(std::filesystem::path(fileName).filename().string());
  if (isNew) title += " (*)";
  return title + " - Quillet 2.0";
}

void TActionDM::Build() {
  using H = THandler;
  const QKeySequence none;
  const auto fileIO = [](TdvActionCustomFileIO& action) {
    action.DVFFilter = kDocumentFilter;
    action.DefaultExt = kDocumentExt;
  };
  const std::vector<TActionSpec> specs = {
      {"dvActionParagraph1", kPara, "段落(&P)...", none, H::Pin, Make<TdvActionParagraph>()},
      {"dvActionParaBorder1", kPara, "段落边框(&B)...", none, H::Pin, Make<TdvActionParaBorder>()},
      {"dvActionNew1", kFile, "新建(&N)", QKeySequence("Ctrl+N"), H::New,
       Make<TModuleNew>([](TModuleNew& a) { a.DefaultFileName = kNewDocumentName; })},
      {"dvActionOpen1", kFile, "打开(&O)...", QKeySequence("Ctrl+O"), H::Open,
       Make<TModuleOpen>([](TModuleOpen& a) {
         a.DefaultFileName = kNewDocumentName;
         a.DVFFilter = kDocumentFilter;
         a.DefaultExt = kDocumentExt;
       })},
      {"dvActionSave1", kFile, "保存(&S)", QKeySequence("Ctrl+S"), H::Write, Make<TdvActionSave>()},
      {"dvActionSaveAs1", kFile, "保存为(&A)...", none, H::Write, Make<TdvActionSaveAs>(fileIO)},
      {"dvActionExport1", kFile, "导出(&E)...", none, H::Write, Make<TdvActionExport>(fileIO)},
      {"dvActionPrint1", kFile, "打印(&P)...", QKeySequence("Ctrl+P"), H::Pin, Make<TdvActionPrint>()},
      {"dvActionCut1", kEdit, "剪切(&T)", QKeySequence("Ctrl+X"), H::Pin, Make<TdvActionCut>()},
      {"dvActionCopy1", kEdit, "复制(&C)", QKeySequence("Ctrl+C"), H::Pin, Make<TdvActionCopy>()},
      {"dvActionPaste1", kEdit, "粘帖(&P)", QKeySequence("Ctrl+V"), H::Paste, Make<TdvActionPaste>()},
      {"dvActionSelectAll1", kEdit, "全选(&A)", QKeySequence("Ctrl+A"), H::None, Make<TdvActionSelectAll>()},
      {"dvActionUndo1", kEdit, "撤消(&U)", QKeySequence("Ctrl+Z"), H::Undo, Make<TdvActionUndo>()},
      {"dvActionRedo1", kEdit, "恢复(&R)", QKeySequence("Ctrl+Y"), H::Redo, Make<TdvActionRedo>()},
      {"dvActionFonts1", kText, "字体（常用）(&F)...", none, H::Pin, Make<TdvActionFonts>()},
      {"dvActionFontEx1", kText, "字体（高级）(&O)...", none, H::Pin, Make<TdvActionFontEx>()},
      {"dvActionFontBold1", kText, "粗体(&B)", QKeySequence("Ctrl+B"), H::Pin, Make<TdvActionFontBold>()},
      {"dvActionFontItalic1", kText, "斜体(&I)", QKeySequence("Ctrl+I"), H::None, Make<TdvActionFontItalic>()},
      {"dvActionFontUnderline1", kText, "下划线(&U)", QKeySequence("Ctrl+U"), H::None,
       Make<TdvActionFontUnderline>()},
      // Alt with the keypad's 5 while NumLock is off.
      {"dvActionTableSelectTable1", kTable, "选定表格(&T)", QKeySequence(Qt::ALT | Qt::Key_Clear), H::None,
       Make<TdvActionTableSelectTable>()},
      {"dvActionFind1", kEdit, "查找(&F)...", QKeySequence("Ctrl+F"), H::Pin, Make<TdvActionFind>()},
      {"dvActionFindNext1", kEdit, "查找下一个(&N)", QKeySequence("F3"), H::Pin, Make<TdvActionFindNext>()},
      {"dvActionReplace1", kEdit, "替换(&R)...", QKeySequence("Ctrl+H"), H::Pin, Make<TdvActionReplace>()},
      {"dvActionFontColor1", kText, "字体颜色(&C)...", none, H::Pin, Make<TdvActionFontColor>()},
      {"dvActionFontBackColor1", kText, "字体背景色(&B)...", none, H::Pin, Make<TdvActionFontBackColor>()},
      {"dvActionParaColor1", kPara, "段落背景颜色(&B)...", none, H::Pin, Make<TdvActionParaColor>()},
      {"dvActionItemProperties1", kInsert, "属性(&P)...", none, H::Pin, Make<TdvActionItemProperties>()},
      {"dvActionTableProperties1", kTable, "表格属性(&P)...", none, H::Pin, Make<TdvActionTableProperties>()},
      // Page setup has no command of its own: the form runs its dialog.
      {"dvActionPageSetup", kFile, "页面设置", none, H::None, [](QObject* owner) { return new QAction(owner); }},
      {"dvActionPrintPreview1", kFile, "打印预览(&V)...", none, H::None, Make<TdvActionPrintPreview>()},
      {"dvActionQuickPrint1", kFile, "快速打印(&Q)", none, H::None, Make<TdvActionQuickPrint>()},
      {"dvActionIndentInc1", kPara, "增加缩进", none, H::None,
       Make<TdvActionIndentInc>([](TdvActionIndentInc& a) { a.IndentMax = 100; })},
      {"dvActionIndentDec1", kPara, "减少缩进", none, H::None, Make<TdvActionIndentDec>()},
      {"dvActionPasteSpecial1", kEdit, "选择性粘贴(&S)...", none, H::None, Make<TdvActionPasteSpecial>()},
      {"dvActionFontStrikeout1", kText, "删除线(&K)", none, H::None, Make<TdvActionFontStrikeout>()},
      {"dvActionFontGrow1", kText, "增大字号(&G)", none, H::None, Make<TdvActionFontGrow>()},
      {"dvActionFontShrink1", kText, "减小字号(&S)", none, H::None, Make<TdvActionFontShrink>()},
      {"dvActionFontGrowOnePoint1", kText, "字号加一磅", none, H::None, Make<TdvActionFontGrowOnePoint>()},
      {"dvActionFontShrinkOnePoint1", kText, "字号减一磅", none, H::None, Make<TdvActionFontShrinkOnePoint>()},
      {"dvActionWordWrap1", kPara, "自动换行(&W)", none, H::None, Make<TdvActionWordWrap>()},
      {"dvActionAlignLeft1", kPara, "左对齐(&L)", none, H::None, Make<TdvActionAlignLeft>()},
      {"dvActionAlignRight1", kPara, "右对齐(&R)", none, H::None, Make<TdvActionAlignRight>()},
      {"dvActionAlignCenter", kPara, "居中(&E)", none, H::None, Make<TdvActionAlignCenter>()},
      {"dvActionAlignJustify1", kPara, "两端对齐(&J)", none, H::None, Make<TdvActionAlignJustify>()},
      {"dvActionInsertTable1", kTable, "插入表格(&T)...", none, H::None, Make<TdvActionInsertTable>()},
      {"dvActionTableInsertRowsAbove1", kTable, "在上方插入行(&A)", none, H::None,
       Make<TdvActionTableInsertRowsAbove>()},
      {"dvActionTableInsertRowsBelow1", kTable, "在下方插入行(&B)", none, H::None,
       Make<TdvActionTableInsertRowsBelow>()},
      {"dvActionTableInsertColLeft1", kTable, "在左侧插入列(&L)", none, H::None,
       Make<TdvActionTableInsertColLeft>()},
      {"dvActionTableInsertColRight1", kTable, "在右侧插入列(&R)", none, H::None,
       Make<TdvActionTableInsertColRight>()},
      {"dvActionTableDeleteRows1", kTable, "删除行(&D)", none, H::None, Make<TdvActionTableDeleteRows>()},
      {"dvActionTableDeleteCols1", kTable, "删除列(&C)", none, H::None, Make<TdvActionTableDeleteCols>()},
      {"dvActionTableDeleteTable1", kTable, "删除表格(&E)", none, H::None, Make<TdvActionTableDeleteTable>()},
      {"dvActionTableMergeCells1", kTable, "合并单元格(&M)", none, H::None, Make<TdvActionTableMergeCells>()},
      {"dvActionTableSplitCells1", kTable, "拆分单元格(&S)...", none, H::None, Make<TdvActionTableSplitCells>()},
      {"dvActionTableSelectRows1", kTable, "选定行(&R)", none, H::None, Make<TdvActionTableSelectRows>()},
      {"dvActionTableSelectCols1", kTable, "选定列(&C)", none, H::None, Make<TdvActionTableSelectCols>()},
      {"dvActionTableSelectCell1", kTable, "选定单元格(&L)", none, H::None, Make<TdvActionTableSelectCell>()},
      {"dvActionFontAllCaps1", kText, "全部大写(&A)", none, H::None, Make<TdvActionFontAllCaps>()},
      {"dvActionFontOverline1", kText, "上划线(&O)", none, H::None, Make<TdvActionFontOverline>()},
      {"dvActionColor1", kMisc, "背景颜色(&K)...", none, H::None, Make<TdvActionColor>()},
      {"dvActionFillColor1", kMisc, "填充颜色(&F)...", none, H::None, Make<TdvActionFillColor>()},
      {"dvActionInsertFile1", kInsert, "文件(&F)...", none, H::None, Make<TdvActionInsertFile>(fileIO)},
      {"dvActionInsertPicture1", kInsert, "图片(&P)...", none, H::None, Make<TdvActionInsertPicture>()},
      {"dvActionLineSpacing1001", kPara, "单倍行距(&1)", none, H::None, Make<TdvActionLineSpacing100>()},
      {"dvActionLineSpacing1501", kPara, "1.5 倍行距(&5)", none, H::None, Make<TdvActionLineSpacing150>()},
      {"dvActionLineSpacing2001", kPara, "双倍行距(&2)", none, H::None, Make<TdvActionLineSpacing200>()},
      {"dvActionInsertPageBreak1", kInsert, "分页符(&B)", none, H::None, Make<TdvActionInsertPageBreak>()},
      {"dvActionRemovePageBreak1", kInsert, "删除分页符(&R)", none, H::None, Make<TdvActionRemovePageBreak>()},
      {"dvActionTableCellVAlignTop1", kTable, "顶端对齐(&T)", none, H::None, Make<TdvActionTableCellVAlignTop>()},
      {"dvActionTableCellVAlignMiddle1", kTable, "垂直居中(&M)", none, H::None,
       Make<TdvActionTableCellVAlignMiddle>()},
      {"dvActionTableCellVAlignBottom1", kTable, "底端对齐(&B)", none, H::None,
       Make<TdvActionTableCellVAlignBottom>()},
      {"dvActionTableCellVAlignDefault1", kTable, "默认对齐(&D)", none, H::None,
       Make<TdvActionTableCellVAlignDefault>()},
      {"dvActionInsertHLine1", kInsert, "水平线(&H)", none, H::None, Make<TdvActionInsertHLine>()},
      {"dvActionInsertHyperlink1", kInsert, "超链接(&H)...", none, H::None, Make<TdvActionInsertHyperlink>()},
      {"dvActionTableGrid1", kTable, "显示网格线(&G)", none, H::None, Make<TdvActionTableGrid>()},
  };
  for (const TActionSpec& spec : specs) {
    QAction* action = spec.make(this);
    action->setObjectName(spec.name);
    action->setText(QString::fromUtf8(spec.caption));
    action->setShortcut(spec.shortcut);
    action->setProperty(kCategoryProperty, QString::fromUtf8(spec.category));
    actions_.push_back(action);
    switch (spec.handler) {
      case THandler::None: break;
      case THandler::Pin: Pin(action); break;
      case THandler::Write: Pin(action, true); break;
      case THandler::New: Route(action, &TActionDM::New); break;
      case THandler::Open: Route(action, &TActionDM::Open); break;
      case THandler::Paste: Route(action, &TActionDM::Paste); break;
      case THandler::Undo: Route(action, &TActionDM::Undo); break;
      case THandler::Redo: Route(action, &TActionDM::Redo); break;
    }
  }
  // The partners the commands would otherwise look up among the module's.
  auto& save = *static_cast<TdvActionSave*>(Action("dvActionSave1"));
  save.ActionSaveAs = static_cast<TdvActionSaveAs*>(Action("dvActionSaveAs1"));
  save.OnDocumentFileChange = [this](TdvActionSave&, TCustomDocViewEdit& editor, const std::string& fileName,
                                     TdvFileSaveFilter, bool isNew) {
    if (&editor != &editor_) return;
    if (isNew && OnMarginToUI) OnMarginToUI();
    if (OnTitle) OnTitle(DocumentTitle(fileName, isNew));
    // A document without a file is recorded by the close question too,
    // before anything is replaced: new tells of its own replacement.
    if (!isNew && OnFileChanged) OnFileChanged();
  };
  static_cast<TdvActionNew*>(Action("dvActionNew1"))->ActionSave = &save;
  static_cast<TdvActionOpen*>(Action("dvActionOpen1"))->ActionSave = &save;
  static_cast<TdvActionSaveAs*>(Action("dvActionSaveAs1"))->ActionSave = &save;
  static_cast<TdvActionReplace*>(Action("dvActionReplace1"))
      ->SetActionFind(static_cast<TdvActionFind*>(Action("dvActionFind1")));
  static_cast<TdvActionPrintPreview*>(Action("dvActionPrintPreview1"))->ActionPrint =
      static_cast<TdvActionPrint*>(Action("dvActionPrint1"));
}

void TActionDM::Execute(std::string_view name) {
  QAction* action = Action(name);
  if (!action) return;
  for (const auto& [handled, handler] : handlers_)
    if (handled == action) return handler();
  if (auto* command = dynamic_cast<TdvAction*>(action)) command->ExecuteTarget(&editor_);
}

void TActionDM::Handle(QAction* action, std::function<void()> handler) {
  handlers_.emplace_back(action, handler);
  QObject::disconnect(action, &QAction::triggered, action, nullptr);
  connect(action, &QAction::triggered, this, [handler = std::move(handler)] { RunGuarded(handler); });
}

void TActionDM::Route(QAction* action, void (TActionDM::*handler)()) {
  Handle(action, [this, handler] { (this->*handler)(); });
}

void TActionDM::Pin(QAction* action, bool writesDocument) {
  auto* command = dynamic_cast<TdvAction*>(action);
  if (!command) return;
  Handle(action, [this, command, writesDocument] {
    // The carrier holds the lines of the last load until then.
    if (writesDocument) record_.WriteHostLines();
    command->ExecuteTarget(&editor_);
  });
}

void TActionDM::WriteHostLinesForCloseQuestion() {
  // Only a save names the drafter's slot; the question may not save.
  const TReviewerTable kept = reviewers_;
  record_.WriteHostLines();
  reviewers_ = kept;
}

void TActionDM::New() {
  WriteHostLinesForCloseQuestion();
  if (!static_cast<TModuleNew*>(Action("dvActionNew1"))->Renew(editor_)) return;
  reviewers_.Clear();
  editor_.TraceOn = false;
  editor_.TraceUserColor = 0;
  editor_.DVData().HostLines() = {};
  postil_.clear();
  editor_.Invalidate();
  if (OnFileChanged) OnFileChanged();
}

void TActionDM::Open() {
  auto& open = *static_cast<TModuleOpen*>(Action("dvActionOpen1"));
  WriteHostLinesForCloseQuestion();
  const std::optional<TImportChoice> choice = open.Ask(editor_);
  if (!choice) return;
  bool readFailed = false;
  try {
    record_.Import([&](TCustomDocViewEdit& editor) {
      readFailed = !open.LoadFile(editor, choice->FileName, choice->Format);
      return !readFailed;
    });
  } catch (const EDocumentRecordError&) {
    // The open command has told the user why the file did not read.
    if (!readFailed) throw;
  }
}

void TActionDM::Undo() {
  if (postil_.IsPostil()) {
    postil_.Undo();
    editor_.Modified = true;
    editor_.Invalidate();
  } else if (auto* undo = dynamic_cast<TdvAction*>(Action("dvActionUndo1"))) {
    undo->ExecuteTarget(&editor_);
  }
}

void TActionDM::Redo() {
  if (postil_.IsPostil()) {
    postil_.Redo();
    editor_.Modified = true;
    editor_.Invalidate();
  } else if (auto* redo = dynamic_cast<TdvAction*>(Action("dvActionRedo1"))) {
    redo->ExecuteTarget(&editor_);
  }
}

void TActionDM::Paste() {
  // An open cell editor takes the paste itself.
  if (TCustomDocViewEdit* cell = editor_.InplaceTarget())
    cell->Paste();
  else if (auto* paste = dynamic_cast<TdvAction*>(Action("dvActionPaste1")))
    paste->ExecuteTarget(&editor_);
}

}  // namespace quillet
