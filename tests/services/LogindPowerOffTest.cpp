#include "LogindPowerOff.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <csignal>
#include <sstream>
#include <sys/prctl.h>

namespace lumivar {
namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");

// The helpers die with the test even when it crashes or is killed.
void DieWithParent(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

int CountLines(const std::string& text) {
    return static_cast<int>(std::ranges::count(text, '\n'));
}

} // namespace

/// LogindPowerOff against a mock logind on a private bus that stands in for
/// the system bus: no test here can reach a real logind.
class LogindPowerOffTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // This process's own system bus is a socket that does not exist, set
        // before anything reads it (libdbus reads it once): the mock is reached
        // by address, and no test can reach a real logind.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + m_dir.filePath("no-bus").toUtf8());
        DieWithParent(m_daemon);
        m_daemon.start(
            QStringLiteral(LUMIVAR_DBUS_DAEMON),
            {"--session", "--nofork", "--print-address", "--address=unix:dir=" + m_dir.path()});
        QVERIFY(m_daemon.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
        QVERIFY(!m_address.isEmpty());
        m_bus = QDBusConnection::connectToBus(m_address, QStringLiteral("lumivar-test-bus"));
        QVERIFY2(m_bus.isConnected(), qPrintable(m_bus.lastError().message()));
    }

    void cleanupTestCase() {
        QDBusConnection::disconnectFromBus(QStringLiteral("lumivar-test-bus"));
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    void init() {
        m_errors.str({});
        QFile::remove(logPath());
        DieWithParent(m_mock);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
        m_mock.setProcessEnvironment(environment);
        m_mock.start(QStringLiteral(LUMIVAR_DBUSMOCK_PYTHON),
                     {"-m", "dbusmock", "--template", "logind", "-l", logPath()});
        QTRY_VERIFY_WITH_TIMEOUT(m_bus.interface()->isServiceRegistered(kLogind), 20000);
    }

    void cleanup() {
        m_mock.kill();
        m_mock.waitForFinished();
    }

    void oneRequestMakesOnePowerOffCall() {
        LogindPowerOff powerOff(m_bus, m_errors);
        QSignalSpy finished(&powerOff, &LogindPowerOff::requestFinished);
        powerOff.AcquirePowerOffPrivilege();
        powerOff.RequestPowerOff();
        QVERIFY(finished.wait(10000));
        QTest::qWait(200); // room for a stray second call to show up
        QCOMPARE(mockCalls(), (QStringList{"CanPowerOff", "PowerOff False"}));
        QCOMPARE(m_errors.str(), "");
    }

    void refusalIsOneLine() {
        QVERIFY(refusePowerOff());
        LogindPowerOff powerOff(m_bus, m_errors);
        QSignalSpy finished(&powerOff, &LogindPowerOff::requestFinished);
        powerOff.RequestPowerOff();
        QVERIFY(finished.wait(10000));
        QCOMPARE(m_errors.str(), "lumivar: power-off refused by logind: "
                                 "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired: "
                                 "Interactive authentication required.\n");
    }

    void destroyedBeforeTheReply() {
        QVERIFY(refusePowerOff());
        {
            LogindPowerOff powerOff(m_bus, m_errors);
            powerOff.RequestPowerOff();
        }
        QTest::qWait(300); // the refusal arrives for nobody
        QCOMPARE(m_errors.str(), "");
        QCOMPARE(mockCalls().value(0), "PowerOff False");
    }

    void canPowerOffAnswers_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("lines");
        QTest::newRow("yes") << "yes" << 0;
        QTest::newRow("challenge") << "challenge" << 0;
        QTest::newRow("no") << "no" << 1;
        QTest::newRow("na") << "na" << 1;
    }

    void canPowerOffAnswers() {
        QFETCH(QString, answer);
        QFETCH(int, lines);
        QVERIFY(replaceMockMethod("CanPowerOff", "", "s", "ret = '" + answer + "'"));
        LogindPowerOff powerOff(m_bus, m_errors);
        powerOff.AcquirePowerOffPrivilege();
        QCOMPARE(CountLines(m_errors.str()), lines);
        QCOMPARE(mockCalls(), QStringList{"CanPowerOff"}); // asks, and nothing more
    }

    void missingLogindIsOneLine() {
        cleanup();
        QTRY_VERIFY(!m_bus.interface()->isServiceRegistered(kLogind));
        LogindPowerOff powerOff(m_bus, m_errors);
        QSignalSpy finished(&powerOff, &LogindPowerOff::requestFinished);
        powerOff.AcquirePowerOffPrivilege();
        powerOff.RequestPowerOff();
        QVERIFY(finished.wait(10000));
        QCOMPARE(CountLines(m_errors.str()), 1);
        QVERIFY2(m_errors.str().starts_with(
                     "lumivar: power-off failed: org.freedesktop.DBus.Error.ServiceUnknown: "),
                 m_errors.str().c_str());
    }

    void noSystemBusIsOneLine() {
        {
            LogindPowerOff powerOff(QDBusConnection::systemBus(), m_errors); // the real default
            powerOff.AcquirePowerOffPrivilege();
            powerOff.RequestPowerOff();
            QTest::qWait(200);
        }
        QCOMPARE(CountLines(m_errors.str()), 1);
        QVERIFY2(m_errors.str().starts_with("lumivar: power-off failed: no system bus: "),
                 m_errors.str().c_str());
        QVERIFY(mockCalls().isEmpty());
    }

private:
    // logind's answer when polkit wants a password, with a line break that
    // must not split the report
    bool refusePowerOff() {
        return replaceMockMethod(
            "PowerOff", "b", "",
            "raise dbus.exceptions.DBusException('Interactive\\nauthentication "
            "required.', name='org.freedesktop.DBus.Error."
            "InteractiveAuthorizationRequired')");
    }

    QString logPath() const { return m_dir.filePath("logind-calls.log"); }

    /// The mock's call log, one "Method args" entry per call, timestamps dropped.
    QStringList mockCalls() const {
        QFile log(logPath());
        QStringList calls;
        if (!log.open(QIODevice::ReadOnly))
            return calls;
        for (const QByteArray& line : log.readAll().split('\n'))
            if (const qsizetype space = line.indexOf(' '); space > 0)
                calls << QString::fromUtf8(line.mid(space + 1));
        return calls;
    }

    bool replaceMockMethod(const QString& name, const QString& in, const QString& out,
                           const QString& code) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            kLogind, kPath, QStringLiteral("org.freedesktop.DBus.Mock"), "AddMethod");
        call << "org.freedesktop.login1.Manager" << name << in << out << code;
        const QDBusMessage reply = m_bus.call(call);
        if (reply.type() != QDBusMessage::ReplyMessage)
            qWarning("AddMethod failed: %s", qPrintable(reply.errorMessage()));
        return reply.type() == QDBusMessage::ReplyMessage;
    }

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QProcess m_mock;
    QString m_address;
    QDBusConnection m_bus{QString()};
    std::ostringstream m_errors;
};

} // namespace lumivar

QTEST_GUILESS_MAIN(lumivar::LogindPowerOffTest)
#include "LogindPowerOffTest.moc"
