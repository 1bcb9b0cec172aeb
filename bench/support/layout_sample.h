#pragma once
// The layout benchmarks' document: paragraphs of about 50 characters of
// mixed Chinese (GBK) and Latin words, and the same text in a QTextDocument
// for the comparisons beside Qt.
#include <QFont>
#include <QString>
#include <QTextDocument>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/sample_document.h"
#include "platform/core/code_page.h"

namespace quillet::bench {

// Paragraphs of about 50 characters: Chinese words and Latin words mixed.
inline std::vector<std::string> LayoutSampleParagraphs(int count) {
  SampleRandom rnd(7);
  const std::vector<std::string> chinese = SampleChineseWords(rnd);
  const std::vector<std::string> latin = SampleLatinWords();
  std::vector<std::string> paragraphs;
  paragraphs.reserve(static_cast<size_t>(count));
  for (int p = 0; p < count; ++p) {
    std::string s;
    size_t chars = 0;
    while (chars < 50) {
      if (rnd.Next() % 3 != 0) {
        const std::string& w = chinese[rnd.Skewed(chinese.size())];
        s += w;
        chars += w.size() / 2;
      } else {
        const std::string& w = latin[rnd.Skewed(latin.size())];
        s += ' ';
        s += w;
        s += ' ';
        chars += w.size() + 2;
      }
    }
    paragraphs.push_back(std::move(s));
  }
  return paragraphs;
}

// The same paragraphs in a QTextDocument in the same font (16 pixels).
inline std::unique_ptr<QTextDocument> MakeQtSampleDocument(const std::vector<std::string>& paragraphs) {
  QString text;
  for (const std::string& p : paragraphs) {
    const std::u16string units = MultiByteToWideChar(936, p);
    if (!text.isEmpty()) text += QChar(u'\n');
    text += QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
  }
  auto doc = std::make_unique<QTextDocument>();
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(16);
  doc->setDefaultFont(font);
  doc->setDocumentMargin(0);
  doc->setPlainText(text);
  return doc;
}

}  // namespace quillet::bench
