#pragma once

#include "server/bootload.h"

#include <QList>
#include <QString>
#include <optional>

class Prompter;

// One network block whose reverse zone the server copies from another server.
struct SecondaryReverseBlock
{
    QString zone;    // the agreeing octets of the block in reverse order, with ".IN-ADDR.ARPA"
    QString master;  // the server the zone is copied from
    QString display; // lowest + " <--> " + highest + " on server: " + master

    // The working entry of the dialog's list: zone, five blanks, master.
    QString workingEntry() const;
    // The boot file entry, without its comment.
    QString bootLine() const;
};

// The reverse zone of a block: the octets in which the two addresses agree, counted from the first up to the
// first in which they differ, in reverse order. None when the addresses are no addresses or their first octets
// already differ, since no reverse zone holds such a block.
std::optional<QString> secondaryReverseZone(const QString& lowest, const QString& highest);

// The dialog's "Add": the three fields checked in order, each failure shown with its message. The block, or
// none when a check failed.
std::optional<SecondaryReverseBlock> makeSecondaryReverseBlock(const QString& lowest, const QString& highest,
                                                               const QString& master, Prompter& prompter);

// The dialog's "Save": each block goes into the boot file's secondary reverse entries with its display text,
// and the boot file is saved and read again.
BootReadResult saveSecondaryReverseBlocks(BootContext& context, const QList<SecondaryReverseBlock>& blocks);

// "Delete " of the "Secondary Reverse Mapping Only:" list: asks, and on Yes removes the entry at the position
// and saves and reads the boot file again. False when nothing was selected or the user answered No.
bool deleteSecondaryReverse(BootContext& context, int index);

// "Reset Reverse Mapping": forgets every answer of the host-name question. Nothing else depends on them, so the
// program goes on; the caller stores the settings.
void resetReverseMapping(AppState& state);
