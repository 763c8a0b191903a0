#include "support/fakesystemtree.h"

#include "platform/cardcheck/cardcheck.h"
#include "platform/cardcheck/kernelports.h"
#include "platform/cardcheck/mountoptions.h"
#include "platform/cardcheck/toolprivilege.h"

#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace ferncastle;
using ferncastle::test::FakeSystemTree;

namespace {

constexpr uid_t nobody = 65534;
const QByteArray release = "6.1.0-test-amd64";
const QByteArray fullRights = "CapEff:\t000001ffffffffff\nCapBnd:\t000001ffffffffff\nNoNewPrivs:\t0\n";

QList<CardFinding> findingsOn(const CardCheckResult &result, FindingTopic topic)
{
    QList<CardFinding> found;
    for (const CardFinding &finding : result.findings) {
        if (finding.topic == topic)
            found.append(finding);
    }
    return found;
}

QString severityName(FindingSeverity severity)
{
    switch (severity) {
    case FindingSeverity::Fine: return QStringLiteral("fine");
    case FindingSeverity::WillStop: return QStringLiteral("stops");
    case FindingSeverity::CannotTell: return QStringLiteral("unknown");
    }
    return {};
}

// "stops", or "fine fine" for two findings, with the tool when there is one.
QString severities(const QList<CardFinding> &findings)
{
    QStringList names;
    for (const CardFinding &finding : findings)
        names.append(severityName(finding.severity)
                     + (finding.tool.isEmpty() ? QString() : u':' + finding.tool));
    return names.join(u' ');
}

QString cardList(const CardCheckResult &result)
{
    QStringList cards;
    for (const FoundCard &card : result.cards)
        cards.append(QStringLiteral("MK%1 %2 p%3").arg(card.model).arg(card.address).arg(card.portIndex));
    return cards.join(QStringLiteral(", "));
}

CardCheckSetup setupFor(const FakeSystemTree &tree, bool asRoot = true)
{
    CardCheckSetup setup;
    setup.rootFolder = tree.root();
    setup.architecture = QStringLiteral("x86_64");
    setup.runsAsRoot = asRoot;
    return setup;
}

// A tool file with the given owner and mode bits.
QString makeTool(const QString &folder, const QString &name, uid_t owner, mode_t mode)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(path));
    file.close();
    const QByteArray native = QFile::encodeName(path);
    if (::chown(native.constData(), owner, gid_t(-1)) != 0 || ::chmod(native.constData(), mode) != 0)
        qFatal("cannot set owner or mode of %s", qPrintable(path));
    return path;
}

} // namespace

class TestCardCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsCards_data();
    void findsCards();
    void numbersCardsInPciOrder();
    void readsKernelConfig_data();
    void readsKernelConfig();
    void readsPortPermission_data();
    void readsPortPermission();
    void checksToolPrivilege_data();
    void checksToolPrivilege();
    void findsNosuidMounts_data();
    void findsNosuidMounts();
    void setUserIdIsIgnoredOnNosuidMounts();
    void namesTheRealFileBehindALink();
    void findsToolsOnPath();
    void rootNeedsNoToolRights();
    void otherProcessorsCannotUseTheCard();
    void quotesTypedCommands();
};

void TestCardCheck::findsCards_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("cards");
    QTest::addColumn<QString>("severity");
    QTest::addColumn<bool>("checkable");

    QTest::newRow("no card") << "empty" << "" << "stops" << true;
    QTest::newRow("MK3") << "mk3" << "MK3 0000:03:00.0 p0" << "fine" << true;
    QTest::newRow("MK3 alternate") << "mk3alt" << "MK3 0000:03:00.0 p0" << "fine" << true;
    QTest::newRow("MK4") << "mk4" << "MK4 0000:04:01.0 p0" << "fine" << true;
    QTest::newRow("same chip, other maker") << "other" << "" << "stops" << true;
    QTest::newRow("no device list") << "nolist" << "" << "unknown" << false;
    QTest::newRow("chip with unreadable subsystem") << "unreadable" << "" << "unknown" << false;
    QTest::newRow("card and an unreadable device")
        << "cardandunreadable" << "MK4 0000:04:01.0 p0" << "fine unknown" << false;
}

void TestCardCheck::findsCards()
{
    QFETCH(QString, layout);
    QFETCH(QString, cards);
    QFETCH(QString, severity);
    QFETCH(bool, checkable);

    FakeSystemTree tree;
    if (layout != QLatin1String("nolist")) {
        tree.addPciFolder();
        tree.addDevice(QStringLiteral("0000:00:00.0"), 0x8086, 0x1237, 0x1af4, 0x1100);
    }
    if (layout == QLatin1String("mk3"))
        tree.addDevice(QStringLiteral("0000:03:00.0"), 0xE159, 0x0001, 0x1212, 0x0002);
    if (layout == QLatin1String("mk3alt"))
        tree.addDevice(QStringLiteral("0000:03:00.0"), 0xE159, 0x0001, 0x1212, 0x0003);
    if (layout == QLatin1String("mk4") || layout == QLatin1String("cardandunreadable"))
        tree.addDevice(QStringLiteral("0000:04:01.0"), 0xE159, 0x0001, 0x5213, 0x0002);
    if (layout == QLatin1String("other")) {
        // A modem on the same chip, and the MK4 subsystem with a wrong device.
        tree.addDevice(QStringLiteral("0000:03:00.0"), 0xE159, 0x0001, 0x1234, 0x0002);
        tree.addDevice(QStringLiteral("0000:03:01.0"), 0xE159, 0x0001, 0x5213, 0x0001);
        tree.addDevice(QStringLiteral("0000:03:02.0"), 0xE159, 0x0002, 0x1212, 0x0002);
    }
    if (layout == QLatin1String("unreadable")) {
        tree.addDevice(QStringLiteral("0000:03:00.0"), 0xE159, 0x0001, 0x1212, 0x0002);
        tree.makeUnreadable(QStringLiteral("sys/bus/pci/devices/0000:03:00.0/subsystem_vendor"));
    }
    if (layout == QLatin1String("cardandunreadable"))
        tree.makeUnreadable(QStringLiteral("sys/bus/pci/devices/0000:00:00.0/vendor"));

    const CardCheckResult result = checkCard(setupFor(tree));
    QCOMPARE(cardList(result), cards);
    QCOMPARE(severities(findingsOn(result, FindingTopic::Card)), severity);
    QCOMPARE(result.cardsCheckable, checkable);
}

void TestCardCheck::numbersCardsInPciOrder()
{
    FakeSystemTree tree;
    // Written in reverse so that the order cannot come from creation.
    tree.addDevice(QStringLiteral("0000:0a:00.0"), 0xE159, 0x0001, 0x5213, 0x0003);
    tree.addDevice(QStringLiteral("0000:02:00.0"), 0xE159, 0x0001, 0x1212, 0x0002);
    const CardCheckResult result = checkCard(setupFor(tree));
    QCOMPARE(cardList(result), QStringLiteral("MK3 0000:02:00.0 p0, MK4 0000:0a:00.0 p1"));
    const QList<CardFinding> cards = findingsOn(result, FindingTopic::Card);
    QCOMPARE(cards.size(), 2);
    QVERIFY(cards.at(1).sentence.contains(QLatin1String("MK4 card is at PCI address 0000:0a:00.0; -p 1")));
}

void TestCardCheck::readsKernelConfig_data()
{
    QTest::addColumn<QByteArray>("bootConfig"); // empty: no file
    QTest::addColumn<QByteArray>("gzConfig");   // empty: no file; "damaged": not gzip
    QTest::addColumn<QString>("severity");
    QTest::addColumn<QString>("source");

    const QByteArray set = "CONFIG_X86=y\nCONFIG_X86_IOPL_IOPERM=y\nCONFIG_X86_IOPL_IOPERM_X=n\n";
    const QByteArray notSet = "CONFIG_X86=y\n# CONFIG_X86_IOPL_IOPERM is not set\n";
    const QByteArray absent = "CONFIG_X86=y\nCONFIG_X86_VSYSCALL_EMULATION=y\n";

    QTest::newRow("set in /boot") << set << QByteArray() << "fine" << "/boot/config-6.1.0-test-amd64";
    QTest::newRow("not set in /boot") << notSet << QByteArray() << "stops" << "/boot/config";
    QTest::newRow("not mentioned") << absent << QByteArray() << "unknown" << "does not mention";
    QTest::newRow("no configuration") << QByteArray() << QByteArray() << "unknown" << "could be read";
    QTest::newRow("set in config.gz") << QByteArray() << set << "fine" << "/proc/config.gz";
    QTest::newRow("not set in config.gz") << QByteArray() << notSet << "stops" << "/proc/config.gz";
    QTest::newRow("damaged config.gz") << QByteArray() << QByteArray("damaged") << "unknown"
                                       << "could not be unpacked";
    QTest::newRow("/boot comes first") << set << notSet << "fine" << "/boot/config";
}

void TestCardCheck::readsKernelConfig()
{
    QFETCH(QByteArray, bootConfig);
    QFETCH(QByteArray, gzConfig);
    QFETCH(QString, severity);
    QFETCH(QString, source);

    FakeSystemTree tree;
    tree.setRelease(release);
    // A configuration of another kernel must not count.
    tree.write(QStringLiteral("boot/config-5.10.0-old"), "CONFIG_X86_IOPL_IOPERM=y\n");
    if (!bootConfig.isEmpty())
        tree.write(QStringLiteral("boot/config-") + QLatin1String(release), bootConfig);
    if (gzConfig == "damaged")
        tree.write(QStringLiteral("proc/config.gz"), QByteArray("\x1f\x8b\x08\x00garbage", 12));
    else if (!gzConfig.isEmpty())
        tree.writeGzipped(QStringLiteral("proc/config.gz"), gzConfig);

    const QList<CardFinding> kernel = findingsOn(checkCard(setupFor(tree)), FindingTopic::KernelPorts);
    QCOMPARE(severities(kernel), severity);
    QVERIFY2(kernel.first().sentence.contains(source), qPrintable(kernel.first().sentence));
    if (severity == QLatin1String("stops"))
        QVERIFY(kernel.first().sentence.contains(QLatin1String("\"No access to I/O ports\"")));
}

void TestCardCheck::readsPortPermission_data()
{
    QTest::addColumn<QByteArray>("status"); // empty: no file
    QTest::addColumn<bool>("asRoot");
    QTest::addColumn<QString>("permission");
    QTest::addColumn<QString>("privilege");

    const QByteArray noRawIo = "CapEff:\t000001fffffdffff\nCapBnd:\t000001fffffdffff\nNoNewPrivs:\t0\n";
    QTest::newRow("root with every right") << fullRights << true << "fine" << "fine";
    QTest::newRow("root in a container") << noRawIo << true << "stops" << "fine";
    QTest::newRow("user, set-user-ID may take ports") << fullRights << false << "fine" << "";
    QTest::newRow("user in a container") << noRawIo << false << "stops" << "";
    QTest::newRow("user with no_new_privs")
        << QByteArray("CapEff:\t0000000000000000\nCapBnd:\t000001ffffffffff\nNoNewPrivs:\t1\n")
        << false << "fine" << "stops";
    QTest::newRow("no status file") << QByteArray() << true << "unknown" << "fine";
}

void TestCardCheck::readsPortPermission()
{
    QFETCH(QByteArray, status);
    QFETCH(bool, asRoot);
    QFETCH(QString, permission);
    QFETCH(QString, privilege);

    FakeSystemTree tree;
    if (!status.isEmpty())
        tree.write(QStringLiteral("proc/self/status"), QByteArray("Name:\tferncastle\n").append(status));
    QTemporaryDir noTools; // both tools missing: their findings say so
    CardCheckSetup setup = setupFor(tree, asRoot);
    setup.toolsFolder = noTools.path() + u'/';

    const CardCheckResult result = checkCard(setup);
    QCOMPARE(severities(findingsOn(result, FindingTopic::PortPermission)), permission);
    QList<CardFinding> general;
    for (const CardFinding &finding : findingsOn(result, FindingTopic::Privilege)) {
        if (finding.tool.isEmpty())
            general.append(finding);
    }
    QCOMPARE(severities(general), privilege);
}

void TestCardCheck::checksToolPrivilege_data()
{
    QTest::addColumn<uint>("owner");
    QTest::addColumn<uint>("mode");
    QTest::addColumn<QString>("severity");
    QTest::addColumn<QString>("reason");

    QTest::newRow("root, set-user-ID") << 0u << 04755u << "fine:cw2dmk fine:dmk2cw" << "runs with root's rights";
    QTest::newRow("root, no set-user-ID") << 0u << 0755u << "stops:cw2dmk stops:dmk2cw"
                                          << "does not have the set-user-ID bit";
    QTest::newRow("set-user-ID, owned by nobody") << uint(nobody) << 04755u
                                                  << "stops:cw2dmk stops:dmk2cw" << "is not owned by root";
    QTest::newRow("neither") << uint(nobody) << 0755u << "stops:cw2dmk stops:dmk2cw" << "is not owned by root";
}

void TestCardCheck::checksToolPrivilege()
{
    QFETCH(uint, owner);
    QFETCH(uint, mode);
    QFETCH(QString, severity);
    QFETCH(QString, reason);
    if (::geteuid() != 0)
        QSKIP("giving files to root or to another user needs root");

    FakeSystemTree tree;
    QTemporaryDir tools;
    const QString cw2dmk = makeTool(tools.path(), QStringLiteral("cw2dmk"), owner, mode);
    const QString dmk2cw = makeTool(tools.path(), QStringLiteral("dmk2cw"), owner, mode);
    CardCheckSetup setup = setupFor(tree, false);
    setup.toolsFolder = tools.path() + u'/';

    const CardCheckResult result = checkCard(setup);
    const QList<CardFinding> toolFindings = findingsOn(result, FindingTopic::Privilege);
    QCOMPARE(severities(toolFindings), severity);
    QVERIFY2(toolFindings.first().sentence.contains(reason), qPrintable(toolFindings.first().sentence));
    const bool needed = severity.startsWith(QLatin1String("stops"));
    QCOMPARE(result.filesNeedingRootRights, needed ? (QStringList{cw2dmk, dmk2cw}) : QStringList());
    if (needed) {
        QVERIFY(toolFindings.first().sentence.contains(QLatin1String("\"Must be setuid to root or be run as root\"")));
        QVERIFY(toolFindings.first().fix.contains(QStringLiteral("sudo chmod u+s ") + cw2dmk));
    }
}

void TestCardCheck::findsNosuidMounts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("mount"); // empty: not nosuid

    QTest::newRow("root file system") << "/usr/local/bin/cw2dmk" << "";
    QTest::newRow("nosuid home") << "/home/ann/bin/cw2dmk" << "/home";
    QTest::newRow("mounted over with suid") << "/media/usb/cw2dmk" << "";
    QTest::newRow("prefix is not a parent") << "/homework/cw2dmk" << "";
    QTest::newRow("escaped blank") << "/mnt/my disk/cw2dmk" << "/mnt/my disk";
}

void TestCardCheck::findsNosuidMounts()
{
    QFETCH(QString, file);
    QFETCH(QString, mount);
    const QByteArray mountInfo =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "30 22 8:2 / /home rw,nosuid,nodev shared:2 - ext4 /dev/sda2 rw\n"
        "31 22 8:17 / /media/usb rw,nosuid - vfat /dev/sdb1 rw\n"
        "32 31 8:17 / /media/usb rw,relatime - vfat /dev/sdb1 rw\n"
        "33 22 8:33 / /mnt/my\\040disk rw,nosuid - ext4 /dev/sdc1 rw\n";
    const std::optional<QString> found = nosuidMountOf(mountInfo, file);
    QCOMPARE(found.value_or(QString()), mount);
}

void TestCardCheck::setUserIdIsIgnoredOnNosuidMounts()
{
    if (::geteuid() != 0)
        QSKIP("giving files to root needs root");
    FakeSystemTree tree;
    QTemporaryDir tools;
    makeTool(tools.path(), QStringLiteral("cw2dmk"), 0, 04755);
    makeTool(tools.path(), QStringLiteral("dmk2cw"), 0, 0755);
    tree.write(QStringLiteral("proc/self/mountinfo"),
               "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n30 22 8:2 / " + QFile::encodeName(tools.path())
                   + " rw,nosuid - tmpfs tmpfs rw\n");
    CardCheckSetup setup = setupFor(tree, false);
    setup.toolsFolder = tools.path() + u'/';

    const CardCheckResult result = checkCard(setup);
    const QList<CardFinding> toolFindings = findingsOn(result, FindingTopic::Privilege);
    QCOMPARE(severities(toolFindings), QStringLiteral("stops:cw2dmk stops:dmk2cw"));
    QVERIFY2(toolFindings.first().sentence.contains(QLatin1String("mounted nosuid")),
             qPrintable(toolFindings.first().sentence));
    // Owner and bit cannot help there, so the fix is not offered.
    QVERIFY(result.filesNeedingRootRights.isEmpty());
}

void TestCardCheck::namesTheRealFileBehindALink()
{
    FakeSystemTree tree;
    QTemporaryDir tools;
    QDir(tools.path()).mkpath(QStringLiteral("real"));
    const QString real = makeTool(tools.filePath(QStringLiteral("real")), QStringLiteral("cw2dmk-4.10"),
                                  ::geteuid(), 0755);
    QFile::link(real, tools.filePath(QStringLiteral("cw2dmk")));
    CardCheckSetup setup = setupFor(tree, false);
    setup.toolsFolder = tools.path() + u'/';

    const CardCheckResult result = checkCard(setup);
    QCOMPARE(result.filesNeedingRootRights, QStringList{real});
    const QList<CardFinding> toolFindings = findingsOn(result, FindingTopic::Privilege);
    QCOMPARE(severities(toolFindings), QStringLiteral("stops:cw2dmk unknown:dmk2cw"));
    QVERIFY(toolFindings.at(1).fix.contains(QLatin1String("Options, Preferences")));
}

void TestCardCheck::findsToolsOnPath()
{
    FakeSystemTree tree;
    QTemporaryDir bin;
    const QString cw2dmk = makeTool(bin.path(), QStringLiteral("cw2dmk"), ::geteuid(), 0755);
    const QString dmk2cw = makeTool(bin.path(), QStringLiteral("dmk2cw"), ::geteuid(), 0755);
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()));
    const CardCheckResult result = checkCard(setupFor(tree, false));
    qputenv("PATH", savedPath);
    QCOMPARE(result.filesNeedingRootRights, (QStringList{cw2dmk, dmk2cw}));
}

void TestCardCheck::rootNeedsNoToolRights()
{
    FakeSystemTree tree;
    QTemporaryDir tools;
    makeTool(tools.path(), QStringLiteral("cw2dmk"), ::geteuid(), 0755);
    CardCheckSetup setup = setupFor(tree, true);
    setup.toolsFolder = tools.path() + u'/';
    const CardCheckResult result = checkCard(setup);
    QCOMPARE(severities(findingsOn(result, FindingTopic::Privilege)), QStringLiteral("fine"));
    QVERIFY(result.filesNeedingRootRights.isEmpty());
}

void TestCardCheck::otherProcessorsCannotUseTheCard()
{
    FakeSystemTree tree;
    tree.setRelease(release);
    tree.write(QStringLiteral("boot/config-") + QLatin1String(release), "CONFIG_X86_IOPL_IOPERM=y\n");
    CardCheckSetup setup = setupFor(tree);
    setup.architecture = QStringLiteral("aarch64");
    const CardCheckResult result = checkCard(setup);
    QCOMPARE(severities(findingsOn(result, FindingTopic::Architecture)), QStringLiteral("stops"));
    QVERIFY(findingsOn(result, FindingTopic::KernelPorts).isEmpty());
    QVERIFY(findingsOn(result, FindingTopic::PortPermission).isEmpty());

    setup.architecture = QStringLiteral("i686");
    QCOMPARE(severities(findingsOn(checkCard(setup), FindingTopic::Architecture)), QStringLiteral("fine"));
}

void TestCardCheck::quotesTypedCommands()
{
    const QStringList files = {QStringLiteral("/usr/local/bin/cw2dmk"),
                               QStringLiteral("/opt/my tools/it's/dmk2cw")};
    QCOMPARE(rootRightsCommands(files),
             (QStringList{QStringLiteral("sudo chown root /usr/local/bin/cw2dmk '/opt/my tools/it'\\''s/dmk2cw'"),
                          QStringLiteral("sudo chmod u+s /usr/local/bin/cw2dmk '/opt/my tools/it'\\''s/dmk2cw'")}));
}

QTEST_GUILESS_MAIN(TestCardCheck)
#include "tst_cardcheck.moc"
