#pragma once
// The annotation layer: pen strokes and seals written over the page, kept as
// "QP" text records that travel at the head of the document stream (through
// the document's TQvDvData), drawn over the viewer and over printed pages.
//
// Coordinates are document pixels at 96 per inch: x from the page's left
// edge, y from the top of the document. From a point (X, Y) of the viewer's
// client area: x = X + HScrollPos - leftOffset, y = Y + VScrollPos * VSmallStep.
//
// Nothing here draws outside painting: adding points, seals, smoothing, undo
// and redo change the records, and the caller repaints (the layer's Paint
// runs from the viewer's paint event).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/annotation/postil_scene.h"
#include "host/annotation/qv_lines.h"
#include "platform/core/geometry.h"

namespace quillet {

class TBitmap;
class TCanvas;
class TCanvasLayer;
class TStream;

// Where a printed page's document heights land: view pixels y with
// ViewFrom <= y < ViewTo print on the page, at PrintAnchor device pixels below
// the print area's top plus (y - ViewAnchor) scaled to the printer.
struct TPostilPageSpan {
  int32_t ViewFrom = INT32_MIN, ViewTo = INT32_MAX;
  int32_t ViewAnchor = 0, PrintAnchor = 0;
};

class TQvPostil {
 public:
  TQvPostil();
  ~TQvPostil();
  TQvPostil(const TQvPostil&) = delete;
  TQvPostil& operator=(const TQvPostil&) = delete;

  // ---- modes ----
  void BeginPostil() { QvPostilMode = true; }
  void EndPostil() { QvPostilMode = false; }
  bool IsPostil() const { return QvPostilMode; }
  void BeginDraw() { QvBoolDraw = true; }
  bool IsDraw() const { return QvBoolDraw; }
  // Pen up: ends the stroke and smooths it.
  void EndDraw();

  // ---- writing ----
  // Pen down: a stroke starts at the client point.
  void AddPointM(int32_t X, int32_t Y, int32_t intPenColor, int32_t intPenSize, int32_t HScrollPos,
                 int32_t VScrollPos, int32_t VSmallStep);
  // Pen moved while drawing.
  void AddPointL(int32_t X, int32_t Y, int32_t intPenColor, int32_t intPenSize, int32_t HScrollPos,
                 int32_t VScrollPos, int32_t VSmallStep);
  // Places a seal centred on the client point; false (nothing recorded) for
  // an id records cannot carry.
  bool AddTuZhang(const std::string& bmpID, const std::string& userName, const std::string& currTime, int32_t X,
                  int32_t Y, int32_t HScrollPos, int32_t VScrollPos, int32_t VSmallStep);
  // The writer of new records; ";", CR and LF are made harmless.
  void SetUser(const std::string& userName);
  void setLeftOffset(int32_t value) { leftOffset = value; }
  int32_t LeftOffset() const { return leftOffset; }
  // Where the date of new strokes comes from ("yyyy-mm-dd" of today unless set).
  std::function<std::string()> Today;

  // ---- the document's records ----
  // Replaces the records with a document's (its seal pictures come along).
  void loadPostil(const std::vector<std::string>& allPostil);
  // A document inserted above the page's content: what is held, loaded and
  // new alike, moves dy pixels down with that content, and the inserted
  // document's records join the loaded ones (its seal pictures come along).
  // New records stay new, with their undo and redo.
  void InsertPostil(const std::vector<std::string>& inserted, int32_t dy);
  // The loaded records, the new ones, the users and the seal pictures, for
  // the document stream. Changes nothing here.
  void Save(std::vector<std::string>& allPostil) const;
  // Forgets every record and the pictures the document brought; the host's
  // pictures stay.
  void clear();

  // ---- drawing ----
  void Paint(TCanvas& canvas, int32_t HScrollPos, int32_t VScrollPos, int32_t VSmallStep);
  // One printed page: the print area in the canvas's device pixels and the
  // part of the document the page prints.
  void PrintPaint(TCanvas& canvas, const TRect& PrintAreaRect, const TPostilPageSpan& page);

  // ---- undo and the writer lookup ----
  void Undo();
  void Redo();
  bool CanRedo() const { return slRedoMlist.size() > slUndoMList.size(); }
  // "writer-批注-;date" of a stroke point, "writer加盖的图章;date" of a seal
  // under the client point, or "".
  std::string ShowUserName(int32_t X, int32_t Y, int32_t HScrollPos, int32_t VScrollPos, int32_t VSmallStep) const;

  // ---- seals ----
  TBitmap* GetBmp(const std::string& bmpID) const;
  // Takes the picture when the id is new and records can carry it and the
  // stream holds a bitmap; answers whether it did. A document's pictures go
  // with the document (fromDocument), the host's stay.
  bool PutBmp(const std::string& bmpID, TStream& stream, bool fromDocument = false);
  // Takes the bitmap (bmp is then empty) when it did.
  bool PutBmp(const std::string& bmpID, std::unique_ptr<TBitmap>& bmp, bool fromDocument = false);
  // A seal picture as the host hands it over: run-length hexadecimal text of
  // a bitmap file. False when the text or the picture is bad or the id taken.
  bool PutBmpText(const std::string& bmpID, std::string_view text);
  // ";" + id of every seal record, loaded then new.
  std::string GetBmpIDs() const;
  // White is transparent; own size, or stretched to width x height.
  static void DrawTuzhang(TBitmap& bmp, TCanvas& canvas, int32_t x, int32_t y);
  static void DrawTuzhang(TBitmap& bmp, TCanvas& canvas, int32_t x, int32_t y, int32_t RectWidth, int32_t RectHeight);

  // ---- state, for the host and tests ----
  const std::vector<std::string>& AllPostil() const { return slAllPostil; }
  const std::vector<std::string>& NewPostil() const { return slNewPostil; }
  const std::vector<std::string>& SealRecords() const { return tuzhangList; }
  const std::string& CurrentUser() const { return currUserName; }
  // Changes every time the drawing changes.
  uint64_t Generation() const { return generation_; }

 private:
  struct SealPicture {
    std::string Id;
    std::unique_ptr<TBitmap> Bmp;
    bool FromDocument = false;
  };

  std::pair<int32_t, int32_t> DocumentPoint(int32_t X, int32_t Y, int32_t HScrollPos, int32_t VScrollPos,
                                            int32_t VSmallStep) const;
  // Cuts the redo tails and opens a group at the next record.
  void OpenGroup();
  void AppendNew(std::string record);
  // Drawing, with the last group a stroke.
  bool StrokeOpen() const;
  std::string PointRecord(const char* tag, int32_t x, int32_t y) const;
  // A line of a document's records joins the loaded ones.
  void TakeLoaded(const std::string& line, std::vector<std::string_view>& fields);
  void QvFilter();
  // The new records changed other than by appending.
  void NewChanged();
  void AllChanged();
  const TPostilScene& NewScene();

  bool QvPostilMode = false;
  bool QvBoolDraw = false;
  int32_t penColor = -1, penSize = -1;
  int32_t leftOffset = 0;
  std::vector<std::string> slAllPostil, slNewPostil;
  std::vector<size_t> slUndoMList, slRedoMlist;
  std::vector<std::string> slTempPostil;
  std::vector<std::string> tuzhangList;
  std::vector<SealPicture> bmpsList;
  TQvLines qvLines;
  std::vector<std::string> slAllUserList;
  std::string currUserName;

  // Drawing caches: the loaded records' scene, the new records' scene (read
  // on from newRead_ while records are only appended), and the layer the
  // screen paint keeps with what it drew.
  uint64_t generation_ = 0;
  TPostilScene allScene_, newScene_;
  size_t newRead_ = 0;
  bool newStale_ = true;
  std::unique_ptr<TCanvasLayer> layer_;
  struct LayerState {
    uint64_t Base = UINT64_MAX;  // generation of the loaded records, pictures and offsets drawn
    double Dx = 0, Dy = 0;
    size_t Items = 0, Segments = 0;
  } layerState_;
  uint64_t baseGeneration_ = 0;

  // The records as printing reads them, read again only after the drawing
  // changed: a print job visits every page, and reading every record for
  // each page made annotations cost more than the pages themselves.
  struct PrintPoint {
    // MoveTo, LineTo or Seal; Other for a damaged pen-down, which prints
    // nothing but ends the stroke before it.
    TPostilTag Tag = TPostilTag::Other;
    int32_t X = 0, Y = 0;  // document pixels, rounded
    TColor Color = 0;
    int32_t Width = 0;  // the pen's, rounded
    int32_t Seal = -1;  // into printSeals_
  };
  void ReadPrintPoints();
  uint64_t printGeneration_ = UINT64_MAX;
  std::vector<PrintPoint> printPoints_;
  std::vector<std::string> printSeals_;
  // The points that can print, by height (then in record order), so that a
  // page finds its own by search.
  std::vector<uint32_t> printByHeight_;
  std::vector<uint32_t> pagePoints_;
  std::vector<TPoint> pageRun_;
};

}  // namespace quillet
