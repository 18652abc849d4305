#include "app/screenshottour.h"

#include "gui/editors/hosteditor.h"
#include "gui/editors/newprimaryzonedialog.h"
#include "gui/editors/primaryzonewizard.h"
#include "gui/editors/soaeditor.h"
#include "gui/editors/zoneeditors.h"
#include "gui/help/helpwindow.h"
#include "gui/mainwindow/mainwindow.h"
#include "gui/servers/newserverwizard.h"
#include "gui/zonebrowser/domaineditpage.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

namespace {

// Lets the windows lay themselves out and paint before they are drawn.
void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

QTreeWidgetItem* childNamed(QTreeWidgetItem* parent, const QString& text)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    }
    return nullptr;
}

// A right click on the node, as the browser's commands expect before they act on it.
void pointAt(DomainEditPage* page, QTreeWidgetItem* item)
{
    page->primaryTree->setCurrentItem(item);
    page->primaryTree->scrollToItem(item);
    page->pressPrimaryTree(page->primaryTree->visualItemRect(item).center(), Qt::RightButton);
}

} // namespace

ScreenshotTour::ScreenshotTour(MainWindow& window, QString folder)
    : QObject(&window), m_window(window), m_folder(std::move(folder))
{
}

void ScreenshotTour::run()
{
    QDir().mkpath(m_folder);
    m_window.resize(960, 680);
    shootPages();
    shootEditors();
    shootWizards();
    shootOtherDialogs();
    std::fprintf(stdout, "%d screenshots in %s\n", m_count, qPrintable(QDir::toNativeSeparators(m_folder)));
    QApplication::exit(m_failed ? 1 : 0);
}

void ScreenshotTour::shoot(QWidget* widget, const QString& name)
{
    settle();
    const QString file =
        QDir(m_folder).filePath(QStringLiteral("%1-%2.png").arg(++m_count, 2, 10, QLatin1Char('0')).arg(name));
    // Quality 0 is the strongest compression for PNG: small files for the documentation.
    if (!widget->grab().save(file, "PNG", 0)) {
        std::fprintf(stderr, "quorvane: %s could not be saved\n", qPrintable(file));
        m_failed = true;
    }
}

void ScreenshotTour::shootPages()
{
    auto* pages = m_window.findChild<QTabWidget*>(QStringLiteral("pages"));
    DomainEditPage* domains = m_window.domainEdit();
    // The first zone open to its records, so that the values beside them show.
    if (QTreeWidgetItem* zone = domains->primaryTree->topLevelItem(0)) {
        zone->setExpanded(true);
        for (int i = 0; i < zone->childCount(); ++i)
            zone->child(i)->setExpanded(true);
    }
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        shoot(&m_window, QStringLiteral("page-") + pages->widget(i)->objectName());
    }
}

void ScreenshotTour::shootEditors()
{
    auto* pages = m_window.findChild<QTabWidget*>(QStringLiteral("pages"));
    DomainEditPage* domains = m_window.domainEdit();
    pages->setCurrentWidget(domains);
    QTreeWidgetItem* zone = domains->primaryTree->topLevelItem(0);
    if (!zone)
        return;
    if (QTreeWidgetItem* hosts = childNamed(zone, QStringLiteral("Host Addresses")); hosts && hosts->childCount()) {
        pointAt(domains, hosts->child(hosts->childCount() - 1));
        domains->editRecord();
        HostEditor* editor = m_window.zoneEditors()->hostEditor();
        shoot(editor, QStringLiteral("dialog-HostEditor"));
        editor->cancelit->click();
    }
    if (QTreeWidgetItem* timing = childNamed(zone, QStringLiteral("Update Timing")); timing && timing->childCount()) {
        pointAt(domains, timing->child(1));
        domains->editRecord();
        SoaEditor* editor = m_window.zoneEditors()->soaEditor();
        shoot(editor, QStringLiteral("dialog-SoaEditor"));
        editor->cancelit->click();
    }
}

void ScreenshotTour::shootWizards()
{
    NewServerWizard* server = m_window.newServerWizard();
    server->showNewServerWizard();
    shoot(server, QStringLiteral("dialog-NewServerWizard"));
    server->reject();

    auto* create = m_window.findChild<NewPrimaryZoneDialog*>();
    auto* wizard = m_window.findChild<PrimaryZoneWizard*>();
    if (!create || !wizard)
        return;
    create->show();
    create->newname->setText(QStringLiteral("shop.example.com"));
    shoot(create, QStringLiteral("dialog-NewPrimaryZoneDialog"));
    // The wizard works on a zone of its own, which leaving it without "Finish" deletes again.
    create->startwizardClick();
    if (!wizard->isVisible())
        return;
    wizard->nexts[0]->click();
    wizard->ips[0]->setText(QStringLiteral("192.0.2.80"));
    shoot(wizard, QStringLiteral("dialog-PrimaryZoneWizard"));
    wizard->reject();
}

void ScreenshotTour::shootModal(const QString& name, const std::function<void()>& open)
{
    // The dialog waits in a loop of its own: it is drawn and closed from there.
    QTimer::singleShot(0, this, [this, name] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shoot(dialog, name);
            dialog->reject();
        }
    });
    open();
}

void ScreenshotTour::shootOtherDialogs()
{
    DomainEditPage* domains = m_window.domainEdit();
    m_window.openHelpFor(domains->primaryTree);
    if (HelpWindow* help = m_window.helpWindow()) {
        shoot(help, QStringLiteral("dialog-HelpWindow"));
        help->close();
    }
    if (QTreeWidgetItem* zone = domains->primaryTree->topLevelItem(0)) {
        domains->primaryTree->setCurrentItem(zone);
        shootModal(QStringLiteral("dialog-ZoneFileViewer"), [domains] { domains->viewZoneFile(); });
    }
    shootModal(QStringLiteral("dialog-DeleteServerDialog"), [this] { m_window.deleteserverClick(); });
}
