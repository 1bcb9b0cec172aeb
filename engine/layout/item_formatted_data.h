#pragma once
// Documents that an item owns (table cells): laid out inside the item, with
// no window of their own. Margins and scrolling are the owner's business;
// settings, events and requests for the window go to the root document.
#include <cstdint>

#include "engine/layout/formatted_data.h"
#include "engine/base/dv_lists.h"

namespace quillet {

class TDVItemFormattedData;

// The owning list of an item's documents (a table row).
class TDVDataList : public TDVList<TDVItemFormattedData> {
 public:
  virtual ~TDVDataList() = default;
  TDVFlags Flags = dvflTrim | dvflMouseXYAlwaysCorrect;
  // The document that holds the item; none here (a table row answers its table's).
  virtual TCustomDVData* GetParentDVData() const { return nullptr; }
};

class TDVItemFormattedData : public TCustomDVFormattedData {
 public:
  explicit TDVItemFormattedData(TDVDataList* list) : List(list) {}
  TDVDataList* List;

  TCustomDVData* GetParentData() const override { return List ? List->GetParentDVData() : nullptr; }
  TCustomDVData* GetAbsoluteParentData() const override { return GetParentData(); }
  TCustomDVData* GetRootData() override;
  const TCustomDVData* GetRootData() const override;
  TCustomDVData* GetAbsoluteRootData() override;
  // Moved by this document's place in the root and shown by the root.
  void ShowRectangle(int32_t left, int32_t top, int32_t width, int32_t height) override;

  TDVFlags GetFlags() const override { return List ? List->Flags : TDVFlags{dvflTrim | dvflMouseXYAlwaysCorrect}; }
  // "This method is not supported for TDVItemFormattedData".
  void SetFlags(TDVFlags flags) override;
  int32_t GetAreaWidth() const override { return 0; }
  int32_t GetLeftMargin() const override { return 0; }
  int32_t GetRightMargin() const override { return 0; }
  int32_t GetTopMargin() const override { return 0; }
  int32_t GetBottomMargin() const override { return 0; }
  int32_t GetMinTextWidth() const override { return 0; }
  int32_t GetMaxTextWidth() const override { return 0; }
  int32_t GetVSmallStep() const override { return 0; }
  const TDVBackground* GetBackground() const override { return nullptr; }
  int GetFirstItemVisible() const override { return 0; }
  int GetLastItemVisible() const override { return ItemCount() - 1; }
  void AdjustVScrollUnits() override {}
  void ScrollTo(int32_t, bool) override {}
  void HScrollTo(int32_t) override {}
  void SetDocumentAreaSize(int32_t, int32_t, bool) override {}
  void DoCheckpointVisible(TDVCPInfo*) override {}
  void DoJump(int32_t) override {}
  void DoDVMouseMove(int32_t) override {}
  void DoDVMouseDown(TMouseButton, TShiftState, int, int32_t, int32_t) override {}
  void DoDVMouseUp(TMouseButton, TShiftState, int, int32_t, int32_t) override {}
  void ControlAction2(TDVControlAction, int, TControl*) override {}
  bool IsAssignedJump() const override { return false; }
  bool IsAssignedDVMouseDown() const override { return false; }
  bool IsAssignedDVMouseUp() const override { return false; }
  bool IsAssignedCheckpointVisible() const override { return false; }
};

}  // namespace quillet
