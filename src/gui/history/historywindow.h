#pragma once

#include "gui/common/guiprompter.h"

#include <QDialog>

struct AppState;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// "History": the revisions of the loaded server's files, newest first, for all zones or one; the selected
// revision's changes beside them; "Revert to this revision" and "Undo Last Change", each a new revision.
class HistoryWindow : public QDialog
{
    Q_OBJECT
public:
    HistoryWindow(AppState& state, QWidget* parent);

    // Shows the revisions of one zone's file; an empty zone shows all.
    void showZone(const QString& zone);
    // Reads the history again.
    void refresh();

    QComboBox* zonefilter;
    QTreeWidget* revisions;
    QPlainTextEdit* difftext;
    QLabel* statuslabel;
    QPushButton* revert;
    QPushButton* undo;
    QPushButton* closebutton;

Q_SIGNALS:
    // Files were put back: what the main window shows of the server is to be read anew.
    void filesRestored();

private:
    void showSelected();
    void revertClick();
    void undoClick();
    QString selectedZoneFile() const;

    AppState& m_state;
    GuiPrompter m_prompter;
};
