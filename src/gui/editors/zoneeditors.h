#pragma once

#include "gui/editors/editorhooks.h"

#include <QObject>
#include <memory>

struct EditorRequest;
class DomainEditPage;
class EditorPrompter;
class AliasTargetPicker;
class AliasEditor;
class HostEditor;
class MailServerEditor;
class NameServerEditor;
class ResponsiblePersonEditor;
class ServerHostPicker;
class SoaEditor;

// The SOA and record editors of the "Domain Edit" page, created once and shown as the browser asks, each modal
// to the main window.
class ZoneEditors : public QObject
{
    Q_OBJECT
public:
    ZoneEditors(AppState& state, Prompter& prompter, DomainEditPage& browser, QWidget* mainWindow);
    ~ZoneEditors() override;

    // Opens the editor the browser asks for.
    void open(const EditorRequest& request);

    SoaEditor* soaEditor() const { return m_soa.get(); }
    NameServerEditor* nameServerEditor() const { return m_nameServer.get(); }
    MailServerEditor* mailServerEditor() const { return m_mailServer.get(); }
    HostEditor* hostEditor() const { return m_host.get(); }
    AliasEditor* aliasEditor() const { return m_alias.get(); }
    ResponsiblePersonEditor* personEditor() const { return m_person.get(); }
    ServerHostPicker* serverPicker() const { return m_serverPicker.get(); }
    AliasTargetPicker* aliasPicker() const { return m_aliasPicker.get(); }

private:
    std::unique_ptr<ServerHostPicker> m_serverPicker;
    std::unique_ptr<AliasTargetPicker> m_aliasPicker;
    std::unique_ptr<EditorPrompter> m_prompter;
    EditorHooks m_hooks;
    std::unique_ptr<SoaEditor> m_soa;
    std::unique_ptr<NameServerEditor> m_nameServer;
    std::unique_ptr<MailServerEditor> m_mailServer;
    std::unique_ptr<HostEditor> m_host;
    std::unique_ptr<AliasEditor> m_alias;
    std::unique_ptr<ResponsiblePersonEditor> m_person;
};
