#pragma once

// Finds a window's controls by their object names, so that tests drive a
// window the way a user sees it without the window exposing its members.

#include <QAnyStringView>
#include <QByteArray>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QWidget>

#include <source_location>

namespace ralvo::test {

namespace detail {

// True when `object` lies inside another window below `window` (the main
// window owns every dialog as a Qt child): its controls are not `window`'s.
// Pop-up menus count as part of the window they belong to.
inline bool InOtherWindow(const QObject *object, const QObject *window)
{
    for (const QObject *up = object->parent(); up && up != window; up = up->parent()) {
        const auto *widget = qobject_cast<const QWidget *>(up);
        if (widget && widget->isWindow() && !qobject_cast<const QMenu *>(widget))
            return true;
    }
    return false;
}

[[noreturn]] inline void Missing(const QObject *window, const QString &name, const QString &problem,
                                 const std::source_location &where)
{
    const QString windowName = window ? window->objectName() : QStringLiteral("(no window)");
    qFatal("%s:%u: control %s of %s %s", where.file_name(), unsigned(where.line()), qPrintable(name),
           qPrintable(windowName.isEmpty() ? QString::fromLatin1(window->metaObject()->className()) : windowName),
           qPrintable(problem));
}

} // namespace detail

// The control of `window` whose object name is `name` (at any depth, but not
// inside another window that `window` owns), as a T. A menu and its menu
// item may share a name: T tells them apart. A missing control, two controls
// of that name and kind, or one of another kind stop the test run with a
// message naming the calling line, the window, the control and the kinds.
template<class T = QWidget>
T *Control(const QObject *window, QAnyStringView name,
           const std::source_location &where = std::source_location::current())
{
    const QString wanted = name.toString();
    if (!window)
        detail::Missing(window, wanted, QStringLiteral("looked up in no window"), where);
    QList<QObject *> named;
    QList<T *> found;
    for (QObject *object : window->findChildren<QObject *>(wanted)) {
        if (detail::InOtherWindow(object, window))
            continue;
        named.append(object);
        if (T *control = qobject_cast<T *>(object))
            found.append(control);
    }
    if (found.size() == 1)
        return found.front();
    if (found.size() > 1)
        detail::Missing(window, wanted, QStringLiteral("exists %1 times").arg(found.size()), where);
    if (named.isEmpty())
        detail::Missing(window, wanted, QStringLiteral("does not exist"), where);
    detail::Missing(window, wanted,
                    QStringLiteral("is a %1, not a %2")
                        .arg(QLatin1StringView(named.front()->metaObject()->className()),
                             QLatin1StringView(T::staticMetaObject.className())),
                    where);
}

template<class T = QWidget>
T *Control(const QObject &window, QAnyStringView name,
           const std::source_location &where = std::source_location::current())
{
    return Control<T>(&window, name, where);
}

} // namespace ralvo::test
