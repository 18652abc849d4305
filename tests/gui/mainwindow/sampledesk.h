#pragma once

#include "gui/common/guiprompter.h"
#include "gui/mainwindow/mainwindow.h"
#include "platform/settingsstore.h"
#include "session/appstate.h"
#include "support/fakeplatform.h"

#include <QTemporaryDir>
#include <memory>

class QTreeWidgetItem;

// The desktop program as a person starts it with "--sample": the main window with the real prompter (real
// message boxes, questions and pickers), the sample server made in a data folder of the test's own and loaded.
// The administrator's address is stored already, so that the start asks nothing.
struct SampleDesk
{
    SampleDesk();
    ~SampleDesk();

    // The zone's node of the primary tree, its records read (expanded).
    QTreeWidgetItem* zone(const QString& name) const;
    // A group ("Host Addresses", ...) of the zone's node.
    QTreeWidgetItem* group(const QString& zoneName, const QString& label) const;
    // Brings the "Domain Edit" page to the front with the keyboard in the primary tree at the node.
    void selectInTree(QTreeWidgetItem* item) const;
    QString dataPath(const QString& relative = QString()) const;
    // Every file under the data folder with its bytes, for proving that nothing changed.
    QMap<QString, QByteArray> snapshot() const;

    QTemporaryDir dir;
    FakePlatform platform;
    SettingsStore store;
    AppState state;
    GuiPrompter prompter;
    std::unique_ptr<MainWindow> window;
};
