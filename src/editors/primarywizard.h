#pragma once

#include "session/zonecontext.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

struct AppState;
struct NewZoneServer;
class Prompter;

// The fields of the primary zone wizard's five pages and its hidden fields.
struct WizardFields
{
    QString name; // the zone, lower case
    QString user; // the responsible mailbox
    QString serial;
    QString refresh;
    QString retry;
    QString expire;
    QString minimum;
    std::array<QString, 5> names;       // name1..name5
    std::array<QString, 5> ips;         // ipone..ipfive
    std::array<QString, 5> nameservers; // nameserver1..nameserver5
    std::array<QString, 5> aliases;     // alias1..alias5
    std::array<QString, 5> actuals;     // actual1..actual5
    std::array<QString, 5> mailservers; // mailserver1..mailserver5
};

// The wizard's host picker: shows the five host name fields under the caption, for the caller's row (1 to 5),
// and gives the chosen one, or none when it was closed without a choice.
using WizardHostPicker =
    std::function<std::optional<QString>(const QString& caption, const QStringList& names, int row)>;

// The picker over the prompter's list, for the command line and the tests.
WizardHostPicker prompterHostPicker(Prompter& prompter);

// The fields as the wizard shows them first: the timings of the Setup page with their fallbacks, the
// administrator's address, and the wizard defaults of the Setup page. Addresses and alias targets stay empty.
WizardFields prefillWizard(const AppState& state, const QString& zone);

// "Next" of each page and "Finish"'s checks of page 5: each refusal is reported and keeps the page; fields
// the name checks complete receive the completed names.
bool checkZoneInformation(WizardFields& fields, Prompter& prompter);
bool checkHostAddresses(WizardFields& fields, AppState& state, Prompter& prompter);
bool checkNameServers(WizardFields& fields, AppState& state, Prompter& prompter, const WizardHostPicker& pick);
bool checkAliases(WizardFields& fields, AppState& state, Prompter& prompter, const WizardHostPicker& pick);
bool checkMailServers(WizardFields& fields, AppState& state, Prompter& prompter, const WizardHostPicker& pick);

// The records "Finish" puts into the zone: the start of authority and the NS, MX, A and CNAME lines in field
// order, each mail server's priority following its field's position. With no name server given, the zone
// gets the server's own, and its address record when the name lies inside the zone and no host row has it.
void buildWizardZone(ZoneModel& zone, const WizardFields& fields, const NewZoneServer& owner);

enum class WizardFinish
{
    Finished,
    Refused,    // a check of page 5 failed (reported)
    SaveFailed, // the zone could not be saved (reported)
};

// What "Finish" does once page 5 passed: the zone is built and saved, and the boot file read again.
WizardFinish saveWizardZone(ZoneContext& context, const WizardFields& fields,
                            const std::function<void()>& reloadBootFile);

// "Finish": the checks of page 5, then saveWizardZone.
WizardFinish finishWizard(ZoneContext& context, WizardFields& fields, const WizardHostPicker& pick,
                          const std::function<void()>& reloadBootFile);

// Leaving the wizard without "Finish": the zone "Start Wizard" made is selected, the question switch set, and
// "Delete Primary" runs, so that the zone goes without a question. The zone name is emptied, so that a second
// leaving deletes nothing; a zone that is no longer listed is left alone and the switch is not touched. True
// when the deletion ran.
bool abandonWizardZone(AppState& state, QString& zone, const std::function<void()>& deletePrimary);
