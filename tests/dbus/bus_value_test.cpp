// Command-line words typed by a signature, and values printed back.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusVariant>

#include "app/dbus/bus_value.h"

namespace quillet {
namespace {

QVariant Parse(const QString& type, const QStringList& words, qsizetype* used = nullptr,
               const TBusFileReader& readFile = {}) {
  qsizetype next = 0;
  QVariant value = ParseBusValue(type, words, next, readFile);
  if (used) *used = next;
  return value;
}

// The message of the error parsing raises, empty when it raises none.
std::string ParseError(const QString& type, const QStringList& words, const TBusFileReader& readFile = {}) {
  try {
    Parse(type, words, nullptr, readFile);
  } catch (const EBusValueError& e) {
    return e.what();
  }
  return {};
}

TEST(BusValue, SignaturesSplitIntoCompleteTypes) {
  EXPECT_EQ(SplitBusSignature(u"i(sd)b"), QStringList({"i", "(sd)", "b"}));
  EXPECT_EQ(SplitBusSignature(u"(sdiibbbb)"), QStringList({"(sdiibbbb)"}));
  EXPECT_EQ(SplitBusSignature(u"(s(ib))n"), QStringList({"(s(ib))", "n"}));
  EXPECT_EQ(SplitBusSignature(u""), QStringList());
  EXPECT_EQ(BusWordCount(u"(sdiibbbb)"), 8);
  EXPECT_EQ(BusWordCount(u"(s(ib))"), 3);
  EXPECT_EQ(BusWordCount(u"s"), 1);
  for (const char* bad : {"as", "v", "a{sv}", "(s", "()", "z", "(si"}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(SplitBusSignature(QString::fromLatin1(bad)), EBusValueError);
  }
}

TEST(BusValue, BasicWordsTakeTheirTypesValues) {
  const struct {
    const char* type;
    QString word;
    QVariant value;
  } rows[] = {
      {"b", "true", true},
      {"b", "0", false},
      {"y", "255", QVariant::fromValue(uchar{255})},
      {"n", "-32768", QVariant::fromValue(short{-32768})},
      {"q", "65535", QVariant::fromValue(ushort{65535})},
      {"i", "-22", -22},
      {"i", "010", 10},  // a leading zero is no octal
      {"i", "0x0000FF", 255},
      {"i", "-0x80000000", std::numeric_limits<int>::min()},
      {"u", "4294967295", 4294967295u},
      {"x", "-9223372036854775808", std::numeric_limits<qlonglong>::min()},
      {"t", "18446744073709551615", std::numeric_limits<qulonglong>::max()},
      {"d", "10.5", 10.5},
      {"s", QStringLiteral("宋体"), QStringLiteral("宋体")},
      {"s", "", QString()},
      {"s", "@@mention", "@mention"},
      {"o", "/afxForm", QVariant::fromValue(QDBusObjectPath("/afxForm"))},
      {"o", "/", QVariant::fromValue(QDBusObjectPath("/"))},
      {"g", "(sdiibbbb)", QVariant::fromValue(QDBusSignature("(sdiibbbb)"))},
      {"g", "a{sv}as", QVariant::fromValue(QDBusSignature("a{sv}as"))},
      {"g", "", QVariant::fromValue(QDBusSignature(""))},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.type) + " " + row.word.toStdString());
    qsizetype used = 0;
    const QVariant value = Parse(QString::fromLatin1(row.type), {row.word}, &used);
    EXPECT_EQ(value.metaType(), row.value.metaType());
    EXPECT_EQ(value, row.value);
    EXPECT_EQ(used, 1);
  }
}

TEST(BusValue, WordsOutsideTheirTypeAreRefused) {
  const struct {
    const char* type;
    const char* word;
  } rows[] = {
      {"b", "yes"},   {"b", "-1"},          {"y", "256"},         {"n", "32768"},       {"n", "-32769"},
      {"q", "-1"},    {"i", "2147483648"},  {"i", "12abc"},       {"i", " 5"},          {"i", ""},
      {"u", "-0"},    {"t", "18446744073709551616"}, {"d", "abc"}, {"d", "1e999"},     {"d", "nan"},
      {"o", "afxForm"}, {"o", "/afx//Form"}, {"o", "/afxForm/"}, {"o", "/afx-Form"}, {"g", "(s"}, {"g", "z"},
      {"g", "()"},    {"g", "a"},           {"g", "a{vs}"},       {"g", "a{s}"},        {"g", "{sv}"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.type) + " '" + row.word + "'");
    EXPECT_NE(ParseError(QString::fromLatin1(row.type), {QString::fromLatin1(row.word)}), "");
  }
  EXPECT_EQ(ParseError("i", {}), "A value is missing");
}

TEST(BusValue, TextsComeFromFilesWhenAsked) {
  QStringList asked;
  const TBusFileReader reader = [&](const QString& path) {
    asked << path;
    if (path == u"bad") return QByteArray("\xFF\xFE");
    return QByteArray("中文 document");
  };
  EXPECT_EQ(Parse("s", {"@doc.hex"}, nullptr, reader), QStringLiteral("中文 document"));
  EXPECT_EQ(Parse("s", {"@-"}, nullptr, reader), QStringLiteral("中文 document"));
  EXPECT_EQ(asked, QStringList({"doc.hex", "-"}));
  EXPECT_EQ(ParseError("s", {"@bad"}, reader), "'bad' is not UTF-8 text");
  // Without a reader a file is not read behind the caller's back.
  EXPECT_NE(ParseError("s", {"@doc.hex"}), "");
}

TEST(BusValue, AStructureTakesOneWordPerField) {
  const QStringList words{QStringLiteral("宋体"), "10.5", "-14", "134", "true", "false", "1", "0", "extra"};
  qsizetype used = 0;
  const QVariant font = Parse("(sdiibbbb)", words, &used);
  ASSERT_EQ(font.metaType(), QMetaType::fromType<QDBusArgument>());
  EXPECT_EQ(font.value<QDBusArgument>().currentSignature(), "(sdiibbbb)");
  EXPECT_EQ(used, 8);
  EXPECT_NE(ParseError("(sdiibbbb)", words.mid(0, 7)), "");
  EXPECT_NE(ParseError("(sdiibbbb)", {"宋体", "big", "-14", "134", "true", "false", "1", "0"}), "");
}

TEST(BusValue, ValuesPrintOneLineEach) {
  const struct {
    QVariant value;
    QStringList lines;
  } rows[] = {
      {true, {"true"}},
      {QVariant::fromValue(short{-22}), {"-22"}},
      {QVariant::fromValue(uchar{200}), {"200"}},
      {10.5, {"10.5"}},
      {0.1, {"0.1"}},
      {QStringLiteral("表1"), {QStringLiteral("表1")}},
      {QString(), {""}},
      {QVariant::fromValue(QDBusVariant(QVariant(-14))), {"-14"}},
      {QStringList{"a", "b"}, {"a", "b"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value.toString().toStdString());
    EXPECT_EQ(FormatBusValue(row.value), row.lines);
  }
}

}  // namespace
}  // namespace quillet
