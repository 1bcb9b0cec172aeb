#pragma once
// Values of the bus typed from command-line words by their signature, and
// printed back as plain lines: what quillet-bus sends and shows.
//
// A basic value is one word: booleans true/false (or 1/0), integers in their
// type's range, numbers in C notation, texts as they are. A text word
// "@FILE" is the file's content (UTF-8), "@-" standard input, and "@@..."
// the text starting with one "@", so that long documents need not pass
// through the command line. A structure takes one word per field, in order.
#include <QStringList>
#include <QStringView>
#include <QVariant>
#include <functional>
#include <stdexcept>

namespace quillet {

class EBusValueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The complete types of a signature in order ("i(sd)b" gives "i", "(sd)",
// "b"); EBusValueError when it is malformed or holds a type that cannot be
// written as words (arrays, dictionaries, variants).
QStringList SplitBusSignature(QStringView signature);

// How many words a complete type takes.
qsizetype BusWordCount(QStringView type);

// Reads a file named by a "@FILE" word; "-" is standard input.
using TBusFileReader = std::function<QByteArray(const QString& path)>;

// The value of one complete type made from the words from *next on, which
// advances past them. A structure comes back as a QDBusArgument ready to be
// sent. EBusValueError names the word that does not fit.
QVariant ParseBusValue(QStringView type, const QStringList& words, qsizetype& next,
                       const TBusFileReader& readFile = {});

// One line per basic value: structures, arrays and variants are opened, in
// order. Booleans are true/false, numbers as short as they read back exactly.
QStringList FormatBusValue(const QVariant& value);

}  // namespace quillet
