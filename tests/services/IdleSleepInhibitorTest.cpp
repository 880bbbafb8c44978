#include "DesktopIdleSleepInhibitor.h"
#include "MockBus.h"

#include <QDBusArgument>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <sstream>

namespace lumivar::qt {
namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");

// The portal's Inhibit as xdg-desktop-portal makes it: a Request object at a
// path ending in the caller's token, whose Close ends the hold. `delay`
// seconds pass before the answer.
QString PortalInhibit(const QString& sender, int delay) {
    return QStringLiteral(
               "time.sleep(%2)\n"
               "ret = '/org/freedesktop/portal/desktop/request/%1/' + args[2]['handle_token']\n"
               "self.AddObject(ret, 'org.freedesktop.portal.Request', {}, "
               "[('Close', '', '', 'self.log(\"closed \" + self.path)')])")
        .arg(sender)
        .arg(delay);
}

} // namespace

/// The idle-sleep hold against a mock portal and a mock logind on one private
/// bus, which stands in for both the session and the system bus.
class IdleSleepInhibitorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_bus.Start(m_dir.path()));
        m_sender = m_bus.Connection().baseService().mid(1).replace('.', '_');
    }

    void init() { m_errors.str({}); }

    void cleanup() {
        QVERIFY(m_portal.Stop());
        QVERIFY(m_logind.Stop());
    }

    void portalHoldsSuspendOffUntilReleased() {
        QVERIFY(StartPortal(0));
        QVERIFY(m_logind.Start(m_bus, kLogind, {"--template", "logind"}));
        {
            DesktopIdleSleepInhibitor inhibitor(m_bus.Connection(), m_bus.Connection(), m_errors);
            inhibitor.Inhibit();
            inhibitor.Inhibit(); // already held: no second hold to leak
            const QStringList calls = m_portal.Calls();
            QCOMPARE(calls.size(), 1);
            QVERIFY2(calls[0].startsWith(R"(Inhibit "" 4 {)"), qPrintable(calls[0]));
            QVERIFY(LogindInhibitors().isEmpty());
            inhibitor.Release();
            inhibitor.Release();
        }
        const QString request = kPortalPath + "/request/" + m_sender + "/lumivar_1";
        QTRY_COMPARE(m_portal.Calls().mid(1), (QStringList{"Close", "closed " + request}));
        QCOMPARE(m_errors.str(), "");
    }

    // A portal that answers only after we stopped waiting must not keep its
    // hold for the rest of the run.
    void latePortalHoldIsEnded() {
        QVERIFY(StartPortal(3));
        QVERIFY(m_logind.Start(m_bus, kLogind, {"--template", "logind"}));
        DesktopIdleSleepInhibitor inhibitor(m_bus.Connection(), m_bus.Connection(), m_errors);
        QElapsedTimer waited;
        waited.start();
        inhibitor.Inhibit();
        QVERIFY2(waited.elapsed() < 2900, qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(LogindInhibitors().size(), 1); // held through logind meanwhile
        const QString request = kPortalPath + "/request/" + m_sender + "/lumivar_1";
        QTRY_VERIFY_WITH_TIMEOUT(m_portal.Calls().contains("closed " + request), 5000);
        QCOMPARE(m_errors.str(), "");
    }

    void withoutPortalLogindHoldsIdleOff() {
        QVERIFY(m_logind.Start(m_bus, kLogind, {"--template", "logind"}));
        DesktopIdleSleepInhibitor inhibitor(m_bus.Connection(), m_bus.Connection(), m_errors);
        inhibitor.Inhibit();
        const QList<QStringList> held = LogindInhibitors();
        QCOMPARE(held.size(), 1);
        QCOMPARE(held[0].mid(0, 2), (QStringList{"idle", "Lumivar"}));
        QCOMPARE(held[0][3], "block");
        inhibitor.Release(); // closing the descriptor is what ends it
        QTRY_VERIFY(LogindInhibitors().isEmpty());
        QCOMPARE(m_errors.str(), "");
    }

    void withNeitherItSaysSoOnce() {
        DesktopIdleSleepInhibitor inhibitor(m_bus.Connection(), m_bus.Connection(), m_errors);
        inhibitor.Inhibit();
        inhibitor.Release();
        const std::string line = m_errors.str();
        QVERIFY2(
            line.starts_with("lumivar: idle sleep is not held off while armed (desktop portal: "
                             "org.freedesktop.DBus.Error.ServiceUnknown: ") &&
                line.find("; logind: org.freedesktop.DBus.Error.ServiceUnknown: ") !=
                    std::string::npos &&
                line.find('\n') == line.size() - 1,
            line.c_str());
    }

private:
    bool StartPortal(int delay) {
        return m_portal.Start(m_bus, kPortal,
                              {kPortal, kPortalPath, "org.freedesktop.portal.Inhibit"}) &&
               m_portal.AddMethod(kPortalPath, "org.freedesktop.portal.Inhibit", "Inhibit",
                                  "sua{sv}", "o", PortalInhibit(m_sender, delay));
    }

    /// logind's inhibitors as (what, who, why, mode).
    QList<QStringList> LogindInhibitors() {
        const QDBusMessage reply =
            m_logind.Call(kLogindPath, "org.freedesktop.login1.Manager", "ListInhibitors");
        QList<QStringList> inhibitors;
        if (reply.type() != QDBusMessage::ReplyMessage)
            return inhibitors;
        const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
        list.beginArray();
        while (!list.atEnd()) {
            QString what, who, why, mode;
            uint uid = 0, pid = 0;
            list.beginStructure();
            list >> what >> who >> why >> mode >> uid >> pid;
            list.endStructure();
            inhibitors.append({what, who, why, mode});
        }
        list.endArray();
        return inhibitors;
    }

    QTemporaryDir m_dir;
    test::PrivateBus m_bus{QStringLiteral("lumivar-inhibitor-bus")};
    test::DBusMock m_portal{m_dir.filePath("portal-calls.log")};
    test::DBusMock m_logind{m_dir.filePath("logind-calls.log")};
    QString m_sender;
    std::ostringstream m_errors;
};

} // namespace lumivar::qt

QTEST_GUILESS_MAIN(lumivar::qt::IdleSleepInhibitorTest)
#include "IdleSleepInhibitorTest.moc"
