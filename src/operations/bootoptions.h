#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Prompter;

// The advanced options of a boot file as the "Addl Properties" page shows them.
struct BootOptions
{
    bool forwardOnly = false;
    bool noRecursion = false;
    bool queryLog = false;
    bool limitTransfersIn = false;
    QString transfersIn;
    bool limitTransfersPerNs = false;
    QString transfersPerNs;
    QStringList xfrnets;
    QStringList bogusns;
    QStringList forwarders;

    bool operator==(const BootOptions&) const = default;
};

// The three kinds of list entry the "Add..." dialog takes.
enum class OptionEntryKind { Xfr, Bogus, Forwarder };

QString optionEntryKindName(OptionEntryKind kind); // "XFR", "BOGUS", "FORWARDER"
QString optionEntryCaption(OptionEntryKind kind);  // "Add XFRNET", ...
QString optionEntryRejection(OptionEntryKind kind); // the "entered incorrectly" text

// Reads the page's state from the boot option lines ("forwarders", "options", "limit", "xfrnets", "bogusns").
BootOptions parseBootOptionLines(const QStringList& lines);

// The boot option lines for the page's state, in their fixed order.
QStringList bootOptionLines(const BootOptions& options);

// The text of the first "Update" check that fails, if any.
std::optional<QString> bootOptionsProblem(const BootOptions& options);

// "Update": checks the page's state, replaces the option lines and has the boot file written. A failed check is
// shown with the caption "Re-Enter." and changes nothing; a failed write (reported by the writer) puts the
// previous lines back. True when the boot file was written.
bool updateBootOptions(const BootOptions& options, QStringList& optionLines, Prompter& prompter,
                       const std::function<bool()>& writeBootFile);

// The address test of a list entry: an address, or an address and a mask after the last "&", each checked as
// every address field is; the empty entry passes.
bool optionEntryAccepted(const QString& text);

// The "Add" of the dialog: true when the entry may be added, otherwise the rejection is shown.
bool checkOptionEntry(OptionEntryKind kind, const QString& text, Prompter& prompter);
