#include "sampledesk.h"

#include "gui/zonebrowser/domaineditpage.h"
#include "sample/sampleserver.h"
#include "support/modaldriver.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

SampleDesk::SampleDesk()
    : platform(dir.filePath(QStringLiteral("data"))), store(dir.filePath(QStringLiteral("quorvane.ini")))
{
    store.setText(QStringLiteral("Initialization"), QStringLiteral("E-Mail Address"),
                  QStringLiteral("admin@example.com"));
    window = std::make_unique<MainWindow>(state, store, prompter, platform);
    prompter.setParent(window.get());
    setKeyboardHome(window.get());
    QSignalSpy shown(window.get(), &MainWindow::firstShown);
    window->openSampleServerAtStart();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QVERIFY(shown.count() == 1 || shown.wait(20000));
    QVERIFY(state.serverLoaded);
}

SampleDesk::~SampleDesk()
{
    window.reset();
}

QTreeWidgetItem* SampleDesk::zone(const QString& name) const
{
    QTreeWidget* tree = window->domainEdit()->primaryTree;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        if (item->text(0) == name) {
            item->setExpanded(true);
            return item;
        }
    }
    return nullptr;
}

QTreeWidgetItem* SampleDesk::group(const QString& zoneName, const QString& label) const
{
    QTreeWidgetItem* root = zone(zoneName);
    for (int i = 0; root && i < root->childCount(); ++i) {
        if (root->child(i)->text(0) == label) {
            root->child(i)->setExpanded(true);
            return root->child(i);
        }
    }
    return nullptr;
}

void SampleDesk::selectInTree(QTreeWidgetItem* item) const
{
    window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), window.get());
    DomainEditPage* page = window->domainEdit();
    window->findChild<QTabWidget*>(QStringLiteral("pages"))->setCurrentWidget(page);
    page->primaryTree->setFocus(Qt::OtherFocusReason);
    page->primaryTree->setCurrentItem(item);
}

QString SampleDesk::dataPath(const QString& relative) const
{
    return relative.isEmpty() ? platform.appDataPath() : QDir(platform.appDataPath()).filePath(relative);
}

QMap<QString, QByteArray> SampleDesk::snapshot() const
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dataPath(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            files.insert(file.fileName(), file.readAll());
    }
    return files;
}
