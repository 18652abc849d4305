#include "gui/editors/zoneeditors.h"

#include "editors/soafields.h"
#include "gui/editors/aliaseditor.h"
#include "gui/editors/aliastargetpicker.h"
#include "gui/editors/editorprompter.h"
#include "gui/editors/hosteditor.h"
#include "gui/editors/mailservereditor.h"
#include "gui/editors/nameservereditor.h"
#include "gui/editors/responsiblepersoneditor.h"
#include "gui/editors/serverhostpicker.h"
#include "gui/editors/soaeditor.h"
#include "gui/zonebrowser/domaineditpage.h"

#include <QPointer>

ZoneEditors::ZoneEditors(AppState& state, Prompter& prompter, DomainEditPage& browser, QWidget* mainWindow)
    : QObject(mainWindow), m_serverPicker(std::make_unique<ServerHostPicker>(prompter)),
      m_aliasPicker(std::make_unique<AliasTargetPicker>(prompter)),
      m_prompter(std::make_unique<EditorPrompter>(prompter, *m_serverPicker, *m_aliasPicker)), m_hooks{
                                                                                                   state, *m_prompter,
                                                                                                   {},    {},
                                                                                                   {},    {}}
{
    QPointer<DomainEditPage> page(&browser);
    m_hooks.zoneContext = [this, page] {
        const ZoneContext from = page->zoneContext();
        return ZoneContext{from.state, *m_prompter, from.progress, from.saveBootFile, from.soaStep};
    };
    m_hooks.mainWindow = mainWindow;
    m_hooks.updateClickedNode = [page](const QString& text, bool adding) {
        if (page)
            page->updateClickedNode(text, adding);
    };
    m_hooks.removeClickedNode = [page] {
        if (page)
            page->removeClickedNode();
    };
    m_soa = std::make_unique<SoaEditor>(m_hooks);
    m_nameServer = std::make_unique<NameServerEditor>(m_hooks);
    m_mailServer = std::make_unique<MailServerEditor>(m_hooks);
    m_host = std::make_unique<HostEditor>(m_hooks);
    m_alias = std::make_unique<AliasEditor>(m_hooks);
    m_person = std::make_unique<ResponsiblePersonEditor>(m_hooks);
    browser.setSoaStep(soaCheckStep(*m_prompter));
    browser.setEditorOpener([this](const EditorRequest& request) { open(request); });
}

ZoneEditors::~ZoneEditors() = default;

void ZoneEditors::open(const EditorRequest& request)
{
    if (!request.kind) {
        m_soa->openSoaEditor(request.soaField);
        return;
    }
    switch (*request.kind) {
    case RecordKind::NameServer:
        m_nameServer->open(request.index);
        break;
    case RecordKind::MailServer:
        m_mailServer->open(request.index);
        break;
    case RecordKind::HostAddress:
        m_host->open(request.index);
        break;
    case RecordKind::Alias:
        m_alias->open(request.index);
        break;
    case RecordKind::ResponsiblePerson:
    case RecordKind::TextRecord:
        m_person->open(request.index);
        break;
    }
}
