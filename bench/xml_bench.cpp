// The XML import's parser beside libxml2 on the same bytes: a "book" file of
// 50,000 item elements shaped as the import format writes them (text runs,
// Unicode text as character references, small tables), once with GBK text
// and once all ASCII, where libxml2 has nothing to transcode. Both build a
// tree and free it in every iteration.
#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/sample_document.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "interchange/xml/xml_items.h"
#include "interchange/xml/xml_tree.h"
#include "platform/core/code_page.h"

using namespace quillet;

namespace {

constexpr int kElements = 50000;

// Every character of a GBK text as a decimal reference, as a writer stores
// Unicode text in a 7-bit file.
std::string AsReferences(const std::string& gbk) {
  std::string out;
  for (char16_t unit : MultiByteToWideChar(936, gbk))
    out += unit < 0x80 ? std::string(1, static_cast<char>(unit)) : "&#" + std::to_string(unit) + ";";
  return out;
}

std::string TextElement(const std::string& text, int style, int para, bool br) {
  return "<text textstyleno=\"" + std::to_string(style) + "\" parastyleno=\"" + std::to_string(para) +
         "\" br=\"" + (br ? "1" : "0") + "\">" + text + "</text>\r\n";
}

// Seven in ten elements are text runs, two Unicode text, one a 2 x 2 table.
std::string MakeBook(bool ascii) {
  bench::SampleRandom rnd(11);
  std::vector<std::string> chinese = bench::SampleChineseWords(rnd);
  // Row D7 ends at F9: words with the five codes after it are no GBK text.
  std::erase_if(chinese, [](const std::string& w) {
    for (size_t i = 0; i + 1 < w.size(); i += 2)
      if (static_cast<uint8_t>(w[i]) == 0xD7 && static_cast<uint8_t>(w[i + 1]) > 0xF9) return true;
    return false;
  });
  const std::vector<std::string> latin = bench::SampleLatinWords();
  const auto paragraph = [&](bool latinOnly) {
    std::string p;
    do p = bench::SampleParagraph(rnd, chinese, latin, 4 + rnd.Next() % 10);
    while (latinOnly && static_cast<unsigned char>(p[0]) >= 0x80);
    return p;
  };
  std::string xml = ascii ? "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                          : "<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n";
  xml += "<book>\r\n<document backcolor=\"clWindow\" leftmargin=\"5\">\r\n";
  for (int i = 0; i < kElements; ++i) {
    const uint32_t kind = rnd.Next() % 10;
    if (kind < 7) {
      xml += TextElement(paragraph(ascii) + " &amp; more", static_cast<int>(rnd.Next() % 4),
                         static_cast<int>(rnd.Next() % 2), rnd.Next() % 3 != 0);
    } else if (kind < 9) {
      xml += "<utext textstyleno=\"1\">" + AsReferences(paragraph(false)) + "</utext>\r\n";
    } else {
      xml += "<table rows=\"2\" cols=\"2\" cellpadding=\"2\" borderwidth=\"1\">\r\n";
      for (int r = 0; r < 2; ++r) {
        xml += "<row valign=\"top\">";
        for (int c = 0; c < 2; ++c) xml += "<cell width=\"120\">" + TextElement(paragraph(ascii), 0, 0, true) + "</cell>";
        xml += "</row>\r\n";
      }
      xml += "</table>\r\n";
    }
  }
  return xml + "</document>\r\n</book>\r\n";
}

const std::string& Book(bool ascii) {
  static const std::string* gbk = new std::string(MakeBook(false));
  static const std::string* plain = new std::string(MakeBook(true));
  return ascii ? *plain : *gbk;
}

void Report(benchmark::State& state, const std::string& xml) {
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(xml.size()));
  state.counters["file_MB"] = static_cast<double>(xml.size()) / 1e6;
}

void BM_TXMLTreeParse(benchmark::State& state) {
  const std::string& xml = Book(state.range(0) != 0);
  for (auto _ : state) {
    TXMLTree tree("windows-1250");
    tree.AddUnicodeElement("utext");
    tree.Parse(xml);
    benchmark::DoNotOptimize(tree.Children().Count());
  }
  Report(state, xml);
}

void BM_LibXml2ReadMemory(benchmark::State& state) {
  const std::string& xml = Book(state.range(0) != 0);
  for (auto _ : state) {
    xmlDocPtr doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "book.xml", nullptr, XML_PARSE_NONET);
    if (!doc) std::abort();
    benchmark::DoNotOptimize(doc);
    xmlFreeDoc(doc);
  }
  Report(state, xml);
}

// The import of the whole file into a document (parse, items, tables),
// against a style sheet with the four text styles and two paragraph styles
// the file names, the second text style Unicode.
void BM_XMLImport(benchmark::State& state) {
  const std::string& xml = Book(state.range(0) != 0);
  for (auto _ : state) {
    TXMLTree tree("windows-1250");
    tree.AddUnicodeElement("utext");
    tree.Parse(xml);
    TDVStyle style;
    for (int i = 1; i < 4; ++i) style.TextStyles().Add().Unicode = i == 1;
    style.ParaStyles().Add();
    TCustomDVData doc;
    doc.SetDVStyle(&style);
    TDVIntegerList styleMap, paraMap, listMap;
    LoadDVStyle(nullptr, style, slmIgnore, styleMap, paraMap, listMap);
    TImgListList bullets, hotspots;
    TXMLLoadContext context{style, bullets, hotspots, styleMap, paraMap, listMap, nullptr, nullptr, false};
    int position = 0, added = 0;
    const TXMLTag* document = tree.Children().FindTagOfName("book")->Children().FindTagOfName("document");
    LoadDVDataFromXML(doc, *document, context, nullptr, position, true, added);
    benchmark::DoNotOptimize(doc.ItemCount());
  }
  Report(state, xml);
}

}  // namespace

// Argument 1: the ASCII file; 0: the GBK file.
BENCHMARK(BM_TXMLTreeParse)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibXml2ReadMemory)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XMLImport)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
