#include "editing/table/table_undo.h"

namespace quillet {

void TDVUndoModifyCellIntProperty::SetOppositeUndoInfoProps(TDVUndoModifyItemProps& undoInfo) {
  auto& opposite = static_cast<TDVUndoModifyCellIntProperty&>(undoInfo);
  opposite.Row = Row;
  opposite.Col = Col;
}

void TDVUndoModifyRowIntProperty::SetOppositeUndoInfoProps(TDVUndoModifyItemProps& undoInfo) {
  static_cast<TDVUndoModifyRowIntProperty&>(undoInfo).Row = Row;
}

void TDVUndoModifyCellIntProperties::SetOppositeUndoInfoProps(TDVUndoModifyItemProps& undoInfo) {
  auto& opposite = static_cast<TDVUndoModifyCellIntProperties&>(undoInfo);
  opposite.Row = Row;
  opposite.Col = Col;
}

}  // namespace quillet
