#include "shell/core/dbus_wire.h"

#include <QtEndian>

namespace tess::dbus_wire {
namespace {

constexpr char kLittleEndian = 'l';
constexpr char kMethodCall = 1;
constexpr char kProtocolVersion = 1;
constexpr char kReplySerialField = 5;
// No answer to a call without arguments comes near this.
constexpr quint32 kLargestMessage = 1 << 20;

void pad(QByteArray &bytes, int alignment)
{
    while (bytes.size() % alignment)
        bytes.append('\0');
}

void putUint32(QByteArray &bytes, quint32 value)
{
    pad(bytes, 4);
    const quint32 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char *>(&little), 4);
}

// A header field holding a string or an object path.
void putField(QByteArray &fields, char code, char type, const QByteArray &value)
{
    pad(fields, 8);
    fields.append(code);
    fields.append('\1');
    fields.append(type);
    fields.append('\0');
    putUint32(fields, quint32(value.size()));
    fields.append(value);
    fields.append('\0');
}

quint32 uint32At(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

qsizetype aligned(qsizetype at, int alignment)
{
    return (at + alignment - 1) / alignment * alignment;
}

// The reply serial among the header fields between `at` and `end`; 0 when
// there is none (or a field this reader does not know comes first).
quint32 replySerialIn(const QByteArray &bytes, qsizetype at, qsizetype end)
{
    while (true) {
        at = aligned(at, 8);
        if (at + 3 > end)
            return 0;
        const char code = bytes[at];
        const int signatureLength = static_cast<unsigned char>(bytes[at + 1]);
        if (signatureLength != 1 || at + 4 > end)
            return 0;
        const char type = bytes[at + 2];
        at += 4;
        if (type == 'u') {
            at = aligned(at, 4);
            if (at + 4 > end)
                return 0;
            if (code == kReplySerialField)
                return uint32At(bytes, at);
            at += 4;
        } else if (type == 's' || type == 'o') {
            at = aligned(at, 4);
            if (at + 4 > end)
                return 0;
            at += 4 + qsizetype(uint32At(bytes, at)) + 1;
        } else if (type == 'g') {
            if (at + 1 > end)
                return 0;
            at += 1 + static_cast<unsigned char>(bytes[at]) + 1;
        } else {
            return 0;
        }
    }
}

} // namespace

QByteArray methodCall(quint32 serial, const QByteArray &destination, const QByteArray &path,
                      const QByteArray &interface, const QByteArray &member)
{
    // The fields start 16 bytes into the message, so aligning within them
    // aligns within the message.
    QByteArray fields;
    putField(fields, 1, 'o', path);
    putField(fields, 2, 's', interface);
    putField(fields, 3, 's', member);
    putField(fields, 6, 's', destination);
    QByteArray message;
    message.append(kLittleEndian);
    message.append(kMethodCall);
    message.append('\0');
    message.append(kProtocolVersion);
    putUint32(message, 0);  // no body
    putUint32(message, serial);
    putUint32(message, quint32(fields.size()));
    message.append(fields);
    pad(message, 8);
    return message;
}

Take takeMessage(QByteArray &buffer, Message &message)
{
    if (buffer.size() < 16)
        return Take::NeedMore;
    if (buffer[0] != kLittleEndian)
        return Take::Garbage;
    const quint32 bodyLength = uint32At(buffer, 4);
    const quint32 fieldsLength = uint32At(buffer, 12);
    if (bodyLength > kLargestMessage || fieldsLength > kLargestMessage)
        return Take::Garbage;
    const qsizetype bodyStart = aligned(16 + qsizetype(fieldsLength), 8);
    const qsizetype total = bodyStart + qsizetype(bodyLength);
    if (buffer.size() < total)
        return Take::NeedMore;
    message = {};
    message.type = buffer[1];
    message.replySerial = replySerialIn(buffer, 16, 16 + qsizetype(fieldsLength));
    if (bodyLength >= 5) {
        const quint32 length = uint32At(buffer, bodyStart);
        if (length < bodyLength - 4)
            message.firstString = buffer.mid(bodyStart + 4, length);
    }
    buffer.remove(0, total);
    return Take::Message;
}

} // namespace tess::dbus_wire
