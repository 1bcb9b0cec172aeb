// Arbitrary bytes as a service's introspection answer, which quillet-bus
// reads to type its calls. Beyond not crashing: only a reason comes out of a
// refused document, and every signature it holds either splits into complete
// types that add up to it or is refused with the value parser's own error.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

#include "app/dbus/bus_introspection.h"
#include "app/dbus/bus_value.h"

using namespace quillet;

namespace {

void CheckSignature(const QString& signature) {
  try {
    const QStringList types = SplitBusSignature(signature);
    if (types.join(QString()) != signature) std::abort();
    for (const QString& type : types)
      if (BusWordCount(type) < 1) std::abort();
  } catch (const EBusValueError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  const QString xml = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QString error;
  const auto parsed = ParseBusInterface(xml, u"afxQuillet.Editor", &error);
  if (!parsed) {
    if (error.isEmpty()) std::abort();
    return 0;
  }
  for (const TBusMethod& method : parsed->Methods) {
    for (const TBusArg& arg : method.In) CheckSignature(arg.Signature);
    for (const TBusArg& arg : method.Out) CheckSignature(arg.Signature);
  }
  for (const TBusProperty& property : parsed->Properties) CheckSignature(property.Signature);
  for (const TBusSignal& signal : parsed->Signals)
    for (const TBusArg& arg : signal.Args) CheckSignature(arg.Signature);
  return 0;
}
