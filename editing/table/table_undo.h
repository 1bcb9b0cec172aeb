#pragma once
// Undo records of a cell's properties: the item's integer-property records
// with the cell's position kept beside the cell.
#include <memory>

#include "editing/undo/undo_records.h"

namespace quillet {

class TDVUndoModifyCellIntProperty : public TDVUndoModifyItemIntProperty {
 public:
  int Row = 0, Col = 0;
  std::unique_ptr<TDVUndoModifyItemIntProperty> CreateOpposite() const override {
    return std::make_unique<TDVUndoModifyCellIntProperty>();
  }
  void SetOppositeUndoInfoProps(TDVUndoModifyItemProps& undoInfo) override;
};

// The four sides at once, as the cell's "VisibleBorders" mask.
class TDVUndoModifyCellVisibleBorders : public TDVUndoModifyCellIntProperty {
 public:
  std::unique_ptr<TDVUndoModifyItemIntProperty> CreateOpposite() const override {
    return std::make_unique<TDVUndoModifyCellVisibleBorders>();
  }
};

// A row's property, its index kept beside the row.
class TDVUndoModifyRowIntProperty : public TDVUndoModifyItemIntProperty {
 public:
  int Row = 0;
  std::unique_ptr<TDVUndoModifyItemIntProperty> CreateOpposite() const override {
    return std::make_unique<TDVUndoModifyRowIntProperty>();
  }
  void SetOppositeUndoInfoProps(TDVUndoModifyItemProps& undoInfo) override;
};

class TDVUndoModifyCellIntProperties : public TDVUndoModifyItemIntProperties {
 public:
  int Row = 0, Col = 0;
  std::unique_ptr<TDVUndoModifyItemIntProperties> CreateOpposite() const override {
    return std::make_unique<TDVUndoModifyCellIntProperties>();
  }
  void SetOppositeUndoInfoProps(TDVUndoModifyItemProps& undoInfo) override;
};

}  // namespace quillet
