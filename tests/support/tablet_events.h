#pragma once
// Pen tablet events as the toolkit delivers them: packets to the widget
// under the pen, proximity to the application object.
#include <QApplication>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QWidget>
#include <memory>

namespace quillet::test {

inline std::unique_ptr<QPointingDevice> TabletTool(qint64 deviceId,
                                                   QPointingDevice::PointerType pointer = QPointingDevice::PointerType::Pen,
                                                   const QString& name = "Test tablet") {
  return std::make_unique<QPointingDevice>(
      name, deviceId, QInputDevice::DeviceType::Stylus, pointer,
      QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 2);
}

// A press, move or release at pos in widget's coordinates, the pen's tip
// held down except on release; answers whether the widget accepted it.
inline bool SendTabletPacket(QWidget* widget, QEvent::Type type, const QPointingDevice& tool, QPointF pos,
                             qreal pressure) {
  const Qt::MouseButton button = type == QEvent::TabletMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = type == QEvent::TabletRelease ? Qt::NoButton : Qt::LeftButton;
  QTabletEvent e(type, &tool, pos, widget->mapToGlobal(pos), pressure, 0, 0, 0, 0, 0, Qt::NoModifier, button, held);
  e.setAccepted(true);
  QApplication::sendEvent(widget, &e);
  return e.isAccepted();
}

inline void SendTabletProximity(bool entering, const QPointingDevice& tool) {
  QTabletEvent e(entering ? QEvent::TabletEnterProximity : QEvent::TabletLeaveProximity, &tool, QPointF(), QPointF(),
                 0, 0, 0, 0, 0, 0, Qt::NoModifier, Qt::NoButton, Qt::NoButton);
  QApplication::sendEvent(QApplication::instance(), &e);
}

}  // namespace quillet::test
