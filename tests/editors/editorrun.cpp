#include "editorrun.h"

#include "editors/hosteditors.h"
#include "editors/servereditors.h"
#include "editors/soafields.h"

EditResult runSave(ZoneContext& context, const QString& kind, QStringList& fields)
{
    if (kind == QLatin1String("soa")) {
        SoaFields soa{fields.value(0), fields.value(1), fields.value(2), fields.value(3),
                      fields.value(4), fields.value(5), fields.value(6), fields.value(7)};
        const EditResult result = saveSoa(context, soa);
        fields = {soa.soa, soa.source2, soa.user, soa.serial, soa.refresh, soa.retry, soa.expire, soa.minimum};
        return result;
    }
    if (kind == QLatin1String("ns")) {
        NameServerFields ns{fields.value(0)};
        const EditResult result = saveNameServer(context, ns);
        fields = {ns.second};
        return result;
    }
    if (kind == QLatin1String("mx")) {
        MailServerFields mx{fields.value(0), fields.value(1)};
        const EditResult result = saveMailServer(context, mx);
        fields = {mx.second, mx.value};
        return result;
    }
    if (kind == QLatin1String("host")) {
        HostFields host{fields.value(0), fields.value(1)};
        const EditResult result = saveHost(context, host);
        fields = {host.first, host.second};
        return result;
    }
    if (kind == QLatin1String("alias")) {
        AliasFields alias{fields.value(0), fields.value(1)};
        const EditResult result = saveAlias(context, alias);
        fields = {alias.first, alias.second};
        return result;
    }
    PersonFields person{fields.value(0), fields.value(1), fields.value(2)};
    const EditResult result = savePerson(context, person);
    fields = {person.first, person.second, person.third};
    return result;
}
