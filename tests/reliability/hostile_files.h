#pragma once
// Bad files of every kind a player's disk can hold where the game expects a
// data file, made on the spot in a game folder.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMetaType>
#include <QString>

#include <random>

#include <unistd.h>

enum class Hostile {
    Missing,          // no file
    Empty,            // zero bytes
    Directory,        // a folder of that name
    Unreadable,       // no read permission
    UndefinedCp1251,  // the code page's undefined byte 0x98
    NulBytes,         // NUL bytes inside the lines
    Huge,             // 50 MB: a page of text, then zeros to the size
    OneMegabyteLine,  // one line of 1 MB, no line end
    BinaryJunk,       // 64 KB of random bytes
};
Q_DECLARE_METATYPE(Hostile)

inline const char *hostileName(Hostile kind)
{
    switch (kind) {
    case Hostile::Missing: return "missing";
    case Hostile::Empty: return "empty";
    case Hostile::Directory: return "a directory";
    case Hostile::Unreadable: return "unreadable";
    case Hostile::UndefinedCp1251: return "undefined CP1251 byte 0x98";
    case Hostile::NulBytes: return "NUL bytes";
    case Hostile::Huge: return "50 MB";
    case Hostile::OneMegabyteLine: return "one 1 MB line";
    case Hostile::BinaryJunk: return "binary junk";
    }
    return "?";
}

inline constexpr Hostile kAllHostile[] = {
    Hostile::Missing,  Hostile::Empty, Hostile::Directory,       Hostile::Unreadable, Hostile::UndefinedCp1251,
    Hostile::NulBytes, Hostile::Huge,  Hostile::OneMegabyteLine, Hostile::BinaryJunk,
};

// Permissions stop no read or write of root's.
inline bool permissionsAreIgnored()
{
    return ::geteuid() == 0;
}

// The bytes a file of that kind holds (nothing for those that hold none).
inline QByteArray hostileBytes(Hostile kind)
{
    switch (kind) {
    case Hostile::UndefinedCp1251:
        return QByteArray("\xcf\xf0\xe8\x98\xe2\xe5\xf2\r\n\x98\r\n");  // "При\x98вет"
    case Hostile::NulBytes:
        return QByteArray("a\0b\r\n\0\0\0\r\n", 11);
    case Hostile::Huge:  // its first 64 KB; writeHuge makes the rest
        return (QByteArray("\xd1\xf2\xf0\xee\xea\xe0 \xf2\xe5\xea\xf1\xf2\xe0 ").repeated(7) + "\r\n").repeated(600).left(64 * 1024);
    case Hostile::OneMegabyteLine:
        return QByteArray("\xf1\xeb\xee\xe2\xee ").repeated(1024 * 1024 / 6 + 1).left(1024 * 1024);
    case Hostile::BinaryJunk: {
        std::mt19937 random(1234);
        QByteArray junk(64 * 1024, Qt::Uninitialized);
        for (char &byte : junk)
            byte = char(random() & 0xff);
        return junk;
    }
    default:
        return {};
    }
}

// A 50 MB file: text at its start, the rest left to the file system to fill
// with zeros (sparse), so that making it costs no 50 MB of writing.
inline void writeHuge(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(hostileBytes(Hostile::Huge));
    file.resize(50 * 1024 * 1024);
}

// Puts a file of that kind at `path`, in place of whatever was there.
inline void makeHostile(const QString &path, Hostile kind, const QByteArray &original = "1\r\n")
{
    QFile::remove(path);
    QDir().rmdir(path);
    switch (kind) {
    case Hostile::Missing:
        return;
    case Hostile::Directory:
        QDir().mkpath(path);
        return;
    case Hostile::Huge:
        writeHuge(path);
        return;
    case Hostile::Unreadable: {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(original);
        file.close();
        file.setPermissions(QFileDevice::Permissions());
        return;
    }
    default: {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(hostileBytes(kind));
        return;
    }
    }
}
