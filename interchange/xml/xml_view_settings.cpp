#include "interchange/xml/xml_view_settings.h"

#include "editing/control/editor.h"
#include "engine/view/docview.h"
#include "interchange/xml/xml_values.h"

namespace quillet {

namespace {

using Sv = std::string_view;
using S = TXMLViewSettings;

template <TDVOption Bit>
void Option(S& s, Sv v) {
  ReadFlagBit<TDVOptions>(v, s.Options, Bit);
}
template <TDVRTFOption Bit>
void RTFOption(S& s, Sv v) {
  ReadFlagBit<TDVRTFOptions>(v, s.RTFOptions, Bit);
}
template <TDVFOption Bit>
void DVFOption(S& s, Sv v) {
  ReadFlagBit<TDVFOptions>(v, s.DVFOptions, Bit);
}
// Viewer-only and editor-only attributes are passed over on the other kind.
template <TDVOption Bit>
void ViewerOption(S& s, Sv v) {
  if (!s.IsEditor) Option<Bit>(s, v);
}
template <TDVEditorOption Bit, bool Inverted = false>
void EditorOption(S& s, Sv v) {
  if (s.IsEditor) ReadFlagBit<TDVEditorOptions>(v, s.EditorOptions, Bit, Inverted);
}

const TXMLAttrRule<S> kViewRules[] = {
    {"backcolor", [](S& s, Sv v) { s.Color = ReadColor(v); }},
    {"backstyle",
     [](S& s, Sv v) {
       ReadKeyword<TBackgroundStyle>(v,
                                     {{"color", bsNoBitmap},
                                      {"stretch", bsStretched},
                                      {"tile", bsTiledAndScrolled},
                                      {"fixedtile", bsTiled},
                                      {"center", bsCentered}},
                                     s.BackgroundStyle);
     }},
    {"backimg",
     [](S& s, Sv v) {
       TBitmap bitmap;
       LoadGraphicData(bitmap, v);
       s.BackgroundBitmap = std::move(bitmap);
     }},
    {"backimgsource",
     [](S& s, Sv v) {
       TBitmap bitmap;
       bitmap.LoadFromFile(FileReference(*s.Node, v));
       s.BackgroundBitmap = std::move(bitmap);
     }},
    {"hscrollbarvisible", [](S& s, Sv v) { ReadFlag(v, s.HScrollVisible); }},
    {"vscrollbarvisible", [](S& s, Sv v) { ReadFlag(v, s.VScrollVisible); }},
    {"vsmallstep", [](S& s, Sv v) { ReadInt(v, s.VSmallStep); }},
    {"leftmargin", [](S& s, Sv v) { ReadInt(v, s.LeftMargin); }},
    {"rightmargin", [](S& s, Sv v) { ReadInt(v, s.RightMargin); }},
    {"topmargin", [](S& s, Sv v) { ReadInt(v, s.TopMargin); }},
    {"bottommargin", [](S& s, Sv v) { ReadInt(v, s.BottomMargin); }},
    {"maxtextwidth", [](S& s, Sv v) { ReadInt(v, s.MaxTextWidth); }},
    {"mintextwidth", [](S& s, Sv v) { ReadInt(v, s.MinTextWidth); }},
    {"bidimode",
     [](S& s, Sv v) {
       ReadKeyword<TDVBiDiMode>(v, {{"none", dvbdUnspecified}, {"ltr", dvbdLeftToRight}, {"rtl", dvbdRightToLeft}},
                                s.BiDiMode);
     }},
    {"checkevent",
     [](S& s, Sv v) {
       ReadKeyword<TCPEventKind>(
           v, {{"none", cpeNone}, {"sectionstart", cpeAsSectionStart}, {"visible", cpeWhenVisible}}, s.CPEventKind);
     }},
    {"scrolltoend", Option<dvoScrollToEnd>},
    {"singleclick", Option<dvoSingleClick>},
    {"clienttextwidth", Option<dvoClientTextWidth>},
    {"showcheckpoints", Option<dvoShowCheckpoints>},
    {"showpagebreaks", Option<dvoShowPageBreaks>},
    {"autocopytext", Option<dvoAutoCopyText>},
    {"autocopyunitext", Option<dvoAutoCopyUnicodeText>},
    {"autocopyrtf", Option<dvoAutoCopyRTF>},
    {"autocopydvf", Option<dvoAutoCopyDVF>},
    {"autocopyimage", Option<dvoAutoCopyImage>},
    {"formatinvalidate", Option<dvoFormatInvalidate>},
    {"dblclickselectword", Option<dvoDblClickSelectsWord>},
    {"rightclickdeselect", Option<dvoRClickDeselects>},
    {"rtfsavestylesheet", RTFOption<dvrtfSaveStyleSheet>},
    {"rtfunicodetoansi", RTFOption<dvrtfDuplicateUnicode>},
    {"rtfemftowmf", RTFOption<dvrtfSaveEMFAsWMF>},
    {"rtftransformjpeg", [](S& s, Sv v) { ReadFlagBit<TDVRTFOptions>(v, s.RTFOptions, dvrtfSaveJpegAsJpeg, true); }},
    {"rtfdefaultimgformat",
     [](S& s, Sv v) {
       if (SameName(v, "bmp")) {
         s.RTFOptions |= dvrtfSaveBitmapDefault;
       } else if (SameName(v, "wmf")) {
         s.RTFOptions &= static_cast<TDVRTFOptions>(~dvrtfSaveBitmapDefault);
       } else if (SameName(v, "emf")) {
         s.RTFOptions &= static_cast<TDVRTFOptions>(~dvrtfSaveBitmapDefault);
         s.RTFOptions |= dvrtfSaveEMFDefault;
       }
     }},
    {"dvfautosaveimages", DVFOption<dvfoSavePicturesBody>},
    {"dvfautosavecontrols", DVFOption<dvfoSaveControlsBody>},
    {"dvfusestylenames", DVFOption<dvfoUseStyleNames>},
    {"dvfsavetextstyles", DVFOption<dvfoSaveTextStyles>},
    {"dvfsaveparastyles", DVFOption<dvfoSaveParaStyles>},
    {"dvfsavebinary", DVFOption<dvfoSaveBinary>},
    {"dvfsavebackground", DVFOption<dvfoSaveBack>},
    {"dvfsavelayout", DVFOption<dvfoSaveLayout>},
    {"allowselection", ViewerOption<dvoAllowSelection>},
    {"tabnavigation",
     [](S& s, Sv v) {
       if (!s.IsEditor)
         ReadKeyword<TDVTabNavigationType>(v, {{"none", dvtnNone}, {"tab", dvtnTab}, {"ctrltab", dvtnCtrlTab}},
                                           s.TabNavigation);
     }},
    {"cleartagbystylechange", EditorOption<dvoClearTagOnStyleApp>},
    {"ctrljump", EditorOption<dvoCtrlJumps>},
    {"ignoreenter", EditorOption<dvoDoNotWantReturns>},
    {"langautoswitch", EditorOption<dvoAutoSwitchLang>},
    {"ignoretab", EditorOption<dvoWantTabs, true>},
};

}  // namespace

void TXMLViewSettings::ReadFrom(const TCustomDocView& view) {
  const auto* editor = dynamic_cast<const TCustomDocViewEdit*>(&view);
  IsEditor = editor != nullptr;
  Color = view.Color;
  BackgroundStyle = view.Background().Style;
  BackgroundBitmap.reset();
  HScrollVisible = view.HScrollVisible();
  VScrollVisible = view.VScrollVisible();
  VSmallStep = view.VSmallStep();
  LeftMargin = view.LeftMargin;
  RightMargin = view.RightMargin;
  TopMargin = view.TopMargin;
  BottomMargin = view.BottomMargin;
  MaxTextWidth = view.MaxTextWidth;
  MinTextWidth = view.MinTextWidth;
  BiDiMode = view.BiDiMode();
  CPEventKind = view.CPEventKind;
  Options = view.Options();
  RTFOptions = view.RTFOptions();
  DVFOptions = view.DVFOptions();
  TabNavigation = view.TabNavigation();
  EditorOptions = editor ? editor->EditorOptions : 0;
}

void TXMLViewSettings::ApplyTo(TCustomDocView& view) const {
  view.Color = Color;
  view.Background().Style = BackgroundStyle;
  if (BackgroundBitmap) view.Background().SetBitmap(*BackgroundBitmap);
  view.SetHScrollVisible(HScrollVisible);
  view.SetVScrollVisible(VScrollVisible);
  view.SetVSmallStep(VSmallStep);
  view.LeftMargin = LeftMargin;
  view.RightMargin = RightMargin;
  view.TopMargin = TopMargin;
  view.BottomMargin = BottomMargin;
  view.MaxTextWidth = MaxTextWidth;
  view.MinTextWidth = MinTextWidth;
  view.SetBiDiModeDV(BiDiMode);
  view.CPEventKind = CPEventKind;
  view.SetOptions(Options);
  view.SetRTFOptions(RTFOptions);
  view.SetDVFOptions(DVFOptions);
  view.SetTabNavigation(TabNavigation);
  if (auto* editor = dynamic_cast<TCustomDocViewEdit*>(&view)) editor->EditorOptions = EditorOptions;
  view.DoOnBackBitmapChange();
}

void LoadBackgroundFromXML(const TXMLTag& node, TXMLViewSettings& settings) {
  settings.Node = &node;
  ApplyAttributes(node, kViewRules, settings);
  settings.Node = nullptr;
}

}  // namespace quillet
