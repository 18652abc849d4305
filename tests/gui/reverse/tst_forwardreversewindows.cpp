// The sample server in the desktop program with its real message boxes, driven as a person drives it: an IPv6
// host added from the tree and shown with its family, a second address of the same host, the "Forward and
// Reverse" window finding the pointer they lack and fixing it as one revision, the "Reverse Zones" choice with a
// refusal first, and the deletion of the mail host asked with what points to it.
#include "../mainwindow/sampledesk.h"
#include "gui/editors/hosteditor.h"
#include "gui/editors/zoneeditors.h"
#include "gui/reverse/forwardreversewindow.h"
#include "gui/reverse/reversezonesdialog.h"
#include "gui/zonebrowser/domaineditpage.h"
#include "server/history/serverhistory.h"
#include "session/reverseprefixes.h"
#include "support/modaldriver.h"
#include "support/testfiles.h"
#include "support/zonecheck.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

QStringList childTexts(const QTreeWidgetItem* group)
{
    QStringList texts;
    for (int i = 0; i < group->childCount(); ++i)
        texts << group->child(i)->text(0) + QStringLiteral(" | ") + group->child(i)->text(1);
    return texts;
}

QString messageText(QWidget* modal)
{
    auto* box = qobject_cast<QMessageBox*>(modal);
    return box ? box->text() : QStringLiteral("<not a message box: %1>").arg(modal->metaObject()->className());
}

void press(QWidget* modal, QMessageBox::StandardButton button)
{
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        QTest::mouseClick(box->button(button), Qt::LeftButton);
}

} // namespace

class TstForwardReverseWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void ipv6HostsThenForwardAndReverse();
    void reverseZonesChoice();
    void deletingTheMailHost();

private:
    DomainEditPage* page() const { return m_desk->window->domainEdit(); }
    QString zoneFile(const QString& zone) const
    {
        return m_desk->state.zoneLists.datapath + QLatin1Char('/') + zone + QStringLiteral(".DNS");
    }
    void addHost(const QString& name, const QString& address);

    std::unique_ptr<SampleDesk> m_desk;
};

void TstForwardReverseWindows::init()
{
    m_desk = std::make_unique<SampleDesk>();
}

void TstForwardReverseWindows::cleanup()
{
    QVERIFY(!QApplication::activeModalWidget());
    m_desk.reset();
}

void TstForwardReverseWindows::addHost(const QString& name, const QString& address)
{
    HostEditor* editor = m_desk->window->zoneEditors()->hostEditor();
    m_desk->selectInTree(m_desk->group(QStringLiteral("example.com"), QStringLiteral("Host Addresses")));
    pressKey(Qt::Key_Insert);
    QTRY_VERIFY(editor->isVisible());
    QTRY_COMPARE(keyboardFocus(), editor->first);
    typeText(name);
    pressKey(Qt::Key_Tab);
    typeText(address);
    pressKey(Qt::Key_Return);
    QTRY_VERIFY(!editor->isVisible());
}

void TstForwardReverseWindows::ipv6HostsThenForwardAndReverse()
{
    addHost(QStringLiteral("v6host.example.com"), QStringLiteral("2001:DB8:0::10"));
    addHost(QStringLiteral("v6host.example.com"), QStringLiteral("192.0.2.77"));
    const QStringList shown =
        childTexts(m_desk->group(QStringLiteral("example.com"), QStringLiteral("Host Addresses")));
    QVERIFY2(shown.contains(QStringLiteral("v6host.example.com. | 2001:db8::10  (IPv6)")),
             qPrintable(shown.join('\n')));
    QVERIFY2(shown.contains(QStringLiteral("v6host.example.com. | 192.0.2.77")), qPrintable(shown.join('\n')));
    const QByteArray zone = readBytes(zoneFile(QStringLiteral("example.com")));
    QVERIFY(zone.contains("\r\nv6host.example.com.     IN     AAAA     2001:db8::10\r\n"));
    QVERIFY(zone.contains("\r\nv6host.example.com.     IN     A     192.0.2.77 \r\n"));

    // Neither address has a pointer yet: the window lists both, and Fix All adds them as one revision.
    auto* menuItem = m_desk->window->findChild<QAction*>(QStringLiteral("forwardreversemenu"));
    QVERIFY(menuItem && menuItem->isEnabled());
    QStringList found;
    QString afterFix;
    ModalDriver driver;
    driver.then([&](QWidget* modal) {
        auto* window = qobject_cast<ForwardReverseWindow*>(modal);
        QVERIFY(window);
        for (int i = 0; i < window->findings->topLevelItemCount(); ++i)
            found << window->findings->topLevelItem(i)->text(0);
        QVERIFY(!window->fixselected->isEnabled());
        QTest::mouseClick(window->fixall, Qt::LeftButton);
        afterFix = window->summary->text();
        QVERIFY(!window->fixall->isEnabled());
        QTest::mouseClick(window->closeit, Qt::LeftButton);
    });
    menuItem->trigger();
    QVERIFY2(driver.finish(), qPrintable(driver.problems().join(QLatin1Char('\n'))));
    QCOMPARE(found, (QStringList{"Host without a pointer: v6host.example.com. has the address 192.0.2.77, which no "
                                 "pointer maps back.",
                                 "Host without a pointer: v6host.example.com. has the address 2001:db8::10, which no "
                                 "pointer maps back."}));
    QVERIFY2(afterFix.startsWith(QStringLiteral("Forward and reverse mapping agree")), qPrintable(afterFix));
    ServerHistory history(m_desk->state.boot.bootDirectory, m_desk->state.zoneLists.datapath);
    QCOMPARE(history.revisions()->first().summary,
             QStringLiteral("Fix forward and reverse mapping: 2 pointers added or pointed at their host"));
    QVERIFY(readBytes(m_desk->state.zoneLists.datapath + QStringLiteral("/2.0.192.IN-ADDR.ARPA.reverse.DNS"))
                .contains("\r\n77     IN     PTR     v6host.example.com.\r\n"));
    QUORVANE_VERIFY_ZONES_LOAD(QDir(m_desk->state.boot.bootDirectory).filePath(QStringLiteral("named.boot")),
                               m_desk->state.zoneLists.datapath);
}

void TstForwardReverseWindows::reverseZonesChoice()
{
    auto* menuItem = m_desk->window->findChild<QAction*>(QStringLiteral("reversezonesmenu"));
    QVERIFY(menuItem && menuItem->isEnabled());
    QString refusal;
    bool closed = false;
    ModalDriver driver;
    driver
        .then([&](QWidget* modal) {
            auto* dialog = qobject_cast<ReverseZonesDialog*>(modal);
            QVERIFY(dialog);
            QTRY_COMPARE(keyboardFocus(), static_cast<QWidget*>(dialog->prefixes));
            typeText(QStringLiteral("2001:db8::/50"));
            // Saving asks in a box of its own, which the next step answers.
            QMetaObject::invokeMethod(dialog->saveit, &QPushButton::click, Qt::QueuedConnection);
        })
        .then([&](QWidget* modal) {
            refusal = messageText(modal);
            press(modal, QMessageBox::Ok);
            // The dialog stays open with the text: corrected, it saves and closes.
            auto* dialog = m_desk->window->findChild<ReverseZonesDialog*>();
            QTimer::singleShot(0, dialog, [dialog, &closed] {
                dialog->prefixes->setPlainText(QStringLiteral("2001:db8::/48\n192.0.2.64/26"));
                QTest::mouseClick(dialog->saveit, Qt::LeftButton);
                closed = !dialog->isVisible();
            });
        });
    menuItem->trigger();
    QVERIFY2(driver.finish(), qPrintable(driver.problems().join(QLatin1Char('\n'))));
    QCOMPARE(
        refusal,
        QStringLiteral("An IPv6 reverse zone covers a prefix whose length is a multiple of 4; 2001:db8::/50 is not."));
    QVERIFY(closed);
    QCOMPARE(reversePrefixesText(reversePrefixes(m_desk->store, m_desk->state)),
             QStringLiteral("2001:db8::/48 192.0.2.64/26"));
}

void TstForwardReverseWindows::deletingTheMailHost()
{
    // Twice: kept first ("No", the default button), then, with the host added again, deleted with them ("Yes").
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        QTreeWidgetItem* hosts = m_desk->group(QStringLiteral("example.com"), QStringLiteral("Host Addresses"));
        QTreeWidgetItem* mail = nullptr;
        for (int i = 0; i < hosts->childCount() && !mail; ++i)
            mail = hosts->child(i)->text(0) == QLatin1String("mail.example.com.") ? hosts->child(i) : nullptr;
        QVERIFY(mail);
        m_desk->selectInTree(mail);
        QString question;
        bool noIsDefault = false;
        ModalDriver driver;
        driver.then([&](QWidget* modal) {
            question = messageText(modal);
            auto* box = qobject_cast<QMessageBox*>(modal);
            noIsDefault = box && box->defaultButton() == box->button(QMessageBox::No);
            press(modal, answer);
        });
        pressKey(Qt::Key_Delete);
        QVERIFY2(driver.finish(), qPrintable(driver.problems().join(QLatin1Char('\n'))));
        QVERIFY(noIsDefault);
        QVERIFY2(question.startsWith(QStringLiteral("Are you sure you want to delete the host mail.example.com. "
                                                    "(192.0.2.25)? These records point to it (")),
                 qPrintable(question));
        for (const QString& pointing :
             {QStringLiteral("webmail.example.com. CNAME mail.example.com."), QStringLiteral(" mail.example.com.;"),
              QStringLiteral("25.2.0.192.IN-ADDR.ARPA. PTR mail.example.com.")})
            QVERIFY2(question.contains(pointing), qPrintable(question));
        const QByteArray zone = readBytes(zoneFile(QStringLiteral("example.com")));
        QVERIFY(!zone.contains("mail.example.com.     IN     A"));
        if (answer == QMessageBox::No) {
            QVERIFY(zone.contains("webmail.example.com.     IN     CNAME     mail.example.com. "));
            addHost(QStringLiteral("mail.example.com"), QStringLiteral("192.0.2.25"));
            continue;
        }
        // Deleted with everything that pointed to it: the zone loads without a dangling name.
        QVERIFY2(!zone.contains("mail.example.com"), zone.constData());
        QVERIFY(!childTexts(m_desk->group(QStringLiteral("example.com"), QStringLiteral("Aliases")))
                     .join(QLatin1Char(' '))
                     .contains(QStringLiteral("webmail")));
        QUORVANE_VERIFY_ZONES_LOAD(QDir(m_desk->state.boot.bootDirectory).filePath(QStringLiteral("named.boot")),
                                   m_desk->state.zoneLists.datapath);
    }
}

QTEST_MAIN(TstForwardReverseWindows)
#include "tst_forwardreversewindows.moc"
