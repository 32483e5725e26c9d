#pragma once
// The accessible interface a screen reader gets for a widget; a widget
// without one ends the test at once, as nothing after it could hold.
#include <QAccessible>
#include <QObject>

inline QAccessibleInterface &accessibleOf(QObject &object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&object);
    if (!iface)
        qFatal("no accessible interface for %s", object.metaObject()->className());
    return *iface;
}
