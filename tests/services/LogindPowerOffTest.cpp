#include "LogindPowerOff.h"
#include "MockBus.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <vector>

Q_DECLARE_METATYPE(std::optional<lumivar::Failure>)

namespace lumivar::qt {
namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

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
        m_failures.clear();
        QVERIFY(m_logind.Start(m_bus, kLogind, {"--template", "logind"}));
    }

    void cleanup() { QVERIFY(m_logind.Stop()); }

    void oneRequestMakesOnePowerOffCall() {
        LogindPowerOff powerOff(m_bus.Connection());
        RecordFailures(powerOff);
        QSignalSpy finished(&powerOff, &LogindPowerOff::requestFinished);
        powerOff.AcquirePowerOffPrivilege();
        powerOff.RequestPowerOff();
        QVERIFY(finished.wait(10000));
        QTest::qWait(200); // room for a stray second call to show up
        QCOMPARE(m_logind.Calls(), (QStringList{"CanPowerOff", "PowerOff False"}));
        QVERIFY(m_failures.empty());
    }

    // logind's own error, kept whole on one line
    void refusalIsReported() {
        QVERIFY(RefusePowerOff());
        LogindPowerOff powerOff(m_bus.Connection());
        RecordFailures(powerOff);
        QSignalSpy finished(&powerOff, &LogindPowerOff::requestFinished);
        powerOff.RequestPowerOff();
        QVERIFY(finished.wait(10000));
        QCOMPARE(m_failures, (std::vector<Failure>{
                                 {FailureKind::NeedsAuthorisation,
                                  "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired: "
                                  "Interactive authentication required."}}));
    }

    void destroyedBeforeTheReply() {
        QVERIFY(RefusePowerOff());
        {
            LogindPowerOff powerOff(m_bus.Connection());
            RecordFailures(powerOff);
            powerOff.RequestPowerOff();
        }
        QTest::qWait(300); // the refusal arrives for nobody
        QVERIFY(m_failures.empty());
        QCOMPARE(m_logind.Calls().value(0), "PowerOff False");
    }

    void canPowerOffAnswers_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("request");
        QTest::addColumn<std::optional<Failure>>("foreseen");
        QTest::newRow("yes") << "yes"
                             << "PowerOff False" << std::optional<Failure>{};
        // polkit may ask for a password: the request lets it
        QTest::newRow("challenge") << "challenge"
                                   << "PowerOff True"
                                   << std::optional<Failure>{{FailureKind::NeedsAuthorisation,
                                                              "logind CanPowerOff: challenge"}};
        QTest::newRow("no") << "no"
                            << "PowerOff False"
                            << std::optional<Failure>{
                                   {FailureKind::Refused, "logind CanPowerOff: no"}};
        QTest::newRow("na") << "na"
                            << "PowerOff False"
                            << std::optional<Failure>{
                                   {FailureKind::NotSupported, "logind CanPowerOff: na"}};
    }

    void canPowerOffAnswers() {
        QFETCH(QString, answer);
        QFETCH(QString, request);
        QFETCH(std::optional<Failure>, foreseen);
        QVERIFY(
            m_logind.AddMethod(kPath, kManager, "CanPowerOff", "", "s", "ret = '" + answer + "'"));
        LogindPowerOff powerOff(m_bus.Connection());
        QVERIFY(powerOff.LikelyRefusal() == foreseen);
        powerOff.AcquirePowerOffPrivilege();
        QSignalSpy finished(&powerOff, &LogindPowerOff::requestFinished);
        powerOff.RequestPowerOff();
        QVERIFY(finished.wait(10000));
        QCOMPARE(m_logind.Calls(), (QStringList{"CanPowerOff", "CanPowerOff", request}));
    }

    void missingLogindIsReported() {
        QVERIFY(m_logind.Stop());
        LogindPowerOff powerOff(m_bus.Connection());
        RecordFailures(powerOff);
        const std::optional<Failure> foreseen = powerOff.LikelyRefusal();
        QVERIFY(foreseen && foreseen->kind == FailureKind::NoLogind);
        QVERIFY2(foreseen->detail.starts_with("org.freedesktop.DBus.Error.ServiceUnknown: "),
                 foreseen->detail.c_str());
        QSignalSpy finished(&powerOff, &LogindPowerOff::requestFinished);
        powerOff.AcquirePowerOffPrivilege();
        powerOff.RequestPowerOff();
        QVERIFY(finished.wait(10000));
        QCOMPARE(m_failures.size(), 1u);
        QVERIFY(m_failures[0].kind == FailureKind::NoLogind);
        QVERIFY2(m_failures[0].detail.starts_with("org.freedesktop.DBus.Error.ServiceUnknown: "),
                 m_failures[0].detail.c_str());
    }

    void noSystemBusIsReported() {
        {
            LogindPowerOff powerOff(QDBusConnection::systemBus()); // the real default
            RecordFailures(powerOff);
            const std::optional<Failure> foreseen = powerOff.LikelyRefusal();
            QVERIFY(foreseen && foreseen->kind == FailureKind::NoSystemBus);
            powerOff.AcquirePowerOffPrivilege();
            powerOff.RequestPowerOff();
            QTest::qWait(200);
        }
        QCOMPARE(m_failures.size(), 1u);
        QVERIFY(m_failures[0].kind == FailureKind::NoSystemBus);
        QVERIFY(!m_failures[0].detail.empty());
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
        powerOff.SetFailureHandler([this](const Failure& why) { m_failures.push_back(why); });
    }

    QTemporaryDir m_dir;
    test::PrivateBus m_bus{QStringLiteral("lumivar-test-bus")};
    test::DBusMock m_logind{m_dir.filePath("logind-calls.log")};
    std::vector<Failure> m_failures;
};

} // namespace lumivar::qt

QTEST_GUILESS_MAIN(lumivar::qt::LogindPowerOffTest)
#include "LogindPowerOffTest.moc"
