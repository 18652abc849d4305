#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct AppState;
class Progress;
class Prompter;

// What the secondary zone operations work with beyond the program state: reading the boot file again after a
// save, the secondary tree and the busy cursor. The hooks are optional.
struct SecondaryContext
{
    AppState& state;
    Prompter& prompter;
    Progress& progress;
    std::function<void()> reloadBootFile;
    std::function<void()> rebuildSecondaryTree;
    std::function<void(bool)> showBusy;
};

// Page "One" of "Create a new Secondary Zone": no zone of that name yet (compared without regard to case,
// since the zone is kept in lower case), no illegal characters, not empty. Each refusal is reported.
bool checkNewSecondaryName(const AppState& state, const QString& name, Prompter& prompter);

// Page "Two": the master's address. Each refusal is reported.
bool checkSecondaryMaster(const QString& address, Prompter& prompter);

// "Done": the zone (taken in lower case) with its one master joins the boot file, which is saved and read again.
bool createSecondaryZone(SecondaryContext& context, const QString& name, const QString& address);

// What "Modify Secondary" opens with.
struct SecondaryEdit
{
    QString zone;        // the zone as the boot file holds it, which the save replaces
    QString name;        // the name field
    QStringList masters; // the master list
};

// The selected secondary zone's values, from its boot-file entry; none, reported, when no zone is selected,
// and none when the zone has no entry.
std::optional<SecondaryEdit> openSecondaryEdit(const AppState& state, const QString& zone, Prompter& prompter);

// "Add" of the master list: a valid address is appended (duplicates are allowed).
bool addSecondaryMaster(QStringList& masters, const QString& address, Prompter& prompter);

// "Delete" of the master list: the selected address (-1 for none) leaves the list.
bool deleteSecondaryMaster(QStringList& masters, int selected, Prompter& prompter);

// The masters as the boot-file entry holds them after a modification: each address followed by one blank.
QString secondaryMasterText(const QStringList& masters);

// "Save": replaces the zone's boot-file entry with the name, the masters and the name + ".DNS", and saves the
// boot file.
bool saveSecondaryZone(SecondaryContext& context, const SecondaryEdit& edit);

enum class SecondaryDeletion
{
    Deleted,
    NothingSelected, // reported
    Cancelled,
    BootFileFailed, // reported
};

// "Del Secondary": the selected zone leaves the lists and the boot file, which is saved and read again. The
// zone's backup file stays where it is.
SecondaryDeletion deleteSecondaryZone(SecondaryContext& context);
