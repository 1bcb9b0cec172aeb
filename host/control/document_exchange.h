#pragma once
// The control's document members: the whole document as hexadecimal text
// and back, insertion of such a document before the first item, the plain
// text, seal pictures from the host and the annotations' presence.
//
// Everything goes through the document record, so these members, the
// database road and the file road read and write the same host lines
// (reviewers and annotations). Texts are the host's outside data: a member
// that cannot read its whole text raises and changes nothing. While the
// record waits for the database, every member but IsPostil raises
// EDocumentRecordError.
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillet {

class TDocumentRecord;

// A seal picture the host handed over that cannot be taken.
class EDocumentExchangeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TDocumentExchange {
 public:
  // The record outlives the exchange.
  explicit TDocumentExchange(TDocumentRecord& record) : record_(record) {}

  // The document, its 15 reviewer lines (slot 0 named the drafter) and its
  // annotations, compressed, as upper-case hexadecimal text.
  std::string GetAsciiData();
  // The document as plain text in the system code page, paragraphs ended
  // by CR LF; the host lines are written into the carrier as for a save.
  std::string ExportToText();

  // Replaces the document, reviewers and annotations by those of a text
  // GetAsciiData wrote. Raises EConvertError for a character that is not a
  // hexadecimal digit, the compressed form's errors for a text that is not
  // a compressed document, EDocumentRecordError for one that holds no
  // document, EReviewerError for damaged reviewer lines.
  void PutAsciiData(std::string_view data);
  // Inserts the text's document before the first item (see
  // TDocumentRecord::InsertFromStream); raises as PutAsciiData.
  void InsertAsciiData(std::string_view data);
  // The same; then the caret goes after the last character of what was
  // item 0 of a one-item document, else item 1, now below the inserted
  // items. A document without items takes the insertion at its start and
  // keeps its caret.
  void InsertAsciiDataAtFirst(std::string_view data);

  // A seal picture for bmpID from run-length hexadecimal text of a bitmap
  // file. An id already held keeps its picture. Raises EConvertError for a
  // text that is not hexadecimal, EDocumentExchangeError for an id the
  // records cannot carry or bytes that are no bitmap.
  void PutBmp(const std::string& bmpID, std::string_view bmp);

  // Whether the document has annotations: loaded or drawn, not taken back.
  bool IsPostil() const;
  // Removes the annotations (the host's seal pictures stay) and repaints.
  void ClearPostil();

 private:
  void Insert(std::string_view data, bool atFirst);

  TDocumentRecord& record_;
};

}  // namespace quillet
