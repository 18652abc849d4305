#include "bind9/confcontrol.h"

#include "bind9/ownnameserver.h"
#include "namedconf/confsyntax.h"
#include "server/bindaccess.h"
#include "server/confcheck.h"
#include "server/confzones.h"
#include "session/appstate.h"

#include <QTemporaryFile>

ControlResult checkConfServer(const AppState& state)
{
    const ConfServer& conf = state.conf;
    if (!conf.refusal.isEmpty())
        return ControlResult::failed(QStringLiteral("BIND refuses the configuration: ") + conf.refusal);
    if (const QString missing = missingZonesInclude(conf); !missing.isEmpty())
        return ControlResult::failed(missing);
    const ConfCheck check = checkWithChanges(conf.files, {});
    if (!check.passed)
        return ControlResult::failed(QStringLiteral("The configuration fails its check: ") + check.problem);
    return checkNameServerAccess(state);
}

ControlResult checkNameServerAccess(const AppState& state)
{
    // A reload the name server cannot read the zones for (or keep the secondaries' copies of) would be no reload.
    if (const QStringList problems = bindAccessProblems(state); !problems.isEmpty())
        return ControlResult::failed(problems.join(QLatin1Char(' ')) +
                                     QStringLiteral(" The name server was not reloaded."));
    return ControlResult();
}

ControlResult confRndc(const AppState& state, const QStringList& arguments)
{
    const ConfControl& control = state.conf.config.control;
    if (control.disabled)
        return ControlResult::failed(
            QStringLiteral("The configuration has no control channel (its controls statement is empty), so the name "
                           "server cannot be asked."));
    const QStringList channel{QStringLiteral("-s"), control.address, QStringLiteral("-p"),
                              QString::number(control.port)};
    const ConfKey* key = control.keys.isEmpty() ? nullptr : state.conf.config.key(control.keys.first());
    if (!key)
        return runRndc(state.bind9.rndcProgram,
                       QStringList{QStringLiteral("-k"), state.bind9.rndcKey} + channel + arguments);
    // A configuration of rndc's own for this one run, with no permission for anyone else from its first byte: it
    // holds the secret.
    QTemporaryFile config;
    if (!config.open())
        return ControlResult::failed(QStringLiteral("No file could be made for the control key."));
    const QString text = QStringLiteral("key %1 {\n\talgorithm %2;\n\tsecret %3;\n};\n"
                                        "options {\n\tdefault-key %1;\n\tdefault-server %4;\n\tdefault-port %5;\n};\n")
                             .arg(confString(key->name), key->algorithm, confString(key->secret), control.address)
                             .arg(control.port);
    config.write(text.toLatin1());
    config.flush();
    return runRndc(state.bind9.rndcProgram, QStringList{QStringLiteral("-c"), config.fileName()} + arguments);
}
