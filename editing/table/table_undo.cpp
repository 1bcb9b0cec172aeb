#include "editing/table/table_undo.h"

namespace quillet {

void TDVUndoModifyCellIntProperty::SetOppositeUndoInfoProps(TDVUndoModifyItemProps& undoInfo) {
  auto& opposite = static_cast<TDVUndoModifyCellIntProperty&>(undoInfo);
  opposite.Row = Row;
  opposite.Col = Col;
}

void TDVUndoModifyCellIntProperties::SetOppositeUndoInfoProps(TDVUndoModifyItemProps& undoInfo) {
  auto& opposite = static_cast<TDVUndoModifyCellIntProperties&>(undoInfo);
  opposite.Row = Row;
  opposite.Col = Col;
}

}  // namespace quillet
