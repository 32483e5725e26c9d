#pragma once
#include <QByteArray>

namespace tess {

// Just enough of the D-Bus wire protocol to ask a bus one question with a
// time limit of the game's own, before Qt asks it without one: a method call
// with no arguments, and the replies read back. Little-endian, as the
// machines the game runs on are.
namespace dbus_wire {

// A method call with no arguments.
QByteArray methodCall(quint32 serial, const QByteArray &destination, const QByteArray &path,
                      const QByteArray &interface, const QByteArray &member);

struct Message {
    int type = 0;  // 2 a method's return, 3 an error, 4 a signal
    quint32 replySerial = 0;
    QByteArray firstString;  // of a return whose body starts with one
};

enum class Take { Message, NeedMore, Garbage };
// Takes the first whole message off the front of `buffer`.
Take takeMessage(QByteArray &buffer, Message &message);

} // namespace dbus_wire
} // namespace tess
