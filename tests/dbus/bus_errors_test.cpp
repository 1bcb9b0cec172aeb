// Failures reach the caller as error replies with our names and the error's
// own message, and nothing runs while a database load or save holds the gate.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/dbus/bus_errors.h"
#include "app/dbus/bus_names.h"
#include "platform/core/code_page.h"

namespace quillet {
namespace {

TEST(BusErrors, AnExceptionBecomesTheFailureItStandsFor) {
  const QString failed = QString::fromLatin1(kBusErrorFailed);
  const struct {
    const char* what;
    std::exception_ptr error;
    QString name;
    QString message;
  } rows[] = {
      {"one of ours", std::make_exception_ptr(EBusError(kBusErrorTooLarge, "too long")),
       QString::fromLatin1(kBusErrorTooLarge), "too long"},
      {"UTF-8 message", std::make_exception_ptr(std::runtime_error("该字段值为空")), failed,
       QStringLiteral("该字段值为空")},
      // A message carrying document text in the code page is read in it.
      {"code page message", std::make_exception_ptr(std::runtime_error(Utf8ToAnsi("无法连接服务器"))), failed,
       QStringLiteral("无法连接服务器")},
      {"no message", std::make_exception_ptr(42), failed, "Unknown error"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const TBusFailure failure = BusFailureOf(row.error);
    EXPECT_EQ(failure.Name, row.name);
    EXPECT_EQ(failure.Message, row.message);
  }
}

TEST(BusErrors, AMemberRunsUnlessTheGateIsHeld) {
  TBusGate gate;
  int runs = 0;
  EXPECT_FALSE(RunBusMember(&gate, [&] { ++runs; }));
  EXPECT_EQ(runs, 1);
  {
    TBusGate::TScope loading(gate);
    const auto refused = RunBusMember(&gate, [&] { ++runs; });
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Name, QString::fromLatin1(kBusErrorBusy));
    EXPECT_EQ(runs, 1);
    // Without a gate nothing is refused.
    EXPECT_FALSE(RunBusMember(nullptr, [&] { ++runs; }));
  }
  EXPECT_FALSE(gate.Busy());
}

TEST(BusErrors, AFailingLoadReleasesTheGate) {
  TBusGate gate;
  const auto failure = RunBusMember(&gate, [&] {
    TBusGate::TScope loading(gate);
    EXPECT_TRUE(RunBusMember(&gate, [] {}));  // a call arriving meanwhile is refused
    throw std::runtime_error("该字段值为空");
  });
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->Message, QStringLiteral("该字段值为空"));
  EXPECT_FALSE(gate.Busy());
  EXPECT_FALSE(RunBusMember(&gate, [] {}));
}

TEST(BusErrors, TheErrorReplyAnswersTheCall) {
  QDBusMessage call = QDBusMessage::createMethodCall(kBusServiceName, kBusObjectPath, kBusInterfaceName, "LoadFromDB");
  const QDBusMessage reply = BusErrorReply(call, {QString::fromLatin1(kBusErrorBusy), "busy"});
  EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
  EXPECT_EQ(reply.errorName(), QString::fromLatin1(kBusErrorBusy));
  EXPECT_EQ(reply.errorMessage(), "busy");
}

}  // namespace
}  // namespace quillet
