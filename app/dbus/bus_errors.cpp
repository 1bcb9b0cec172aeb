#include "app/dbus/bus_errors.h"

#include <QStringDecoder>

#include "app/dbus/bus_names.h"
#include "platform/core/code_page.h"

namespace quillet {

EBusError::EBusError(const char* name, const QString& message)
    : std::runtime_error(message.toStdString()), name_(QString::fromLatin1(name)), message_(message) {}

QString BusMessageText(std::string_view message) {
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString text = utf8.decode(QByteArrayView(message.data(), static_cast<qsizetype>(message.size())));
  if (!utf8.hasError()) return text;
  const std::u16string wide = MultiByteToWideChar(CP_ACP, message);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

TBusFailure BusFailureOf(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const EBusError& e) {
    return {e.Name(), e.Message()};
  } catch (const std::exception& e) {
    return {QString::fromLatin1(kBusErrorFailed), BusMessageText(e.what())};
  } catch (...) {
    return {QString::fromLatin1(kBusErrorFailed), QStringLiteral("Unknown error")};
  }
}

QDBusMessage BusErrorReply(const QDBusMessage& call, const TBusFailure& failure) {
  return call.createErrorReply(failure.Name, failure.Message);
}

void SendBusError(const QDBusContext& context, const TBusFailure& failure) {
  context.sendErrorReply(failure.Name, failure.Message);
}

TBusFailure TBusGate::BusyFailure() {
  return {QString::fromLatin1(kBusErrorBusy),
          QStringLiteral("The control is busy loading or saving its document; call again when it is done")};
}

}  // namespace quillet
