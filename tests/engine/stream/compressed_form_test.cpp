#include "engine/stream/compressed_form.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "platform/core/stream.h"

namespace quillet {
namespace {

std::vector<uint8_t> ToBytes(std::string_view s) { return {s.begin(), s.end()}; }

// A DVF-like stream with repetition, so the zlib stream is much smaller.
std::string SampleDocument(size_t lines) {
  std::string s = "-8 1 2\r\n";
  for (size_t i = 0; i < lines; ++i) s += "0 0 0 0 0 0\r\n\xD6\xD0\xCE\xC4 line " + std::to_string(i) + "\r\n";
  return s;
}

// The compressed form with a length field of our choosing.
std::vector<uint8_t> Form(int32_t length, std::string_view document, std::string_view trailer = {}) {
  uLongf size = compressBound(static_cast<uLong>(document.size()));
  std::vector<uint8_t> z(size);
  EXPECT_EQ(compress(z.data(), &size, reinterpret_cast<const Bytef*>(document.data()), document.size()), Z_OK);
  z.resize(size);
  TMemoryStream out;
  WriteI32(out, length);
  out.WriteBuffer(z.data(), static_cast<int64_t>(z.size()));
  out.WriteString(std::string(trailer));
  return out.Bytes();
}

std::vector<uint8_t> Compressed(std::string_view document, TCompressionLevel level = TCompressionLevel::clDefault) {
  TMemoryStream stream(ToBytes(document));
  CompressDVF(stream, level);
  EXPECT_EQ(stream.GetPosition(), stream.GetSize());
  return stream.Bytes();
}

TEST(CompressedFormTest, RoundTripsAtEveryLevel) {
  const std::string documents[] = {"", "x", SampleDocument(2000), std::string(3'000'000, '\0')};
  for (const std::string& doc : documents) {
    for (auto level : {TCompressionLevel::clNone, TCompressionLevel::clFastest, TCompressionLevel::clDefault,
                       TCompressionLevel::clMax}) {
      SCOPED_TRACE(std::to_string(doc.size()) + " bytes, level " + std::to_string(static_cast<int>(level)));
      const std::vector<uint8_t> form = Compressed(doc, level);
      ASSERT_GE(form.size(), 4u);
      TMemoryStream head(form);
      EXPECT_EQ(ReadI32(head), static_cast<int32_t>(doc.size()));  // little-endian length first

      TMemoryStream source(form), dest;
      UnCompressDVF(source, dest);
      EXPECT_EQ(dest.AsString(), doc);
    }
  }
  // The default level is zlib's own default, not a fixed level of ours.
  const std::string doc = SampleDocument(500);
  EXPECT_EQ(Compressed(doc), Form(static_cast<int32_t>(doc.size()), doc));
}

TEST(CompressedFormTest, AppendsAtTheDestinationsPosition) {
  // Written at the position, over what was there.
  TMemoryStream source(Compressed("DOC")), dest(ToBytes("head-xx"));
  dest.SetPosition(5);
  UnCompressDVF(source, dest);
  EXPECT_EQ(dest.AsString(), "head-DOC");
  EXPECT_EQ(dest.GetPosition(), 8);

  // Uncompressing starts at the source's position, not at its start.
  std::vector<uint8_t> prefixed = ToBytes("junk");
  const std::vector<uint8_t> form = Compressed("second");
  prefixed.insert(prefixed.end(), form.begin(), form.end());
  TMemoryStream at4(prefixed), out;
  at4.SetPosition(4);
  UnCompressDVF(at4, out);
  EXPECT_EQ(out.AsString(), "second");
}

// Every bad form fails with its own error and leaves the destination as it was.
TEST(CompressedFormTest, RefusesBadFormsAndLeavesDestinationAlone) {
  const std::string doc = SampleDocument(300);
  const auto n = static_cast<int32_t>(doc.size());
  const std::vector<uint8_t> good = Form(n, doc);

  std::vector<uint8_t> badAdler = good;
  badAdler.back() ^= 0x01;
  std::vector<uint8_t> badData = good;
  badData[good.size() / 2] ^= 0xFF;
  const std::vector<uint8_t> truncated(good.begin(), good.end() - 10);
  const std::vector<uint8_t> noTrailer(good.begin(), good.end() - 4);  // the Adler-32 check missing

  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool readError;  // EReadError rather than EDecompressionError
  };
  const Case cases[] = {
      {"empty source", {}, true},
      {"short length field", {1, 0, 0}, true},
      {"length only", {0, 0, 0, 0}, false},
      {"length too large", Form(n + 1, doc), false},
      {"length too small", Form(n - 1, doc), false},
      {"length zero for a document", Form(0, doc), false},
      {"negative length", Form(-1, doc), false},
      {"most negative length", Form(INT32_MIN, doc), false},
      {"length beyond any plausible ratio", Form(INT32_MAX, doc), false},
      {"length beyond 1 GiB", Form((1 << 30) + 1, std::string(2'000'000, 'a')), false},
      {"truncated zlib stream", truncated, false},
      {"missing check value", noTrailer, false},
      {"corrupted Adler-32", badAdler, false},
      {"corrupted deflate data", badData, false},
      {"trailing garbage", Form(n, doc, "garbage"), false},
      {"one trailing byte", Form(n, doc, std::string(1, '\0')), false},
      {"a second zlib stream after the first", Form(n, doc, std::string(good.begin() + 4, good.end())), false},
      {"not zlib at all", ToBytes(std::string_view("\x05\0\0\0hello", 9)), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMemoryStream source(c.bytes), dest(ToBytes("keep"));
    dest.SetPosition(2);
    if (c.readError)
      EXPECT_THROW(UnCompressDVF(source, dest), EReadError);
    else
      EXPECT_THROW(UnCompressDVF(source, dest), EDecompressionError);
    EXPECT_EQ(dest.AsString(), "keep");
    EXPECT_EQ(dest.GetPosition(), 2);
  }
}

// An implausible length is refused from the length field alone: no zlib byte
// is read, so nothing was allocated for it either.
TEST(CompressedFormTest, ImplausibleLengthsAreRefusedBeforeInflating) {
  const std::string doc = SampleDocument(50);  // compresses to well under 1 KiB
  for (int32_t length : {-1, INT32_MIN, (1 << 30) + 1, 100'000'000, 2'000'000}) {
    SCOPED_TRACE(length);
    TMemoryStream source(Form(length, doc)), dest;
    EXPECT_THROW(UnCompressDVF(source, dest), EDecompressionError);
    EXPECT_EQ(source.GetPosition(), 4);
  }
}

TEST(CompressedFormTest, HighlyCompressibleDocumentsPassTheRatioCheck) {
  // Long runs compress about 1000:1, the most deflate can do.
  const std::string zeros(20'000'000, '\0');
  for (auto level : {TCompressionLevel::clDefault, TCompressionLevel::clMax}) {
    TMemoryStream source(Compressed(zeros, level)), dest;
    UnCompressDVF(source, dest);
    EXPECT_EQ(dest.GetSize(), static_cast<int64_t>(zeros.size()));
  }
}

TEST(CompressedFormTest, RefusesToCompressBeyondTheLimit) {
  TMemoryStream stream;
  stream.SetSize(kMaxCompressedDocumentSize + 1);
  stream.SetPosition(7);
  EXPECT_THROW(CompressDVF(stream, TCompressionLevel::clFastest), ECompressionError);
  EXPECT_EQ(stream.GetSize(), kMaxCompressedDocumentSize + 1);
  EXPECT_EQ(stream.GetPosition(), 7);
}

}  // namespace
}  // namespace quillet
