#pragma once

#include <QDBusError>
#include <QString>

namespace lumivar::qt {

// systemd-logind (or elogind) on the system bus.
inline const QString kLogind = QStringLiteral("org.freedesktop.login1");
inline const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
inline const QString kLogindManager = QStringLiteral("org.freedesktop.login1.Manager");

/// An error as its name and message, for one line of a report.
inline QString Described(const QDBusError& error) {
    // libdbus explains a time-out with a paragraph of guesses
    if (error.type() == QDBusError::NoReply)
        return error.name() + QStringLiteral(": no answer in time");
    return error.name() + QStringLiteral(": ") + error.message();
}

/// Texts from another process may hold line breaks; a report is one line.
inline QString OneLine(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace lumivar::qt
