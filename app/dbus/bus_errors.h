#pragma once
// How a member's failure reaches the caller: an error reply carrying an error
// name of ours and the error's message. Every member runs through
// RunBusMember, so no exception leaves it and a call made while the control
// loads or saves is refused instead of running inside that operation.
#include <QDBusContext>
#include <QDBusMessage>
#include <QString>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace quillet {

struct TBusFailure {
  QString Name;
  QString Message;
};

// A failure that has a name of its own; any other exception is reported as
// kBusErrorFailed with its message.
class EBusError : public std::runtime_error {
 public:
  EBusError(const char* name, const QString& message);
  const QString& Name() const { return name_; }
  const QString& Message() const { return message_; }

 private:
  QString name_;
  QString message_;
};

// An exception's message as the caller reads it: the project's messages are
// UTF-8; a message that is not (it carries document text) is in the system
// code page.
QString BusMessageText(std::string_view message);

// The failure an exception stands for.
TBusFailure BusFailureOf(const std::exception_ptr& error);

QDBusMessage BusErrorReply(const QDBusMessage& call, const TBusFailure& failure);
// Answers the call being delivered to an adaptor with the failure.
void SendBusError(const QDBusContext& context, const TBusFailure& failure);

// Held while a database load or save runs: they keep the event loop turning
// while the server works, so calls arrive in the middle of them.
class TBusGate {
 public:
  bool Busy() const { return depth_ > 0; }
  static TBusFailure BusyFailure();

  class TScope {
   public:
    explicit TScope(TBusGate& gate) : gate_(gate) { ++gate_.depth_; }
    ~TScope() { --gate_.depth_; }
    TScope(const TScope&) = delete;
    TScope& operator=(const TScope&) = delete;

   private:
    TBusGate& gate_;
  };

 private:
  int depth_ = 0;
};

// Runs one member: refused while the gate (when given) is held; an exception
// ends the member and becomes the failure returned. Nothing is returned when
// the member succeeded.
template <class Fn>
std::optional<TBusFailure> RunBusMember(const TBusGate* gate, Fn&& member) {
  if (gate && gate->Busy()) return TBusGate::BusyFailure();
  try {
    std::forward<Fn>(member)();
    return std::nullopt;
  } catch (...) {
    return BusFailureOf(std::current_exception());
  }
}

// The same for an adaptor's member that returns a value: on failure the call
// is answered with the error reply and the value returned is discarded.
template <class T, class Fn>
T CallBusMember(const QDBusContext& context, const TBusGate* gate, Fn&& member) {
  T result{};
  if (auto failure = RunBusMember(gate, [&] { result = std::forward<Fn>(member)(); })) {
    SendBusError(context, *failure);
    return T{};
  }
  return result;
}

}  // namespace quillet
