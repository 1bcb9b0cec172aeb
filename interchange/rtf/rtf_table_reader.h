#pragma once
// RTF tables onto table items. Each row's text is read into working cells
// (one per \cell); the row's boundaries go into the table's grid model, and
// when the table ends the grid becomes a table item: cells merged over their
// spans, given their properties and the content of their working cells.
// Nothing read is dropped: text that no cell takes comes in as paragraphs
// where the table stands.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/rtf_read_properties.h"
#include "interchange/rtf/rtf_reader.h"
#include "interchange/rtf/rtf_table_grid.h"

namespace quillet {

class TCustomDVData;
class TCustomDVItemInfo;
class TDVTableCellData;
class TDVTableItemInfo;
class TDVTableRow;

// What the table reader needs of the read it serves.
class TDVRTFTableHost {
 public:
  virtual ~TDVRTFTableHost() = default;
  // Where read items go; null while nothing takes them.
  virtual TCustomDVData* Target() const = 0;
  virtual void SetTarget(TCustomDVData* target) = 0;
  // The document whose style sheet the read uses.
  virtual TCustomDVData& Root() = 0;
  // An empty text run at a new paragraph of the target.
  virtual void NewEmptyPara() = 0;
  // An item into the target, as read items go.
  virtual void InsertItem(std::string text, std::unique_ptr<TCustomDVItemInfo> item, TDVRTFPosition position) = 0;
  // The styles of an empty cell's paragraph.
  virtual int32_t GetEmptyStyleNo() = 0;
  virtual int32_t GetEmptyParaNo(TDVRTFAlignment alignment) = 0;
};

// The settings the tables of one read take.
struct TDVRTFTableSettings {
  TDVBorderGlueMode GlueMode = dvbgNegativeSpacing;
  bool HideGridLines = true;
  double PixelsPerTwip = 1.0 / 15;
};

// One open table.
struct TTableInfo {
  TTableInfo();
  ~TTableInfo();

  // A finished row: its properties and whether some cell so far carried its
  // own width.
  struct TRow {
    TDVRTFRowProperties Props;
    bool CellWidthsGiven = false;
  };

  TDVRTFTableGrid Grid;
  std::vector<TRow> Rows;
  // The target and column of the enclosing read when the table began.
  TCustomDVData* ParentTarget = nullptr;
  int ParentCol = 0;
  // The working table: one row whose cells receive the text of the row
  // being read.
  std::unique_ptr<TDVTableItemInfo> lastrow;
  // The working cells of the finished rows, row after row, and the index of
  // each row's first. They stay until the table ends, as a later row can
  // still split the columns their cells go to; then a cell's first working
  // cell becomes the cell itself.
  std::vector<std::unique_ptr<TDVTableCellData>> FinishedCells;
  std::vector<int> FinishedRowStart;
  int64_t VSpacingTw = 0, VBorderSpacing1Tw = 0, VBorderSpacing2Tw = 0, HSpacingTw = 0;
  int64_t CellPaddingTw = 0, BorderWidthTw = 0, CellBorderWidthTw = 0;
  int CellPaddingCount = 0, BorderCount = 0, CellBorderCount = 0;
  int32_t BestWidth = 0;  // twips, or negative fiftieths of a percent
  TColor BorderColor = clWindowText, BorderLightColor = clWindowText;
  bool UseHSpacing = false, UseVSpacing = false;
  bool CellWidthsGiven = false;
  bool CellFlatBorder = true;
  bool DocViewSpecial = false;  // sizes written in pixels by our own writer
  bool RowFinished = false;

  // The table-wide part of a finished row r (spacing, padding, border
  // widths and colours, width); the row joins Rows.
  void AssignRowProperties(const TDVRTFRowProperties& row, int r);
  // A cell over grid columns from to to (exclusive end line).
  void AssignCellProperties(TDVTableCellData& cell, const TDVRTFCellProperties& props, const TRow& row, int from,
                            int to, double k);
  void Finalize(TDVTableItemInfo& table, const TDVRTFTableSettings& settings, int32_t emptyStyleNo,
                int32_t emptyParaNo, double k) const;
};

// The reader's table events (OnTable) for one read.
class TDVRTFTableReader {
 public:
  TDVRTFTableReader(TDVRTFTableHost& host, const TDVRTFTableSettings& settings);
  ~TDVRTFTableReader();
  void ReaderTable(TDVRTFReader& sender, TDVRTFTableEventKind whatHappens);

 private:
  void TableStart();
  void CellEnd();
  void RowEnd(const TDVRTFRowProperties& props);
  void TableEnd();
  TDVTableRow& WorkingRow(TTableInfo& info) const;
  void TargetWorkingCell();
  // Moves the working row's cells to the finished ones; the row starts
  // again with one cell.
  void FinishRow(TTableInfo& info);
  // The table's item built from its grid, with the table the settings ask
  // for; null for a table without a cell.
  std::unique_ptr<TDVTableItemInfo> BuildTable(TTableInfo& info);
  // A cell that only fills the grid: no borders, one empty paragraph.
  void HideBorders(TDVTableCellData& cell, int32_t emptyStyleNo, int32_t emptyParaNo);
  // The items of the working row, as paragraphs into the target.
  void RescueRow(TTableInfo& info);
  // Ends info's table into its parent; the row being read is left out.
  void InsertTable(TTableInfo& info);

  TDVRTFTableHost& host_;
  const TDVRTFTableSettings settings_;
  std::vector<std::unique_ptr<TTableInfo>> Tables;
  int curCol_ = 0;
};

}  // namespace quillet
