#include "app/bus_program.h"

#include <QApplication>
#include <QDBusConnection>
#include <QSocketNotifier>
#include <QWidget>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>

#include "app/dbus/afx_form_adaptor.h"
#include "app/dbus/bus_font.h"
#include "app/dbus/bus_names.h"
#include "app/document_store.h"
#include "app/keyboard_filter.h"
#include "host/control/afx_form.h"
#include "host/form/main_form.h"

namespace quillet {
namespace {

// The signal handler may only write to a descriptor; the event loop reads
// the other end and ends the program there.
int gTermPipe[2] = {-1, -1};

void OnTerm(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(gTermPipe[1], &byte, 1);
  errno = saved;
}

bool CatchTerm() {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gTermPipe) != 0) return false;
  struct sigaction action {};
  action.sa_handler = OnTerm;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return ::sigaction(SIGTERM, &action, nullptr) == 0;
}

}  // namespace

int RunBusProgram() {
  RegisterBusTypes();
  if (!CatchTerm()) {
    std::perror("quillet: cannot catch SIGTERM");
    return 1;
  }
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    std::fprintf(stderr, "quillet: no session bus: %s\n", qPrintable(bus.lastError().message()));
    return 1;
  }

  TafxForm control;
  // The host may load, replace or save the document; the default record is
  // what it starts on.
  try {
    PrepareDefaultRecord(control.MainForm().DbDm());
    control.LoadFromDB();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quillet: the default record cannot be read: %s\n", e.what());
  }

  // The form's keyboard hook hears the keys of the control's window.
  const TKeyboardFilter keys(control.MainForm().KbHook(), control.Widget());

  TAfxFormBusObject object(control, bus);
  QString error;
  if (!object.Publish(&error)) {
    std::fprintf(stderr, "quillet: %s\n", qPrintable(error));
    return 1;
  }

  QSocketNotifier term(gTermPipe[0], QSocketNotifier::Read);
  QObject::connect(&term, &QSocketNotifier::activated, [] {
    char byte;
    [[maybe_unused]] const ssize_t n = ::read(gTermPipe[0], &byte, 1);
    // Straight out of the loop: no close event, so no question is asked.
    QCoreApplication::exit(0);
  });

  control.Widget()->show();
  const int code = QApplication::exec();
  bus.unregisterService(kBusServiceName);
  bus.unregisterObject(kBusObjectPath);
  return code;
}

}  // namespace quillet
