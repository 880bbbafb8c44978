#include "LogindPowerOff.h"
#include "MockBus.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace lumivar::qt {
namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

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
        QVERIFY2(m_bus.Start(m_dir.path()), qPrintable(m_bus.Connection().lastError().message()));
    }

    void init() {
        m_errors.str({});
        m_failures.clear();
        QVERIFY(m_logind.Start(m_bus, kLogind, {"--template", "logind"}));
    }

    void cleanup() { QVERIFY(m_logind.Stop()); }

    void oneRequestMakesOnePowerOffCall() {
        LogindPowerOff powerOff(m_bus.Connection(), m_errors);
        QSignalSpy finished(&powerOff, &LogindPowerOff::requestFinished);
        powerOff.AcquirePowerOffPrivilege();
        powerOff.RequestPowerOff();
        QVERIFY(finished.wait(10000));
        QTest::qWait(200); // room for a stray second call to show up
        QCOMPARE(m_logind.Calls(), (QStringList{"CanPowerOff", "PowerOff False"}));
        QCOMPARE(m_errors.str(), "");
    }

    // The reason reaches the window as well as standard error, both one line.
    void refusalIsReported() {
        QVERIFY(RefusePowerOff());
        LogindPowerOff powerOff(m_bus.Connection(), m_errors);
        RecordFailures(powerOff);
        QSignalSpy finished(&powerOff, &LogindPowerOff::requestFinished);
        powerOff.RequestPowerOff();
        QVERIFY(finished.wait(10000));
        const std::string why = "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired: "
                                "Interactive authentication required.";
        QCOMPARE(m_errors.str(), "lumivar: power-off refused by logind: " + why + "\n");
        QCOMPARE(m_failures, std::vector<std::string>{"logind 拒绝了关机请求: " + why});
    }

    void destroyedBeforeTheReply() {
        QVERIFY(RefusePowerOff());
        {
            LogindPowerOff powerOff(m_bus.Connection(), m_errors);
            RecordFailures(powerOff);
            powerOff.RequestPowerOff();
        }
        QTest::qWait(300); // the refusal arrives for nobody
        QCOMPARE(m_errors.str(), "");
        QVERIFY(m_failures.empty());
        QCOMPARE(m_logind.Calls().value(0), "PowerOff False");
    }

    void canPowerOffAnswers_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("warning");
        QTest::newRow("yes") << "yes" << 0 << "PowerOff False"
                             << "";
        // polkit may ask for a password: the request lets it
        QTest::newRow("challenge") << "challenge" << 0 << "PowerOff True"
                                   << "关机需要管理员密码,到时须有人在场输入 "
                                      "(logind CanPowerOff: challenge)";
        QTest::newRow("no") << "no" << 1 << "PowerOff False"
                            << "系统不允许本用户关机 (logind CanPowerOff: no)";
        QTest::newRow("na") << "na" << 1 << "PowerOff False"
                            << "本系统不支持关机 (logind CanPowerOff: na)";
    }

    void canPowerOffAnswers() {
        QFETCH(QString, answer);
        QFETCH(int, lines);
        QFETCH(QString, request);
        QFETCH(QString, warning);
        QVERIFY(
            m_logind.AddMethod(kPath, kManager, "CanPowerOff", "", "s", "ret = '" + answer + "'"));
        LogindPowerOff powerOff(m_bus.Connection(), m_errors);
        QCOMPARE(QString::fromStdString(powerOff.LikelyRefusal()), warning);
        powerOff.AcquirePowerOffPrivilege();
        QCOMPARE(CountLines(m_errors.str()), lines);
        QSignalSpy finished(&powerOff, &LogindPowerOff::requestFinished);
        powerOff.RequestPowerOff();
        QVERIFY(finished.wait(10000));
        QCOMPARE(m_logind.Calls(), (QStringList{"CanPowerOff", "CanPowerOff", request}));
    }

    void missingLogindIsReported() {
        QVERIFY(m_logind.Stop());
        LogindPowerOff powerOff(m_bus.Connection(), m_errors);
        RecordFailures(powerOff);
        QVERIFY2(powerOff.LikelyRefusal().starts_with(
                     "无法询问 logind 能否关机 (org.freedesktop.DBus.Error.ServiceUnknown: "),
                 powerOff.LikelyRefusal().c_str());
        QSignalSpy finished(&powerOff, &LogindPowerOff::requestFinished);
        powerOff.AcquirePowerOffPrivilege();
        powerOff.RequestPowerOff();
        QVERIFY(finished.wait(10000));
        QCOMPARE(CountLines(m_errors.str()), 1);
        QVERIFY2(m_errors.str().starts_with(
                     "lumivar: power-off failed: org.freedesktop.DBus.Error.ServiceUnknown: "),
                 m_errors.str().c_str());
        QCOMPARE(m_failures.size(), 1u);
        QVERIFY2(m_failures[0].starts_with(
                     "无法联系 logind: org.freedesktop.DBus.Error.ServiceUnknown: "),
                 m_failures[0].c_str());
    }

    void noSystemBusIsReported() {
        {
            LogindPowerOff powerOff(QDBusConnection::systemBus(), m_errors); // the real default
            RecordFailures(powerOff);
            QVERIFY2(powerOff.LikelyRefusal().starts_with("没有系统总线,无法请求关机 ("),
                     powerOff.LikelyRefusal().c_str());
            powerOff.AcquirePowerOffPrivilege();
            powerOff.RequestPowerOff();
            QTest::qWait(200);
        }
        QCOMPARE(CountLines(m_errors.str()), 1);
        QVERIFY2(m_errors.str().starts_with("lumivar: power-off failed: no system bus: "),
                 m_errors.str().c_str());
        QCOMPARE(m_failures.size(), 1u);
        QVERIFY2(m_failures[0].starts_with("没有系统总线: "), m_failures[0].c_str());
        QVERIFY(m_logind.Calls().isEmpty());
    }

private:
    // logind's answer when polkit wants a password, with a line break that
    // must not split the report
    bool RefusePowerOff() {
        return m_logind.AddMethod(
            kPath, kManager, "PowerOff", "b", "",
            "raise dbus.exceptions.DBusException('Interactive\\nauthentication "
            "required.', name='org.freedesktop.DBus.Error."
            "InteractiveAuthorizationRequired')");
    }

    void RecordFailures(PowerOff& powerOff) {
        powerOff.SetFailureHandler([this](const std::string& why) { m_failures.push_back(why); });
    }

    QTemporaryDir m_dir;
    test::PrivateBus m_bus{QStringLiteral("lumivar-test-bus")};
    test::DBusMock m_logind{m_dir.filePath("logind-calls.log")};
    std::ostringstream m_errors;
    std::vector<std::string> m_failures;
};

} // namespace lumivar::qt

QTEST_GUILESS_MAIN(lumivar::qt::LogindPowerOffTest)
#include "LogindPowerOffTest.moc"
