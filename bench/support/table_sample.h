#pragma once
// The table the table benchmarks share: rows x columns of short Chinese
// words (GBK, 12 points) alone in a document 700 pixels wide, and the same
// words in a QTextTable.
#include <QFont>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/bench_document.h"
#include "bench/support/sample_document.h"
#include "editing/table/table_item.h"
#include "platform/core/code_page.h"

namespace quillet::bench {

constexpr int kRows = 100, kCols = 20, kWidth = 700, kHeight = 900, kPointSize = 12;

// The cells' words, row by row.
inline std::vector<std::string> CellWords(int rows = kRows, int cols = kCols) {
  SampleRandom rnd(5);
  const std::vector<std::string> chinese = SampleChineseWords(rnd);
  std::vector<std::string> words;
  for (int i = 0; i < rows * cols; ++i) words.push_back(chinese[rnd.Skewed(chinese.size())]);
  return words;
}

// The document with the table, laid out once.
inline std::unique_ptr<BenchDocument> MakeTableDocument(TCanvas& canvas, TDVTableItemInfo*& table, int rows = kRows,
                                                        int cols = kCols) {
  auto data = std::make_unique<BenchDocument>(canvas, kWidth, kHeight, 0, kPointSize);
  auto t = std::make_unique<TDVTableItemInfo>(rows, cols, data.get());
  table = t.get();
  data->AddItem("", std::move(t));
  const std::vector<std::string> words = CellWords(rows, cols);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) table->GetCells(r, c)->AddNL(words[static_cast<size_t>(r * cols + c)], 0, 0);
  data->Format();
  return data;
}

// A QTextDocument in the pinned font, without margin.
inline void SetUpQTextDocument(QTextDocument& doc) {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(16);
  doc.setDefaultFont(font);
  doc.setDocumentMargin(0);
}

// A QTextTable of the words at the cursor, 100 % wide.
inline QTextTable* InsertQTextTable(QTextCursor& cursor, const std::vector<std::string>& words, int rows = kRows,
                                    int cols = kCols) {
  QTextTableFormat format;
  format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
  QTextTable* table = cursor.insertTable(rows, cols, format);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      const std::u16string units = MultiByteToWideChar(936, words[static_cast<size_t>(r * cols + c)]);
      table->cellAt(r, c).firstCursorPosition().insertText(
          QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size())));
    }
  return table;
}

// A QTextDocument holding only such a table.
inline QTextTable* FillQTextTable(QTextDocument& doc, int rows = kRows, int cols = kCols) {
  SetUpQTextDocument(doc);
  QTextCursor cursor(&doc);
  return InsertQTextTable(cursor, CellWords(rows, cols), rows, cols);
}

}  // namespace quillet::bench
