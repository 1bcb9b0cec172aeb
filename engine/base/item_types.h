#pragma once
// The small types shared by items and the document data: item options, the
// style numbers of item kinds, capability queries, draw states, the DVF
// reader's modes and the notifications an item sends its document.
#include <cstdint>

namespace quillet {

// Item options; an item without dvioSameAsPrev starts a line, and that line
// starts a paragraph unless dvioBR is set.
enum TDVItemOption : uint8_t { dvioSameAsPrev = 1, dvioPageBreakBefore = 2, dvioBR = 4, dvioUnicode = 8 };
using TDVItemOptions = uint8_t;
// The bits that DVF stores.
constexpr TDVItemOptions DVStoredItemOptions = 15;

// Style numbers: 0 and above are text styles; below 0 the kind of a non-text
// item or of a stream record.
constexpr int32_t dvsNormal = 0, dvsHeading = 1, dvsSubheading = 2, dvsKeyword = 3, dvsJump1 = 4, dvsJump2 = 5;
constexpr int32_t LAST_DEFAULT_STYLE_NO = dvsJump2;
constexpr int32_t dvsBreak = -1;
constexpr int32_t dvsCheckpoint = -2;  // stream record only
constexpr int32_t dvsPicture = -3;
constexpr int32_t dvsHotspot = -4;
constexpr int32_t dvsComponent = -5;
constexpr int32_t dvsBullet = -6;
constexpr int32_t dvsBack = -7;         // stream record only
constexpr int32_t dvsVersionInfo = -8;  // stream record only
constexpr int32_t dvsDocProperty = -9;  // stream record only
constexpr int32_t dvsHotPicture = -10;
constexpr int32_t dvsListMarker = -11;

// Capability queries that need no style sheet.
enum TDVItemBoolProperty : uint8_t {
  dvbpFullWidth, dvbpValid, dvbpRequiresDVFLines, dvbpDisplayActiveState, dvbpDrawingChangesFont,
  dvbpCanSaveUnicode, dvbpAlwaysInText, dvbpImmediateControlOwner
};
// Capability queries that need the style sheet.
enum TDVItemBoolPropertyEx : uint8_t {
  dvbpPrintToBMP, dvbpJump, dvbpAllowsFocus, dvbpHotColdJump, dvbpXORFocus, dvbpHotCold, dvbpActualPrintSize
};

enum TDVItemDrawState : uint8_t {
  dvidsSelected = 1, dvidsCurrent = 2, dvidsHover = 4, dvidsPrinting = 8, dvidsPreview = 16,
  dvidsPreviewCorrection = 32, dvidsControlFocused = 64
};
using TDVItemDrawStates = uint8_t;

// How the DVF reader cuts the next line out of its buffer, and what it
// expects of the record being read.
enum TDVFReadMode : uint8_t { rmText, rmBeforeBinary, rmBinary, rmBeforeUnicode, rmUnicode, rmAfterUnicode };
enum TDVFReadState : uint8_t { rstHeader, rstData, rstSkip };

enum TDVEnterDirection : uint8_t { dvedLeft, dvedRight, dvedTop, dvedBottom };
enum TDVSubDVDataPos : uint8_t { dvdFirst, dvdLast, dvdChosenUp, dvdChosenDown, dvdNext, dvdPrev };

enum TDVExtraItemProperty : uint8_t {
  dvepUnknown, dvepVShift, dvepVShiftAbs, dvepImageWidth, dvepImageHeight, dvepTransparent,
  dvepTransparentMode, dvepTransparentColor, dvepMinHeightOnPage,
  // Stored since controls keep their width in percent across a save; older
  // readers skip the unknown name.
  dvepPercentWidth
};

// What a document asks of its items' pictures when its palette changes.
// Palettes are accepted and ignored on this platform: the copies are plain
// copies of the pictures.
enum TDVPaletteAction { dvpaDoNothing, dvpaAssignPallette, dvpaCreateCopies, dvpaCreateCopiesEx };

// What happens to an item, reported to its document (ItemAction).
enum TDVItemAction : uint8_t { dviaInserting, dviaTextModifying, dviaDestroying, dviaMovingToUndoList };
// What happens to a control item's control (ControlAction).
enum TDVControlAction : uint8_t {
  dvcaDestroy, dvcaMoveToUndoList, dvcaMoveFromUndoList, dvcaDestroyInUndoList, dvcaBeforeDVFSave,
  dvcaAfterDVFSave, dvcaAfterDVFLoad
};

// Document options, in the viewer's order.
enum TDVOption : uint32_t {
  dvoAllowSelection = 1u << 0, dvoSingleClick = 1u << 1, dvoScrollToEnd = 1u << 2, dvoClientTextWidth = 1u << 3,
  dvoShowCheckpoints = 1u << 4, dvoShowPageBreaks = 1u << 5, dvoTagsArePChars = 1u << 6,
  dvoAutoCopyText = 1u << 7, dvoAutoCopyUnicodeText = 1u << 8, dvoAutoCopyDVF = 1u << 9,
  dvoAutoCopyImage = 1u << 10, dvoAutoCopyRTF = 1u << 11, dvoFormatInvalidate = 1u << 12,
  dvoDblClickSelectsWord = 1u << 13, dvoRClickDeselects = 1u << 14
};
using TDVOptions = uint32_t;
constexpr TDVOptions DVDefaultOptions = dvoAllowSelection | dvoScrollToEnd | dvoShowPageBreaks | dvoAutoCopyText |
                                        dvoAutoCopyDVF | dvoAutoCopyImage | dvoAutoCopyRTF | dvoFormatInvalidate |
                                        dvoDblClickSelectsWord | dvoRClickDeselects;

enum TDVFOption : uint32_t {
  dvfoSavePicturesBody = 1u << 0, dvfoSaveControlsBody = 1u << 1, dvfoIgnoreUnknownPicFmt = 1u << 2,
  dvfoIgnoreUnknownCtrls = 1u << 3, dvfoConvUnknownStylesToZero = 1u << 4, dvfoConvLargeImageIdxToZero = 1u << 5,
  dvfoSaveBinary = 1u << 6, dvfoUseStyleNames = 1u << 7, dvfoSaveBack = 1u << 8, dvfoLoadBack = 1u << 9,
  dvfoSaveTextStyles = 1u << 10, dvfoSaveParaStyles = 1u << 11, dvfoSaveLayout = 1u << 12,
  dvfoLoadLayout = 1u << 13
};
using TDVFOptions = uint32_t;
constexpr TDVFOptions DVDefaultDVFOptions = dvfoSavePicturesBody | dvfoSaveControlsBody | dvfoSaveBinary;

enum TDVFWarning : uint8_t {
  dvfwUnknownPicFmt = 1, dvfwUnknownCtrls = 2, dvfwConvUnknownStyles = 4, dvfwConvLargeImageIdx = 8,
  dvfwConvToUnicode = 16, dvfwConvFromUnicode = 32
};
using TDVFWarnings = uint8_t;

enum TDVRTFOption : uint8_t {
  dvrtfSaveStyleSheet = 1, dvrtfDuplicateUnicode = 2, dvrtfSaveEMFAsWMF = 4, dvrtfSaveJpegAsJpeg = 8,
  dvrtfSaveBitmapDefault = 16, dvrtfSaveEMFDefault = 32
};
using TDVRTFOptions = uint8_t;
constexpr TDVRTFOptions DVDefaultRTFOptions = dvrtfDuplicateUnicode | dvrtfSaveEMFAsWMF | dvrtfSaveJpegAsJpeg;

// How style records of a loaded stream meet the document's styles.
enum TDVFReaderStyleMode : uint8_t { dvf_sIgnore, dvf_sInsertMap, dvf_sInsertMerge };

// Run-time state flags of a document data object.
enum TDVState : uint32_t {
  dvstClearing = 1u << 0, dvstLoadingAsPartOfItem = 1u << 1, dvstSkipFormatting = 1u << 2,
  dvstFormatParas = 1u << 3, dvstResizing = 1u << 4, dvstMakingSelection = 1u << 5, dvstDrawHover = 1u << 6,
  dvstCompletelySelected = 1u << 7, dvstDeselecting = 1u << 8, dvstDoNotTab = 1u << 9,
  dvstIgnoreNextMouseDown = 1u << 10, dvstIgnoreNextChar = 1u << 11, dvstForceStyleChangeEvent = 1u << 12,
  dvstRTFSkipPar = 1u << 13, dvstFinalizingUndo = 1u << 14, dvstDoNotMoveChildren = 1u << 15,
  dvstChangingBkPalette = 1u << 16, dvstUnAssigningChosen = 1u << 17, dvstNoScroll = 1u << 18
};
using TDVStates = uint32_t;

}  // namespace quillet
