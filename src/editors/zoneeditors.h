#pragma once

#include "editors/editorhooks.h"

#include <QObject>
#include <memory>

struct EditorRequest;
class DomainEditPage;
class EditorPrompter;
class Thostforalias;
class Tprimaliasaddform;
class Tprimhostadd;
class Tprimmailadd;
class Tprimnameadd;
class Tprimperson;
class Tselectnsform;
class Tsourceofauthority;

// The SOA and record editors of the "Domain Edit" page, created once and shown as the browser asks. They are
// windows of their own, so that disabling the main window while one is shown leaves the editor usable.
class ZoneEditors : public QObject
{
    Q_OBJECT
public:
    ZoneEditors(AppState& state, Prompter& prompter, DomainEditPage& browser, QWidget* mainWindow);
    ~ZoneEditors() override;

    // Opens the editor the browser asks for.
    void open(const EditorRequest& request);

    Tsourceofauthority* soaEditor() const { return m_soa.get(); }
    Tprimnameadd* nameServerEditor() const { return m_nameServer.get(); }
    Tprimmailadd* mailServerEditor() const { return m_mailServer.get(); }
    Tprimhostadd* hostEditor() const { return m_host.get(); }
    Tprimaliasaddform* aliasEditor() const { return m_alias.get(); }
    Tprimperson* personEditor() const { return m_person.get(); }
    Tselectnsform* serverPicker() const { return m_serverPicker.get(); }
    Thostforalias* aliasPicker() const { return m_aliasPicker.get(); }

private:
    std::unique_ptr<Tselectnsform> m_serverPicker;
    std::unique_ptr<Thostforalias> m_aliasPicker;
    std::unique_ptr<EditorPrompter> m_prompter;
    EditorHooks m_hooks;
    std::unique_ptr<Tsourceofauthority> m_soa;
    std::unique_ptr<Tprimnameadd> m_nameServer;
    std::unique_ptr<Tprimmailadd> m_mailServer;
    std::unique_ptr<Tprimhostadd> m_host;
    std::unique_ptr<Tprimaliasaddform> m_alias;
    std::unique_ptr<Tprimperson> m_person;
};
