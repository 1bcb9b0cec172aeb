#pragma once
// The document as the host stores and exchanges it: the hexadecimal text of
// the compressed form of its DVF stream.
namespace quillet {

class TMemoryStream;

// The stream holds a DVF stream; afterwards it holds the hexadecimal text of
// its compressed form, positioned at its end (the caller rewinds). Errors of
// the compression propagate and leave the stream as it was.
void AfterSaveToStream2(TMemoryStream& stream);

// The stream holds the hexadecimal text of a compressed document; afterwards
// it holds exactly the document, positioned at 0. A character that is not a
// hexadecimal digit raises EConvertError; a text that is not a compressed
// document raises the compressed form's errors (EReadError,
// EDecompressionError). On any error the stream is left as it was.
void BeforeLoadFromStream2(TMemoryStream& stream);

}  // namespace quillet
