#pragma once

#include <QDialog>
#include <functional>
#include <optional>

class QListWidget;
class QPushButton;

// The "Delete Server" dialog: the servers' display names in catalog order, "Delete" and "Cancel". The
// deletion itself is the caller's, given the selected name; it says whether the server went.
class DeleteServerDialog : public QDialog
{
    Q_OBJECT
public:
    using DeleteSelected = std::function<bool(const std::optional<QString>& selectedName)>;

    DeleteServerDialog(const QStringList& names, DeleteSelected deleteSelected, QWidget* parent = nullptr);

    QListWidget* serverlist;
    QPushButton* deleteit;
    QPushButton* cancelit;

private:
    void deleteitClick();

    DeleteSelected m_deleteSelected;
};
