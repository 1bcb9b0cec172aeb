// Texts crossing the bus: counted in the bus's bytes, refused whole rather
// than cut, and kept in the system code page without "?" standing in.
#include <gtest/gtest.h>

#include "app/dbus/bus_errors.h"
#include "app/dbus/bus_names.h"
#include "app/dbus/bus_text.h"

namespace quillet {
namespace {

// The error name a call raises, empty when it raises none.
template <class Fn>
QString ErrorNameOf(Fn&& fn, QString* message = nullptr) {
  try {
    fn();
  } catch (const EBusError& e) {
    if (message) *message = e.Message();
    return e.Name();
  }
  return {};
}

TEST(BusText, Utf8LengthCountsTheBytesTheBusCarries) {
  const struct {
    QString text;
    qint64 bytes;
  } rows[] = {
      {"", 0},
      {"abc", 3},
      {QStringLiteral("é"), 2},
      {QStringLiteral("中文"), 6},
      {QStringLiteral("a😀"), 5},  // a pair of surrogates is one 4-byte character
      {QString(QChar(0xD800)), 3},  // a lone surrogate goes as U+FFFD
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text.toStdString());
    EXPECT_EQ(Utf8Length(row.text), row.bytes);
    if (!row.text.isEmpty() && !row.text.front().isSurrogate()) {
      EXPECT_EQ(Utf8Length(row.text), row.text.toUtf8().size());
    }
  }
}

TEST(BusText, ATextBeyondTheLimitIsRefusedByItsUtf8Length) {
  const QString too = QString::fromLatin1(kBusErrorTooLarge), failed = QString::fromLatin1(kBusErrorFailed);
  const struct {
    QString text;
    qint64 limit;
    QString error;
  } rows[] = {
      {QStringLiteral("中文"), 6, {}},
      {QStringLiteral("中文a"), 6, too},  // 5 units but 7 bytes
      {QString(7, u'x'), 6, too},
      {QString(6, u'x'), 6, {}},
      {QString::fromUtf16(u"ab\0cd", 5), 100, failed},  // the bus library would end the text at the NUL
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text.toStdString());
    EXPECT_EQ(ErrorNameOf([&] { CheckBusText(row.text, row.limit); }), row.error);
    const QByteArray utf8 = row.text.toUtf8();
    EXPECT_EQ(ErrorNameOf([&] { CheckBusText(std::string_view(utf8.constData(), utf8.size()), row.limit); }),
              row.error);
  }
  QString message;
  ErrorNameOf([] { CheckBusText(QString(7, u'x'), 6); }, &message);
  EXPECT_EQ(message, "The text is 7 bytes long, beyond the 6 bytes a bus message carries");
}

TEST(BusText, TheLimitLeavesRoomForTheMessageHeader) {
  EXPECT_EQ(kBusMessageLimit, 134217728);
  EXPECT_LT(kBusTextLimit, kBusMessageLimit);
  EXPECT_GE(kBusMessageLimit - kBusTextLimit, 4096);
}

TEST(BusText, ControlTextComesOutOfTheCodePageWhole) {
  // "中文" in code page 936, a byte that is no character, and plain ASCII.
  EXPECT_EQ(AnsiToBusText("\xD6\xD0\xCE\xC4"), QStringLiteral("中文"));
  EXPECT_EQ(AnsiToBusText("a\xFF"), QStringLiteral("a\uFFFD"));
  EXPECT_EQ(AnsiToBusText("0A1B"), QStringLiteral("0A1B"));
  // Four bytes in the code page are six on the bus.
  EXPECT_EQ(ErrorNameOf([] { AnsiToBusText("\xD6\xD0\xCE\xC4", 5); }), QString::fromLatin1(kBusErrorTooLarge));
  EXPECT_EQ(ErrorNameOf([] { AnsiToBusText(std::string_view("a\0b", 3)); }), QString::fromLatin1(kBusErrorFailed));
}

TEST(BusText, BusTextGoesIntoTheCodePageOrIsRefused) {
  EXPECT_EQ(BusTextToAnsi(QStringLiteral("张三")), "\xD5\xC5\xC8\xFD");
  EXPECT_EQ(BusTextToAnsi(QStringLiteral("a?b")), "a?b");  // a question mark of its own is no loss
  const struct {
    QString text;
    const char* named;
  } refused[] = {
      {QStringLiteral("张😀"), "U+1F600"},
      {QStringLiteral("ab\u0E01"), "U+0E01"},
  };
  for (const auto& row : refused) {
    SCOPED_TRACE(row.named);
    QString message;
    EXPECT_EQ(ErrorNameOf([&] { BusTextToAnsi(row.text); }, &message), QString::fromLatin1(kBusErrorFailed));
    EXPECT_TRUE(message.contains(QString::fromLatin1(row.named))) << message.toStdString();
    EXPECT_TRUE(message.contains(u"936")) << message.toStdString();
  }
}

}  // namespace
}  // namespace quillet
