#include "app/dbus/bus_value.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusVariant>
#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace quillet {
namespace {

constexpr QStringView kBasicTypes = u"ybnqiuxtdsog";

// The length of the complete type at the start of the signature.
qsizetype CompleteTypeLength(QStringView signature, int depth = 0) {
  if (signature.isEmpty()) throw EBusValueError("The signature ends inside a type");
  if (depth > 32) throw EBusValueError("The signature nests too deep");
  const QChar c = signature.front();
  if (kBasicTypes.contains(c)) return 1;
  if (c == u'(') {
    qsizetype length = 1;
    if (signature.size() > 1 && signature[1] == u')') throw EBusValueError("A structure has no fields");
    while (length < signature.size() && signature[length] != u')')
      length += CompleteTypeLength(signature.mid(length), depth + 1);
    if (length >= signature.size()) throw EBusValueError("A structure is not closed");
    return length + 1;
  }
  if (c == u'a' || c == u'v' || c == u'{' || c == u'h')
    throw EBusValueError("Values of type '" + QString(c).toStdString() + "' cannot be given as words");
  throw EBusValueError("Unknown type '" + QString(c).toStdString() + "' in the signature");
}

// The length of the complete type of any kind at the start, 0 when there is
// none: what the bus accepts as a signature, containers included.
qsizetype AnyTypeLength(QStringView signature, int depth) {
  if (signature.isEmpty() || depth > 64) return 0;
  const QChar c = signature.front();
  if (kBasicTypes.contains(c) || c == u'v' || c == u'h') return 1;
  if (c == u'a') {
    if (signature.size() > 1 && signature[1] == u'{') {
      // A dictionary entry: a basic key and one value.
      if (signature.size() < 5 || !(kBasicTypes.contains(signature[2]) || signature[2] == u'h')) return 0;
      const qsizetype value = AnyTypeLength(signature.mid(3), depth + 1);
      if (value == 0 || 3 + value >= signature.size() || signature[3 + value] != u'}') return 0;
      return 3 + value + 1;
    }
    const qsizetype element = AnyTypeLength(signature.mid(1), depth + 1);
    return element == 0 ? 0 : 1 + element;
  }
  if (c == u'(') {
    qsizetype length = 1;
    while (length < signature.size() && signature[length] != u')') {
      const qsizetype field = AnyTypeLength(signature.mid(length), depth + 1);
      if (field == 0) return 0;
      length += field;
    }
    if (length == 1 || length >= signature.size()) return 0;
    return length + 1;
  }
  return 0;
}

bool ValidSignature(QStringView signature) {
  for (qsizetype at = 0; at < signature.size();) {
    const qsizetype length = AnyTypeLength(signature.mid(at), 0);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

QStringList StructureFields(QStringView type) {
  return SplitBusSignature(type.mid(1, type.size() - 2));
}

[[noreturn]] void Refuse(const QString& word, const char* what) {
  throw EBusValueError("'" + word.toStdString() + "' is not " + what);
}

template <class T>
T ParseInteger(const QString& word, const char* what) {
  const QByteArray bytes = word.toLatin1();
  if (word.isEmpty() || word.trimmed() != word) Refuse(word, what);
  // Decimal, or hexadecimal after "0x" (colours read better so); a leading
  // zero does not make it octal.
  const bool hex = word.startsWith(u"0x", Qt::CaseInsensitive) || word.startsWith(u"-0x", Qt::CaseInsensitive);
  const int base = hex ? 16 : 10;
  char* end = nullptr;
  errno = 0;
  if constexpr (std::numeric_limits<T>::is_signed) {
    const long long value = std::strtoll(bytes.constData(), &end, base);
    if (errno || *end || value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
      Refuse(word, what);
    return static_cast<T>(value);
  } else {
    if (word.startsWith(u'-')) Refuse(word, what);
    const unsigned long long value = std::strtoull(bytes.constData(), &end, base);
    if (errno || *end || value > std::numeric_limits<T>::max()) Refuse(word, what);
    return static_cast<T>(value);
  }
}

bool ParseBool(const QString& word) {
  if (word == u"true" || word == u"1") return true;
  if (word == u"false" || word == u"0") return false;
  Refuse(word, "a boolean (true, false, 1 or 0)");
}

double ParseDouble(const QString& word) {
  bool ok = false;
  const double value = word.toDouble(&ok);  // C locale, whatever the user's
  if (!ok || !std::isfinite(value)) Refuse(word, "a number");
  return value;
}

QString ParseText(const QString& word, const TBusFileReader& readFile) {
  if (!word.startsWith(u'@')) return word;
  if (word.startsWith(u"@@")) return word.mid(1);
  if (!readFile) throw EBusValueError("Texts from files cannot be given here");
  const QByteArray bytes = readFile(word.mid(1));
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) throw EBusValueError("'" + word.mid(1).toStdString() + "' is not UTF-8 text");
  return text;
}

QVariant ParseBasic(QChar type, const QString& word, const TBusFileReader& readFile) {
  switch (type.unicode()) {
    case u'y': return QVariant::fromValue(ParseInteger<uchar>(word, "a byte (0 to 255)"));
    case u'b': return QVariant(ParseBool(word));
    case u'n': return QVariant::fromValue(ParseInteger<short>(word, "a 16-bit integer"));
    case u'q': return QVariant::fromValue(ParseInteger<ushort>(word, "an unsigned 16-bit integer"));
    case u'i': return QVariant(ParseInteger<int>(word, "a 32-bit integer"));
    case u'u': return QVariant(ParseInteger<uint>(word, "an unsigned 32-bit integer"));
    case u'x': return QVariant(ParseInteger<qlonglong>(word, "a 64-bit integer"));
    case u't': return QVariant(ParseInteger<qulonglong>(word, "an unsigned 64-bit integer"));
    case u'd': return QVariant(ParseDouble(word));
    case u's': return QVariant(ParseText(word, readFile));
    case u'o': {
      // "/" or elements of [A-Za-z0-9_] after single slashes: the bus library
      // would refuse to send anything else.
      static const QRegularExpression objectPath(QStringLiteral("^(/|(/[A-Za-z0-9_]+)+)$"));
      if (!objectPath.match(word).hasMatch()) Refuse(word, "an object path");
      return QVariant::fromValue(QDBusObjectPath(word));
    }
    case u'g': {
      if (word.size() > 255 || !ValidSignature(word)) Refuse(word, "a signature");
      return QVariant::fromValue(QDBusSignature(word));
    }
  }
  throw EBusValueError("Unknown type");
}

void AppendBasic(QDBusArgument& argument, const QVariant& value) {
  switch (value.metaType().id()) {
    case QMetaType::UChar: argument << value.value<uchar>(); break;
    case QMetaType::Bool: argument << value.toBool(); break;
    case QMetaType::Short: argument << value.value<short>(); break;
    case QMetaType::UShort: argument << value.value<ushort>(); break;
    case QMetaType::Int: argument << value.toInt(); break;
    case QMetaType::UInt: argument << value.toUInt(); break;
    case QMetaType::LongLong: argument << value.toLongLong(); break;
    case QMetaType::ULongLong: argument << value.toULongLong(); break;
    case QMetaType::Double: argument << value.toDouble(); break;
    case QMetaType::QString: argument << value.toString(); break;
    default:
      if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) argument << value.value<QDBusObjectPath>();
      else argument << value.value<QDBusSignature>();
  }
}

// The fields' values of a structure, nested ones included, in order. All
// words are read before a QDBusArgument is begun: one left with a structure
// open cannot be freed whole.
void ReadStructure(QStringView type, const QStringList& words, qsizetype& next, const TBusFileReader& readFile,
                   QList<QVariant>& fields) {
  for (const QString& field : StructureFields(type)) {
    if (field.front() == u'(') {
      ReadStructure(field, words, next, readFile, fields);
    } else {
      if (next >= words.size()) throw EBusValueError("Too few words for the structure " + type.toString().toStdString());
      fields << ParseBasic(field.front(), words[next++], readFile);
    }
  }
}

void AppendStructure(QDBusArgument& argument, QStringView type, const QList<QVariant>& fields, qsizetype& next) {
  argument.beginStructure();
  for (const QString& field : StructureFields(type)) {
    if (field.front() == u'(') AppendStructure(argument, field, fields, next);
    else AppendBasic(argument, fields[next++]);
  }
  argument.endStructure();
}

QString FormatBasic(const QVariant& value) {
  switch (value.metaType().id()) {
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::Double: return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::UChar: return QString::number(value.value<uchar>());
  }
  if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) return value.value<QDBusObjectPath>().path();
  if (value.metaType() == QMetaType::fromType<QDBusSignature>()) return value.value<QDBusSignature>().signature();
  return value.toString();
}

void FormatArgument(const QDBusArgument& argument, QStringList& lines);

void FormatInto(const QVariant& value, QStringList& lines) {
  if (value.metaType() == QMetaType::fromType<QDBusVariant>()) {
    FormatInto(value.value<QDBusVariant>().variant(), lines);
  } else if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
    FormatArgument(value.value<QDBusArgument>(), lines);
  } else if (value.metaType() == QMetaType::fromType<QStringList>()) {
    lines += value.toStringList();
  } else if (value.metaType() == QMetaType::fromType<QByteArray>()) {
    for (const char byte : value.toByteArray()) lines << QString::number(static_cast<uchar>(byte));
  } else {
    lines << FormatBasic(value);
  }
}

void FormatArgument(const QDBusArgument& argument, QStringList& lines) {
  switch (argument.currentType()) {
    case QDBusArgument::StructureType:
      argument.beginStructure();
      while (!argument.atEnd()) FormatArgument(argument, lines);
      argument.endStructure();
      break;
    case QDBusArgument::ArrayType:
      argument.beginArray();
      while (!argument.atEnd()) FormatArgument(argument, lines);
      argument.endArray();
      break;
    case QDBusArgument::MapType:
      argument.beginMap();
      while (!argument.atEnd()) {
        argument.beginMapEntry();
        FormatArgument(argument, lines);
        FormatArgument(argument, lines);
        argument.endMapEntry();
      }
      argument.endMap();
      break;
    default:
      FormatInto(argument.asVariant(), lines);
  }
}

}  // namespace

QStringList SplitBusSignature(QStringView signature) {
  QStringList types;
  qsizetype at = 0;
  while (at < signature.size()) {
    const qsizetype length = CompleteTypeLength(signature.mid(at));
    types << signature.mid(at, length).toString();
    at += length;
  }
  return types;
}

qsizetype BusWordCount(QStringView type) {
  if (type.isEmpty() || type.front() != u'(') return 1;
  qsizetype count = 0;
  for (const QString& field : StructureFields(type)) count += BusWordCount(field);
  return count;
}

QVariant ParseBusValue(QStringView type, const QStringList& words, qsizetype& next, const TBusFileReader& readFile) {
  const QStringList types = SplitBusSignature(type);
  if (types.size() != 1) throw EBusValueError("'" + type.toString().toStdString() + "' is not one complete type");
  if (type.front() == u'(') {
    QList<QVariant> fields;
    ReadStructure(type, words, next, readFile, fields);
    QDBusArgument argument;
    qsizetype field = 0;
    AppendStructure(argument, type, fields, field);
    return QVariant::fromValue(argument);
  }
  if (next >= words.size()) throw EBusValueError("A value is missing");
  return ParseBasic(type.front(), words[next++], readFile);
}

QStringList FormatBusValue(const QVariant& value) {
  QStringList lines;
  FormatInto(value, lines);
  return lines;
}

}  // namespace quillet
