#include "app/dbus/afx_form_adaptor.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <cmath>
#include <stdexcept>
#include <string>

#include "app/dbus/bus_calls.h"
#include "app/dbus/bus_font.h"
#include "app/dbus/bus_names.h"
#include "app/dbus/bus_text.h"
#include "app/dbus/editor_interface.h"
#include "host/control/afx_form.h"

namespace quillet {
namespace {

std::string Text(const QVariant& value) { return BusTextToAnsi(value.toString()); }
QVariant Text(const std::string& ansi) { return AnsiToBusText(ansi); }
bool Bool(const QVariant& value) { return value.toBool(); }
int32_t Int(const QVariant& value) { return value.toInt(); }

TBusFont ToBus(const TFont& font) {
  TBusFont bus;
  bus.Name = AnsiToBusText(font.Name);
  const int32_t ppi = font.PixelsPerInch > 0 ? font.PixelsPerInch : 96;
  bus.Size = std::abs(font.Height) * 72.0 / ppi;
  bus.Height = font.Height;
  bus.Charset = font.Charset;
  bus.Bold = font.Style & fsBold;
  bus.Italic = font.Style & fsItalic;
  bus.Underline = font.Style & fsUnderline;
  bus.StrikeOut = font.Style & fsStrikeOut;
  return bus;
}

// The height wins; a height of 0 takes the size in points.
TFont FromBus(const TBusFont& bus, const TFont& current) {
  TFont font = current;
  font.Name = BusTextToAnsi(bus.Name);
  if (bus.Charset < 0 || bus.Charset > 255)
    throw std::invalid_argument("Font: character set " + std::to_string(bus.Charset) + " is not 0 to 255");
  font.Charset = static_cast<uint8_t>(bus.Charset);
  if (bus.Height != 0) {
    font.Height = bus.Height;
  } else {
    if (!(bus.Size > 0 && bus.Size < 10000)) throw std::invalid_argument("Font: neither a height nor a size");
    font.SetSize(static_cast<int32_t>(std::nearbyint(bus.Size)));
  }
  font.Style = static_cast<TFontStyles>((bus.Bold ? fsBold : 0) | (bus.Italic ? fsItalic : 0) |
                                        (bus.Underline ? fsUnderline : 0) | (bus.StrikeOut ? fsStrikeOut : 0));
  return font;
}

}  // namespace

TAfxFormBusObject::TAfxFormBusObject(TafxForm& control, QDBusConnection bus) : control_(control), bus_(std::move(bus)) {
  QString error;
  const auto parsed = ParseBusInterface(EditorIntrospectionXml(), QString(kBusInterfaceName), &error);
  if (!parsed) throw std::runtime_error(error.toStdString());
  interface_ = *parsed;
  BindMembers();
  BindEvents();
  // Every member the interface describes is bound, and nothing else.
  for (const TBusProperty& property : interface_.Properties)
    if (!properties_.contains(property.Name) || (property.Writable != bool(properties_[property.Name].Set)))
      throw std::logic_error("the property " + property.Name.toStdString() + " is not bound as described");
  for (const TBusMethod& method : interface_.Methods)
    if (!methods_.contains(method.Name)) throw std::logic_error("the method " + method.Name.toStdString() + " is not bound");
}

bool TAfxFormBusObject::Publish(QString* error) {
  if (!bus_.registerVirtualObject(kBusObjectPath, this)) {
    if (error) *error = QStringLiteral("the object %1 is taken: %2").arg(kBusObjectPath, bus_.lastError().message());
    return false;
  }
  if (!bus_.registerService(kBusServiceName)) {
    if (error) *error = QStringLiteral("the name %1 is taken: %2").arg(kBusServiceName, bus_.lastError().message());
    bus_.unregisterObject(kBusObjectPath);
    return false;
  }
  return true;
}

QString TAfxFormBusObject::introspect(const QString&) const { return EditorInterfaceXml(); }

bool TAfxFormBusObject::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
  // Introspection and peer calls are the bus library's.
  if (message.interface() == u"org.freedesktop.DBus.Introspectable" || message.interface() == u"org.freedesktop.DBus.Peer")
    return false;
  connection.send(Answer(message));
  return true;
}

QDBusMessage TAfxFormBusObject::Answer(const QDBusMessage& message) {
  QList<QVariant> results;
  const auto failure = RunBusMember(&gate_, [&] { results = Dispatch(message); });
  return failure ? BusErrorReply(message, *failure) : message.createReply(results);
}

QList<QVariant> TAfxFormBusObject::Dispatch(const QDBusMessage& message) {
  if (message.interface() == QLatin1String(kBusPropertiesInterface)) {
    const TBusPropertyStore store{
        [this](const TBusProperty& property) { return properties_[property.Name].Get(); },
        [this](const TBusProperty& property, const QVariant& value) { properties_[property.Name].Set(value); }};
    return AnswerBusPropertiesCall(message, interface_, store);
  }
  return methods_[CheckBusMethodCall(message, interface_).Name](message.arguments());
}

QList<QVariant> TAfxFormBusObject::Guarded(const std::function<void()>& operation) {
  TBusGate::TScope busy(gate_);
  operation();
  return {};
}

void TAfxFormBusObject::Emit(const char* name, const QList<QVariant>& args) {
  QDBusMessage signal = QDBusMessage::createSignal(kBusObjectPath, kBusInterfaceName, name);
  signal.setArguments(args);
  bus_.send(signal);
}

void TAfxFormBusObject::BindEvents() {
  TafxForm* c = &control_;
  for (auto [event, name] : {std::pair{&TafxForm::OnActivate, "OnActivate"}, {&TafxForm::OnClick, "OnClick"},
                             {&TafxForm::OnCreate, "OnCreate"}, {&TafxForm::OnDblClick, "OnDblClick"},
                             {&TafxForm::OnDestroy, "OnDestroy"}, {&TafxForm::OnDeactivate, "OnDeactivate"},
                             {&TafxForm::OnPaint, "OnPaint"}})
    QObject::connect(c, event, this, [this, name = name] { Emit(name); });
  // A key changed on the bus cannot come back: the host sees its value.
  QObject::connect(c, &TafxForm::OnKeyPress, this,
                   [this](int16_t& key) { Emit("OnKeyPress", {QVariant::fromValue(static_cast<short>(key))}); });
  QObject::connect(c, &TafxForm::OnDVEditorKeyDown, this, [this](int16_t& key, int32_t& shift) {
    Emit("OnDVEditorKeyDown", {QVariant::fromValue(static_cast<short>(key)), QVariant(shift)});
  });
}

void TAfxFormBusObject::BindMembers() {
  TafxForm& c = control_;
  const auto boolean = [&c](bool (TafxForm::*get)() const, void (TafxForm::*set)(bool)) {
    TProperty p{[&c, get] { return QVariant((c.*get)()); }, nullptr};
    if (set) p.Set = [&c, set](const QVariant& v) { (c.*set)(Bool(v)); };
    return p;
  };
  const auto integer = [&c](int32_t (TafxForm::*get)() const, void (TafxForm::*set)(int32_t)) {
    TProperty p{[&c, get] { return QVariant((c.*get)()); }, nullptr};
    if (set) p.Set = [&c, set](const QVariant& v) { (c.*set)(Int(v)); };
    return p;
  };
  const auto text = [&c](std::string (TafxForm::*get)() const, void (TafxForm::*set)(const std::string&)) {
    TProperty p{[&c, get] { return Text((c.*get)()); }, nullptr};
    if (set) p.Set = [&c, set](const QVariant& v) { (c.*set)(Text(v)); };
    return p;
  };

  properties_ = {
      {"Visible", boolean(&TafxForm::Visible, &TafxForm::SetVisible)},
      {"AutoScroll", boolean(&TafxForm::AutoScroll, &TafxForm::SetAutoScroll)},
      {"AutoSize", boolean(&TafxForm::AutoSize, &TafxForm::SetAutoSize)},
      {"AxBorderStyle", integer(&TafxForm::AxBorderStyle, &TafxForm::SetAxBorderStyle)},
      {"Caption", text(&TafxForm::Caption, &TafxForm::SetCaption)},
      {"Color",
       {[&c] { return QVariant(static_cast<int32_t>(c.Color())); }, [&c](const QVariant& v) { c.SetColor(Int(v)); }}},
      {"Font",
       {[&c] { return QVariant::fromValue(ToBus(c.Font())); },
        [&c](const QVariant& v) { c.SetFont(FromBus(qdbus_cast<TBusFont>(v.value<QDBusArgument>()), c.Font())); }}},
      {"KeyPreview", boolean(&TafxForm::KeyPreview, &TafxForm::SetKeyPreview)},
      {"PixelsPerInch", integer(&TafxForm::PixelsPerInch, &TafxForm::SetPixelsPerInch)},
      {"PrintScale", integer(&TafxForm::PrintScale, &TafxForm::SetPrintScale)},
      {"Scaled", boolean(&TafxForm::Scaled, &TafxForm::SetScaled)},
      {"Active", boolean(&TafxForm::Active, nullptr)},
      {"DropTarget", boolean(&TafxForm::DropTarget, &TafxForm::SetDropTarget)},
      {"HelpFile", text(&TafxForm::HelpFile, &TafxForm::SetHelpFile)},
      {"DoubleBuffered", boolean(&TafxForm::DoubleBuffered, &TafxForm::SetDoubleBuffered)},
      {"AlignDisabled", boolean(&TafxForm::AlignDisabled, nullptr)},
      {"VisibleDockClientCount", integer(&TafxForm::VisibleDockClientCount, nullptr)},
      {"Enabled", boolean(&TafxForm::Enabled, &TafxForm::SetEnabled)},
      {"Cursor",
       {[&c] { return QVariant::fromValue(static_cast<short>(c.Cursor())); },
        [&c](const QVariant& v) { c.SetCursor(static_cast<int16_t>(v.value<short>())); }}},
      {"HelpType", integer(&TafxForm::HelpType, &TafxForm::SetHelpType)},
      {"HelpKeyword", text(&TafxForm::HelpKeyword, &TafxForm::SetHelpKeyword)},
      {"ReadOnly", boolean(&TafxForm::ReadOnly, &TafxForm::SetReadOnly)},
      {"ComputerName", text(&TafxForm::ComputerName, &TafxForm::SetComputerName)},
      {"TableName", text(&TafxForm::TableName, &TafxForm::SetTableName)},
      {"FieldName", text(&TafxForm::FieldName, &TafxForm::SetFieldName)},
      {"IDName", text(&TafxForm::IDName, &TafxForm::SetIDName)},
      {"IDValue", text(&TafxForm::IDValue, &TafxForm::SetIDValue)},
      {"IsStartTrace", boolean(&TafxForm::IsStartTrace, &TafxForm::SetIsStartTrace)},
      {"AcceptChange", boolean(&TafxForm::AcceptChange, &TafxForm::SetAcceptChange)},
      {"Connected", boolean(&TafxForm::Connected, nullptr)},
      {"ServerName", text(&TafxForm::ServerName, &TafxForm::SetServerName)},
      {"UserName", text(&TafxForm::UserName, &TafxForm::SetUserName)},
      {"isPostil", boolean(&TafxForm::isPostil, nullptr)},
      {"BmpsID", text(&TafxForm::BmpsID, nullptr)},
  };

  using Args = const QList<QVariant>&;
  const auto none = [](std::function<void()> call) -> TMethod {
    return [call = std::move(call)](Args) {
      call();
      return QList<QVariant>{};
    };
  };
  methods_ = {
      {"LoadFromDB", [this, &c](Args) { return Guarded([&c] { c.LoadFromDB(); }); }},
      {"UpdateToDB", [this, &c](Args) { return Guarded([&c] { c.UpdateToDB(); }); }},
      {"StartTrace", none([&c] { c.StartTrace(); })},
      {"Connect", [&c](Args) { return QList<QVariant>{c.Connect()}; }},
      {"StartPostil", none([&c] { c.StartPostil(); })},
      {"GetAsciiData", [&c](Args) { return QList<QVariant>{Text(c.GetAsciiData())}; }},
      {"PutAsciiData", [&c](Args a) { c.PutAsciiData(Text(a[0])); return QList<QVariant>{}; }},
      {"PutBmp", [&c](Args a) { c.PutBmp(Text(a[0]), Text(a[1])); return QList<QVariant>{}; }},
      {"DVMenuControl", [&c](Args a) { c.DVMenuControl(Text(a[0]), Bool(a[1]), Bool(a[2])); return QList<QVariant>{}; }},
      {"AddTuZhang", [&c](Args a) { c.AddTuZhang(Text(a[0])); return QList<QVariant>{}; }},
      {"ClearPostil", none([&c] { c.ClearPostil(); })},
      {"GetTableContent",
       [&c](Args a) { return QList<QVariant>{Text(c.GetTableContent(Int(a[0]), Int(a[1]), Int(a[2])))}; }},
      {"InsertTableContent",
       [&c](Args a) { c.InsertTableContent(Text(a[0]), Int(a[1]), Int(a[2]), Int(a[3])); return QList<QVariant>{}; }},
      {"SetBorderSize", [&c](Args a) { c.SetBorderSize(Int(a[0]), Int(a[1])); return QList<QVariant>{}; }},
      {"ClearTableCell", [&c](Args a) { c.ClearTableCell(Int(a[0]), Int(a[1]), Int(a[2])); return QList<QVariant>{}; }},
      {"SetTableCellReadOnly",
       [&c](Args a) { c.SetTableCellReadOnly(Int(a[0]), Int(a[1]), Int(a[2])); return QList<QVariant>{}; }},
      {"CanPostil", [&c](Args a) { c.CanPostil(Bool(a[0])); return QList<QVariant>{}; }},
      {"StopTrace", none([&c] { c.StopTrace(); })},
      {"ExportToText", [&c](Args) { return QList<QVariant>{Text(c.ExportToText())}; }},
      {"ConnectToServer", [&c](Args) { return QList<QVariant>{c.ConnectToServer()}; }},
      {"InsertAsciiData", [&c](Args a) { c.InsertAsciiData(Text(a[0])); return QList<QVariant>{}; }},
      {"InsertAsciiDataAtFirst", [&c](Args a) { c.InsertAsciiDataAtFirst(Text(a[0])); return QList<QVariant>{}; }},
      {"StopPostil", none([&c] { c.StopPostil(); })},
  };
}

}  // namespace quillet
