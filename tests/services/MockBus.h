#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <sys/prctl.h>
#include <utility>

namespace lumivar::test {

// The helpers die with the test even when it crashes or is killed.
inline void DieWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

/// A bus daemon of the test's own, standing in for the system and session
/// buses, so that no test can reach a real logind or desktop.
class PrivateBus {
public:
    explicit PrivateBus(const QString& name) : m_name(name) {}
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus(m_name);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    /// Starts the daemon with its socket in `dir` and connects to it.
    bool Start(const QString& dir) {
        DieWithParent(m_daemon);
        m_daemon.start(QStringLiteral(LUMIVAR_DBUS_DAEMON),
                       {"--config-file=" LUMIVAR_PRIVATE_BUS_CONF, "--nofork", "--print-address",
                        "--address=unix:dir=" + dir});
        if (!m_daemon.waitForReadyRead(10000))
            return false;
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        m_bus = QDBusConnection::connectToBus(m_address, m_name);
        return m_bus.isConnected();
    }

    const QString& Address() const { return m_address; }
    QDBusConnection& Connection() { return m_bus; }

private:
    QString m_name;
    QProcess m_daemon;
    QString m_address;
    QDBusConnection m_bus{QString()};
};

/// One python3-dbusmock process on a PrivateBus, logging the calls to its
/// mocked methods into a file.
class DBusMock {
public:
    explicit DBusMock(QString logPath) : m_logPath(std::move(logPath)) {}
    ~DBusMock() { Stop(); }

    /// Starts `python3 -m dbusmock <arguments>` on `bus` as both its system
    /// and session bus and waits until it owns `service`.
    bool Start(PrivateBus& bus, const QString& service, const QStringList& arguments) {
        QFile::remove(m_logPath);
        m_bus = &bus;
        m_service = service;
        DieWithParent(m_process);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), bus.Address());
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.Address());
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(LUMIVAR_DBUSMOCK_PYTHON),
                        QStringList{"-m", "dbusmock"} + arguments + QStringList{"-l", m_logPath});
        return QTest::qWaitFor([this] { return Registered(); }, 20000);
    }

    bool Stop() {
        if (m_process.state() == QProcess::NotRunning)
            return true;
        m_process.kill();
        m_process.waitForFinished();
        return QTest::qWaitFor([this] { return !Registered(); }, 5000);
    }

    /// The call log, one "Method args" entry per call, timestamps dropped.
    QStringList Calls() const {
        QFile log(m_logPath);
        QStringList calls;
        if (!log.open(QIODevice::ReadOnly))
            return calls;
        for (const QByteArray& line : log.readAll().split('\n'))
            if (const qsizetype space = line.indexOf(' '); space > 0)
                calls << QString::fromUtf8(line.mid(space + 1));
        return calls;
    }

    /// Calls a method of the mock object at `path`; the reply, error or not.
    QDBusMessage Call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(m_service, path, interface, method);
        call.setArguments(arguments);
        return m_bus->Connection().call(call);
    }

    /// Adds or replaces a method of the object at `path`; `code` is Python.
    bool AddMethod(const QString& path, const QString& interface, const QString& name,
                   const QString& in, const QString& out, const QString& code) {
        const QDBusMessage reply =
            Call(path, QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("AddMethod"),
                 {interface, name, in, out, code});
        if (reply.type() != QDBusMessage::ReplyMessage)
            qWarning("AddMethod failed: %s", qPrintable(reply.errorMessage()));
        return reply.type() == QDBusMessage::ReplyMessage;
    }

private:
    bool Registered() const {
        return m_bus->Connection().interface()->isServiceRegistered(m_service);
    }

    QString m_logPath;
    PrivateBus* m_bus = nullptr;
    QString m_service;
    QProcess m_process;
};

} // namespace lumivar::test
