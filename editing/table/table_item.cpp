#include "editing/table/table_item.h"

#include <algorithm>

#include "editing/table/inplace_editor.h"

#include "editing/control/editor.h"
#include "editing/edit/edit_data.h"
#include "editing/table/table_undo.h"
#include "engine/base/doc_view_error.h"
#include "engine/model/item_registry.h"
#include "platform/core/scoped_value.h"

namespace quillet {

void RegisterTableItem() { RegisterDocViewItemClass(dvsTable, DVItemClassOf<TDVTableItemInfo>); }

TDVTableItemInfo::TDVTableItemInfo(int rows, int cols, TCustomDVData* dvData)
    : TDVFullLineItemInfo(dvData), Rows(rows, cols, this) {
  StyleNo = dvsTable;
}

TDVTableItemInfo::~TDVTableItemInfo() {
  // The document is going: the editor's items go with it, unformatted.
  if (inplace_) {
    inplace_->Clearing = true;
    DestroyInplace();
  }
}

bool TDVTableItemInfo::GetBoolValue(TDVItemBoolProperty prop) const {
  if (prop == dvbpDrawingChangesFont || prop == dvbpCanSaveUnicode || prop == dvbpAlwaysInText) return true;
  return TDVFullLineItemInfo::GetBoolValue(prop);
}

bool TDVTableItemInfo::GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const {
  // A table is never printed through a bitmap, and sizes its printed
  // drawing item from its printed layout.
  if (prop == dvbpPrintToBMP) return false;
  if (prop == dvbpActualPrintSize) return true;
  return TDVFullLineItemInfo::GetBoolValueEx(prop, dvStyle);
}

void TDVTableItemInfo::AttachCells(TCustomDVData* dvData) {
  Rows.DVData = dvData;
  for (int r = 0; r < Rows.Count(); ++r) {
    TDVTableRow* row = Rows[r];
    row->Rows = &Rows;
    for (int c = 0; c < row->Count(); ++c)
      if (TDVTableCellData* cell = row->Cell(c)) cell->List = row;
  }
}

void TDVTableItemInfo::MovedTo(TCustomDVData* dvData) {
  AttachCells(dvData);
  inserted_ = dvData != nullptr;
  inEditor_ = dvData && dynamic_cast<TDVEditDVData*>(dvData->GetRootData()) != nullptr;
  cachedItemNo_ = -1;
}

void TDVTableItemInfo::MoveTablesTo(TCustomDVData& dvData) {
  for (int i = 0; i < dvData.ItemCount(); ++i)
    if (dvData.GetItemStyle(i) == dvsTable)
      if (auto* table = dynamic_cast<TDVTableItemInfo*>(dvData.GetItem(i))) table->MovedTo(&dvData);
}

void TDVTableItemInfo::Inserting(TCustomDVData* dvData, std::string& text, bool safe) {
  MovedTo(dvData);
  TDVFullLineItemInfo::Inserting(dvData, text, safe);
}

void TDVTableItemInfo::MovingToUndoList(int itemNo, TCustomDVData* dvData) {
  if (auto* data = dynamic_cast<TCustomDVFormattedData*>(dvData); data && data->GetChosenItem() == this)
    data->UnassignChosenDVData(data->GetChosenDVData());
  TDVFullLineItemInfo::MovingToUndoList(itemNo, dvData);
  Rows.DVData = nullptr;
}

void TDVTableItemInfo::MovingFromUndoList(int itemNo, TCustomDVData* dvData) {
  TDVFullLineItemInfo::MovingFromUndoList(itemNo, dvData);
  Rows.DVData = dvData;
}

void TDVTableItemInfo::AfterUndoChangeProperty() {
  inserted_ = true;
  changed_ = true;
}

void TDVTableItemInfo::MarkStylesInUse(TDVIntegerList& usedText, TDVIntegerList& usedPara) const {
  TDVFullLineItemInfo::MarkStylesInUse(usedText, usedPara);
  for (int r = 0; r < Rows.Count(); ++r)
    for (int c = 0; c < Rows[r]->Count(); ++c)
      if (const TDVTableCellData* cell = Rows.CellAt(r, c)) cell->MarkStylesInUse(usedText, usedPara);
}

void TDVTableItemInfo::UpdateStyles(const TDVIntegerList& textMap, const TDVIntegerList& paraMap) {
  TDVFullLineItemInfo::UpdateStyles(textMap, paraMap);
  for (int r = 0; r < Rows.Count(); ++r)
    for (int c = 0; c < Rows[r]->Count(); ++c)
      if (TDVTableCellData* cell = Rows.CellAt(r, c)) cell->UpdateStyles(textMap, paraMap);
}

// ---- the document it is in ----

int TDVTableItemInfo::GetMyItemNo() const {
  const TCustomDVData* data = Rows.DVData;
  if (!data) return -1;
  if (cachedItemNo_ >= 0 && cachedItemNo_ < data->ItemCount() && data->GetItem(cachedItemNo_) == this)
    return cachedItemNo_;
  cachedItemNo_ = data->GetItemNo(this);
  return cachedItemNo_;
}

bool TDVTableItemInfo::IsInEditor() const { return inEditor_; }

TDVEditDVData* TDVTableItemInfo::EditData() const {
  return inserted_ && inEditor_ ? dynamic_cast<TDVEditDVData*>(Rows.DVData) : nullptr;
}

void TDVTableItemInfo::InitUndo() {
  if (TDVEditDVData* data = EditData()) {
    data->BeginUndoSequence(dvutModifyItem, true);
    data->SetUndoGroupMode(true);
  }
}

void TDVTableItemInfo::DoneUndo() {
  if (TDVEditDVData* data = EditData()) data->SetUndoGroupMode(false);
}

// ---- changing properties ----

namespace {

using C = TDVTableItemInfo;
template <int32_t C::*F>
TDVIntProp<C> Length(std::string_view name) {
  return {name, [](const C& t) { return t.*F; }, [](C& t, int32_t v) {
            if (v < 0) return false;
            t.*F = v;
            return true;
          }};
}
template <TColor C::*F>
TDVIntProp<C> Colour(std::string_view name) {
  return {name, [](const C& t) { return static_cast<int32_t>(t.*F); },
          [](C& t, int32_t v) { t.*F = static_cast<TColor>(v); return true; }};
}
template <TDVTableBorderStyle C::*F>
TDVIntProp<C> Look(std::string_view name) {
  return {name, [](const C& t) { return static_cast<int32_t>(t.*F); }, [](C& t, int32_t v) {
            if (v < dvtbRaised || v > dvtbLoweredColor) return false;
            t.*F = static_cast<TDVTableBorderStyle>(v);
            return true;
          }};
}
template <bool C::*F>
TDVIntProp<C> Flag(std::string_view name) {
  return {name, [](const C& t) { return t.*F ? 1 : 0; }, [](C& t, int32_t v) {
            if (v != 0 && v != 1) return false;
            t.*F = v != 0;
            return true;
          }};
}

const TDVIntProp<C> kTableProps[] = {
    Colour<&C::BorderColor>("BorderColor"),
    Length<&C::BorderHSpacing>("BorderHSpacing"),
    Colour<&C::BorderLightColor>("BorderLightColor"),
    Look<&C::BorderStyle>("BorderStyle"),
    Length<&C::BorderVSpacing>("BorderVSpacing"),
    Length<&C::BorderWidth>("BorderWidth"),
    Colour<&C::CellBorderColor>("CellBorderColor"),
    Colour<&C::CellBorderLightColor>("CellBorderLightColor"),
    Length<&C::CellBorderWidth>("CellBorderWidth"),
    Length<&C::CellHSpacing>("CellHSpacing"),
    Length<&C::CellPadding>("CellPadding"),
    Length<&C::CellVSpacing>("CellVSpacing"),
    Colour<&C::Color>("Color"),
    Flag<&C::HOutermostRule>("HOutermostRule"),
    Colour<&C::HRuleColor>("HRuleColor"),
    Length<&C::HRuleWidth>("HRuleWidth"),
    Flag<&C::VOutermostRule>("VOutermostRule"),
    Colour<&C::VRuleColor>("VRuleColor"),
    Length<&C::VRuleWidth>("VRuleWidth"),
    Look<&C::CellBorderStyle>("CellBorderStyle"),
    {"BestWidth", [](const C& t) { return t.BestWidth; }, [](C& t, int32_t v) {
       // Percent down to -100; pixels as given.
       if (v < -100) return false;
       t.BestWidth = v;
       return true;
     }},
};

}  // namespace

bool TDVTableItemInfo::GetIntPropertyByName(std::string_view name, int32_t& value) const {
  return GetFrom<C>(kTableProps, *this, name, value) || TDVFullLineItemInfo::GetIntPropertyByName(name, value);
}

bool TDVTableItemInfo::SetIntPropertyByName(std::string_view name, int32_t value) {
  const int r = SetIn<C>(kTableProps, *this, name, value);
  return r < 0 ? TDVFullLineItemInfo::SetIntPropertyByName(name, value) : r == 1;
}

TDVEditDVData* TDVTableItemInfo::BeginEdit() {
  TDVEditDVData* data = EditData();
  if (!data || GetMyItemNo() < 0) return nullptr;
  if (!data->Editor().BeforeChange(false)) return nullptr;
  MergeInplaceUndo();
  return data;
}

namespace {

// Sets a property by name outside undo: the setters write fields while
// the table is not inserted.
void SetDirect(TDVIntPropertyOwner& owner, const std::string& name, int32_t value) {
  int32_t old = 0;
  if (!owner.GetIntPropertyByName(name, old)) throw EDocViewError("Unknown table property " + name);
  if (!owner.SetIntPropertyByName(name, value)) throw EDocViewError("Invalid value of table property " + name);
}

// A value the property refused changed nothing (the step recorded
// nothing); the caller hears of it as from a direct set.
bool PropertyIs(const TDVIntPropertyOwner& owner, const std::string& name, int32_t value) {
  int32_t now = 0;
  return owner.GetIntPropertyByName(name, now) && now == value;
}

void CheckSet(const TDVIntPropertyOwner& owner, const std::string& name, int32_t value) {
  if (!PropertyIs(owner, name, value)) throw EDocViewError("Invalid value of table property " + name);
}

}  // namespace

// One undoable step in the editor when the change alters something: the
// change through the primitives with change(data, itemNo) (true when it
// took), then the document laid out again (recorded or not, as undo is on or off). False
// when the editor refused the change. The inserted flag is off meanwhile so that
// the setters write their fields, and comes back however the step ends.
template <class Change>
static bool RunTableEdit(TDVTableItemInfo& table, TDVEditDVData* data, bool& inserted, bool differs,
                         Change change) {
  if (!data) return false;
  if (!differs) return true;
  TScopedValue<bool> notInserted(inserted, false);
  TDVEditOperation operation(*data);
  const int itemNo = table.GetMyItemNo();
  int start = -1, end = -1;
  const int first = data->FindDrawItemByItem(itemNo);
  if (first >= 0) data->GetParaBounds(first, first, start, end);
  data->BeginUndoSequence(dvutModifyItem, true);
  bool changed = false;
  try {
    changed = change(*data, itemNo);
  } catch (...) {
    // A refused operation raises before it changes anything: no group stays.
    data->UndoList->PopIfEmpty();
    throw;
  }
  if (changed) {
    table.MarkChanged();
    data->Reformat_(true, start, end, 0);
    data->Change();
  }
  data->UndoList->PopIfEmpty();
  return true;
}

void TDVTableItemInfo::EditGrid(const std::function<bool()>& op) {
  if (!(inserted_ && inEditor_)) {
    if (op()) changed_ = true;
    ClipSelection();
    return;
  }
  RunTableEdit(*this, BeginEdit(), inserted_, true, [&](TDVEditDVData& data, int) {
    const TDVUndoInfos* group = data.UndoList->Top();
    const int before = group ? group->Count() : 0;
    bool changed;
    {
      TDVUndoGroupMode grouped(data);
      changed = op();
    }
    ClipSelection();
    // While undo is recorded, what the operation recorded is what changed.
    if (data.UndoList->Limit != 0) changed = data.UndoList->Top() && data.UndoList->Top()->Count() > before;
    return changed;
  });
}

void TDVTableItemInfo::SetProperty(const std::string& name, int32_t value) {
  if (inserted_ && inEditor_) {
    int32_t old = 0;
    if (!GetIntPropertyByName(name, old)) throw EDocViewError("Unknown table property " + name);
    if (RunTableEdit(*this, BeginEdit(), inserted_, old != value, [&](TDVEditDVData& data, int itemNo) {
          data.Do_ModifyItemIntProperty(itemNo, nullptr, name, value,
                                        std::make_unique<TDVUndoModifyItemIntProperty>());
          return PropertyIs(*this, name, value);
        }))
      CheckSet(*this, name, value);
    return;
  }
  TScopedValue<bool> notInserted(inserted_, false);
  SetDirect(*this, name, value);
  changed_ = true;
}

void TDVTableItemInfo::SetCellsProperty(const std::string& name, const std::vector<TCellValue>& values) {
  for (const TCellValue& v : values)
    if (!GetCells(v.Row, v.Col)) throw EDocViewError("Invalid table cell position");
  if (!(inserted_ && inEditor_)) {
    for (const TCellValue& v : values) SetDirect(*GetCells(v.Row, v.Col), name, v.Value);
    changed_ = changed_ || !values.empty();
    return;
  }
  RunTableEdit(*this, BeginEdit(), inserted_, !values.empty(), [&](TDVEditDVData& data, int itemNo) {
    bool changed = false;
    for (const TCellValue& v : values) {
      TDVTableCellData* cell = GetCells(v.Row, v.Col);
      int32_t old = 0;
      if (!cell->GetIntPropertyByName(name, old)) throw EDocViewError("Unknown table property " + name);
      if (old == v.Value) continue;
      auto record = std::make_unique<TDVUndoModifyCellIntProperty>();
      record->Row = v.Row;
      record->Col = v.Col;
      data.Do_ModifyItemIntProperty(itemNo, cell, name, v.Value, std::move(record));
      changed = PropertyIs(*cell, name, v.Value) || changed;
    }
    return changed;
  });
}

void TDVTableItemInfo::SetRowsVAlign(const std::vector<int>& rows, TDVCellVAlign align) {
  static const std::string kName = "VAlign";
  for (int r : rows)
    if (r < 0 || r >= Rows.Count()) throw EDocViewError("Invalid table row");
  if (!(inserted_ && inEditor_)) {
    for (int r : rows) SetDirect(*Rows[r], kName, align);
    changed_ = changed_ || !rows.empty();
    return;
  }
  const bool differs = std::any_of(rows.begin(), rows.end(), [&](int r) { return Rows[r]->VAlign != align; });
  const bool ran = RunTableEdit(*this, BeginEdit(), inserted_, differs, [&](TDVEditDVData& data, int itemNo) {
    bool changed = false;
    for (int r : rows) {
      auto record = std::make_unique<TDVUndoModifyRowIntProperty>();
      record->Row = r;
      data.Do_ModifyItemIntProperty(itemNo, Rows[r], kName, align, std::move(record));
      changed = PropertyIs(*Rows[r], kName, align) || changed;
    }
    return changed;
  });
  if (ran)
    for (int r : rows) CheckSet(*Rows[r], kName, align);
}

void TDVTableItemInfo::SetCellProperty(const std::string& name, int32_t value, int row, int col) {
  TDVTableCellData* cell = GetCells(row, col);
  if (!cell) throw EDocViewError("Invalid table cell position");
  if (inserted_ && inEditor_) {
    int32_t old = 0;
    if (!cell->GetIntPropertyByName(name, old)) throw EDocViewError("Unknown table property " + name);
    auto record = name == "VisibleBorders" ? std::make_unique<TDVUndoModifyCellVisibleBorders>()
                                           : std::make_unique<TDVUndoModifyCellIntProperty>();
    record->Row = row;
    record->Col = col;
    if (RunTableEdit(*this, BeginEdit(), inserted_, old != value, [&](TDVEditDVData& data, int itemNo) {
          data.Do_ModifyItemIntProperty(itemNo, cell, name, value, std::move(record));
          return PropertyIs(*cell, name, value);
        }))
      CheckSet(*cell, name, value);
    return;
  }
  SetDirect(*cell, name, value);
  changed_ = true;
}

void TDVTableItemInfo::SetCellVisibleBorders(const TDVBooleanRect& borders, int row, int col) {
  const TDVTableCellData* cell = GetCells(row, col);
  if (!cell) throw EDocViewError("Invalid table cell position");
  if (cell->VisibleBorders == borders) return;
  SetCellProperty("VisibleBorders", DVBordersToMask(borders), row, col);
}

void TDVTableItemInfo::AssignCellAttributes(int row, int col, const TDVTableCellData& source, bool includeSize,
                                            int rowDivisor, int colDivisor) {
  TDVTableCellData* cell = GetCells(row, col);
  if (!cell) throw EDocViewError("Invalid table cell position");
  if (rowDivisor < 1 || colDivisor < 1) throw EDocViewError("Invalid cell size divisor");
  if (!(inserted_ && inEditor_)) {
    cell->AssignAttributesFrom(source, includeSize, rowDivisor, colDivisor);
    changed_ = true;
    return;
  }
  TDVTableCellData copy(nullptr);
  copy.AssignAttributesFrom(source, includeSize, rowDivisor, colDivisor);
  std::vector<std::string> props;
  bool differs = false;
  std::vector<std::string_view> names = {"VisibleBorders", "Color", "BorderColor", "BorderLightColor", "VAlign"};
  if (includeSize) names.insert(names.end(), {"BestWidth", "BestHeight"});
  for (std::string_view name : names) {
    int32_t v = 0, old = 0;
    copy.GetIntPropertyByName(name, v);
    cell->GetIntPropertyByName(name, old);
    differs = differs || v != old;
    props.push_back(std::string(name) + "=" + std::to_string(v));
  }
  auto record = std::make_unique<TDVUndoModifyCellIntProperties>();
  record->Row = row;
  record->Col = col;
  RunTableEdit(*this, BeginEdit(), inserted_, differs, [&](TDVEditDVData& data, int itemNo) {
    data.Do_ModifyItemIntProperties(itemNo, cell, props, std::move(record));
    return true;
  });
}

}  // namespace quillet
