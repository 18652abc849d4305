#include "sample/sampleserver.h"

#include "editors/hosteditors.h"
#include "editors/primarywizard.h"
#include "editors/primaryzonecreation.h"
#include "platform/platform.h"
#include "platform/quietprompter.h"
#include "platform/stage.h"
#include "reverse/hostnamechooser.h"
#include "reverse/reversegeneration.h"
#include "secondary/secondaryzones.h"
#include "server/bootload.h"
#include "server/newserversteps.h"
#include "server/serverloading.h"
#include "server/zonesave.h"
#include "session/appstate.h"
#include "session/settings.h"
#include "zonebrowser/browseractions.h"

#include <QDir>
#include <QFileInfo>
#include <array>

namespace {

const QString kAdministrator = QStringLiteral("hostmaster@example.com");

struct SampleZone
{
    QString name;
    QStringList hosts; // name=address
    QStringList nameServers;
    QStringList aliases; // alias=target
    QStringList mailServers;
};

// Every name and address is one reserved for examples and documentation, so that the sample never points at
// anyone's real servers; mail goes to hosts of the zone itself, which a zone check can see without a lookup.
const QList<SampleZone>& sampleZones()
{
    static const QList<SampleZone> zones{
        {QStringLiteral("example.com"),
         {QStringLiteral("ns1.example.com.=192.0.2.1"), QStringLiteral("www.example.com.=192.0.2.10"),
          QStringLiteral("mail.example.com.=192.0.2.25"), QStringLiteral("files.example.com.=192.0.2.30")},
         {QStringLiteral("ns1.example.com."), QStringLiteral("ns2.example.net.")},
         {QStringLiteral("ftp.example.com.=files.example.com."),
          QStringLiteral("webmail.example.com.=mail.example.com.")},
         {QStringLiteral("mail.example.com.")}},
        {QStringLiteral("example.net"),
         {QStringLiteral("ns2.example.net.=198.51.100.2"), QStringLiteral("www.example.net.=198.51.100.10"),
          QStringLiteral("mail.example.net.=198.51.100.25")},
         {QStringLiteral("ns1.example.com."), QStringLiteral("ns2.example.net.")},
         {QStringLiteral("shop.example.net.=www.example.net.")},
         {QStringLiteral("mail.example.net.")}},
        {QStringLiteral("example.org"),
         {QStringLiteral("www.example.org.=203.0.113.10"), QStringLiteral("mail.example.org.=203.0.113.25"),
          QStringLiteral("mx2.example.org.=203.0.113.26")},
         {QStringLiteral("ns1.example.com."), QStringLiteral("ns2.example.net.")},
         {QStringLiteral("docs.example.org.=www.example.org.")},
         {QStringLiteral("mail.example.org."), QStringLiteral("mx2.example.org.")}},
    };
    return zones;
}

// Rows of a wizard page from "left=right" texts (or plain ones without a right column).
void fillRows(const QStringList& values, std::array<QString, 5>& left, std::array<QString, 5>* right)
{
    for (qsizetype row = 0; row < values.size() && row < 5; ++row) {
        left[std::size_t(row)] = values.at(row).section(QLatin1Char('='), 0, 0);
        if (right)
            (*right)[std::size_t(row)] = values.at(row).section(QLatin1Char('='), 1);
    }
}

// Makes the sample with the program's own operations, as the windows would with these answers. What they
// say goes to a quiet prompter and comes back in the failure text.
class SampleMaker
{
public:
    SampleMaker(ServerContext& context, Stage& stage)
        : m_state(context.state), m_store(context.store),
          m_stage(stage), m_server{context.state, context.store, m_quiet, context.platform, context.progress, {}}
    {
    }

    bool run(const QString& folder)
    {
        return makeServer(folder) && makeZones() && addPerson() && addSecondary() && makeReverseZones();
    }

    QString failure() const
    {
        QString text = QStringLiteral("The sample server could not be made (%1).").arg(m_step);
        if (!m_quiet.messages().isEmpty())
            text += QLatin1Char(' ') + m_quiet.messages().join(QLatin1Char(' '));
        return text;
    }

private:
    ZoneContext zoneContext() { return ZoneContext{m_state, m_quiet, m_server.progress, serverBootFileSaver(), {}}; }

    std::function<void()> reloader()
    {
        return [this] {
            BootContext boot = m_server.bootContext();
            readBootFile(boot, false);
        };
    }

    bool makeServer(const QString& folder)
    {
        m_step = QStringLiteral("boot file");
        NewServerFields fields = initialWizardFields(m_state);
        fields.name = sampleServerName();
        fields.firstzone = QStringLiteral("example.com");
        // The new server's page 3 becomes the user's defaults: it offers them as they are.
        const SoaTimings timings = wizardTimings(m_state.setup);
        fields.refresh = timings.refresh;
        fields.retry = timings.retry;
        fields.expire = timings.expire;
        fields.minimum = timings.minimum;
        if (fields.emailaddr.isEmpty())
            fields.emailaddr = kAdministrator;
        if (!QDir().mkpath(folder) || !checkServerPage(fields, m_state.catalog, m_quiet))
            return false;
        chooseWindowsDirectory(fields, folder, m_quiet);
        return checkDirectoryPage(fields, false, false, m_quiet) &&
               finishNewServer(m_server, m_stage, fields, WizardHooks());
    }

    bool makeZones()
    {
        for (const SampleZone& sample : sampleZones()) {
            m_step = sample.name;
            ZoneContext context = zoneContext();
            QString name = sample.name;
            if (startPrimaryZone(context, name) != CreationStatus::Created)
                return false;
            WizardFields fields = prefillWizard(m_state, name);
            fields.user = kAdministrator;
            fields.names = fields.ips = fields.nameservers = fields.aliases = fields.actuals = fields.mailservers = {};
            fillRows(sample.hosts, fields.names, &fields.ips);
            fillRows(sample.nameServers, fields.nameservers, nullptr);
            fillRows(sample.aliases, fields.aliases, &fields.actuals);
            fillRows(sample.mailServers, fields.mailservers, nullptr);
            const WizardHostPicker pick = prompterHostPicker(m_quiet);
            if (!checkZoneInformation(fields, m_quiet) || !checkHostAddresses(fields, m_state, m_quiet) ||
                !checkNameServers(fields, m_state, m_quiet, pick) || !checkAliases(fields, m_state, m_quiet, pick) ||
                finishWizard(context, fields, pick, reloader()) != WizardFinish::Finished)
                return false;
        }
        return true;
    }

    bool addPerson()
    {
        m_step = QStringLiteral("responsible person");
        ZoneContext context = zoneContext();
        if (!openZoneForChange(context, sampleZones().first().name))
            return false;
        m_state.zone.responsible.setEditIndex(RecordList::kNewRecord);
        PersonFields person{QStringLiteral("hostmaster"), kAdministrator,
                            QStringLiteral("Example hostmaster, reached at +1 555 0100")};
        return savePerson(context, person).stored();
    }

    bool addSecondary()
    {
        m_step = QStringLiteral("secondary zone");
        SecondaryContext context{m_state, m_quiet, m_server.progress, reloader(), {}, {}};
        const QString zone = QStringLiteral("branch.example.org");
        const QString master = QStringLiteral("203.0.113.53");
        return checkNewSecondaryName(m_state, zone, m_quiet) && checkSecondaryMaster(master, m_quiet) &&
               createSecondaryZone(context, zone, master);
    }

    bool makeReverseZones()
    {
        m_step = QStringLiteral("reverse zones");
        PrompterHostNameChooser chooser(m_quiet);
        ReverseContext context{m_state, m_store, m_quiet, m_stage, chooser};
        return generateReverseMapping(context).ok;
    }

    AppState& m_state;
    SettingsStore& m_store;
    Stage& m_stage;
    QuietPrompter m_quiet;
    ServerContext m_server;
    QString m_step;
};

} // namespace

QString sampleServerName()
{
    return QStringLiteral("sample");
}

QString sampleServerFolder(const Platform& platform)
{
    return QDir(platform.appDataPath()).filePath(QStringLiteral("sample"));
}

SampleServerResult openSampleServer(ServerContext& context, Stage& stage)
{
    SampleServerResult result;
    AppState& state = context.state;
    const QString folder = sampleServerFolder(context.platform);
    const QString bootFile = QDir(folder).filePath(QStringLiteral("named.boot"));
    const int row = findServerRow(state.catalog, sampleServerName());
    if (row >= 0 && QFileInfo(state.catalog.rows().at(row).bootFilePath).absoluteFilePath() !=
                        QFileInfo(bootFile).absoluteFilePath()) {
        result.errorText = QStringLiteral("A server of yours is named \"%1\" already, so the sample server cannot "
                                          "be made beside it.")
                               .arg(sampleServerName());
        return result;
    }
    if (row < 0 || !QFileInfo(bootFile).isFile()) {
        if (row >= 0)
            state.catalog.markDeleted(row);
        // Making a server keeps its answers as the user's defaults; the sample's are not the user's.
        const QString address = state.emailaddr;
        const SetupDefaults defaults = state.setup;
        SampleMaker maker(context, stage);
        const bool made = maker.run(folder);
        state.emailaddr = address;
        const QString runningSerial = state.setup.runningSerial;
        state.setup = defaults;
        state.setup.runningSerial = runningSerial;
        QString error;
        if (!saveSettings(state, context.store, &error))
            reportGeneralError(context.prompter, error);
        if (!made) {
            result.errorText = maker.failure();
            return result;
        }
        result.created = true;
    }
    // Loaded once more with the program's own hooks, so that the windows show the finished server.
    selectServer(context, sampleServerName());
    result.ok = state.serverLoaded;
    if (!result.ok)
        result.errorText = QStringLiteral("The sample server could not be loaded.");
    return result;
}
