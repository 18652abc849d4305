#include "gui/setup/bind9setupgroup.h"

#include "session/appstate.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

Bind9SetupGroup::Bind9SetupGroup(AppState& state, QWidget* parent)
    : QGroupBox(QStringLiteral("Name Server Control (BIND 9):"), parent), m_state(state)
{
    setObjectName(QStringLiteral("bind9setup"));
    Bind9Settings& bind9 = m_state.bind9;
    ndcprogram = textField(QStringLiteral("ndcprogram"), &m_state.ndcProgram);
    bind9mode = new QComboBox(this);
    bind9mode->setObjectName(QStringLiteral("bind9mode"));
    bind9mode->addItems(
        {Bind9Settings::modeName(Bind9Settings::Mode::Own), Bind9Settings::modeName(Bind9Settings::Mode::System)});
    bind9mode->setToolTip(QStringLiteral("own: a name server of the server's own, started and stopped here; "
                                         "system: the distribution's name server, which only reloads"));
    connect(bind9mode, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { m_state.bind9.mode = Bind9Settings::modeFromName(text); });
    bind9address = textField(QStringLiteral("bind9address"), &bind9.address);
    bind9port = portField(QStringLiteral("bind9port"), QStringLiteral("Port"), &bind9.port);
    bind9controlport =
        portField(QStringLiteral("bind9controlport"), QStringLiteral("Control Port"), &bind9.controlPort);
    bind9extraoptions = textField(QStringLiteral("bind9extraoptions"), &bind9.extraOptions);
    bind9extraoptions->setToolTip(QStringLiteral("Added as it stands inside options { }"));
    bind9namedprogram = textField(QStringLiteral("bind9namedprogram"), &bind9.namedProgram);
    bind9rndcprogram = textField(QStringLiteral("bind9rndcprogram"), &bind9.rndcProgram);
    bind9zonesfile = textField(QStringLiteral("bind9zonesfile"), &bind9.zonesFile);
    bind9rndckey = textField(QStringLiteral("bind9rndckey"), &bind9.rndcKey);
    bind9systemconfig = textField(QStringLiteral("bind9systemconfig"), &bind9.systemConfig);
    bind9catalogzone = textField(QStringLiteral("bind9catalogzone"), &bind9.catalogZone);

    const QList<std::pair<QString, QWidget*>> rows = {{QStringLiteral("Control Program"), ndcprogram},
                                                      {QStringLiteral("Mode"), bind9mode},
                                                      {QStringLiteral("Address"), bind9address},
                                                      {QStringLiteral("Port"), bind9port},
                                                      {QStringLiteral("Control Port"), bind9controlport},
                                                      {QStringLiteral("Catalog Zone"), bind9catalogzone},
                                                      {QStringLiteral("Named Program"), bind9namedprogram},
                                                      {QStringLiteral("Rndc Program"), bind9rndcprogram},
                                                      {QStringLiteral("Zones File"), bind9zonesfile},
                                                      {QStringLiteral("Rndc Key"), bind9rndckey},
                                                      {QStringLiteral("System Config"), bind9systemconfig}};
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < rows.size(); ++i) {
        grid->addWidget(new QLabel(rows.at(i).first, this), i / 2, (i % 2) * 2);
        grid->addWidget(rows.at(i).second, i / 2, (i % 2) * 2 + 1);
    }
    const int last = int(rows.size() + 1) / 2;
    grid->addWidget(new QLabel(QStringLiteral("Extra Options"), this), last, 0);
    grid->addWidget(bind9extraoptions, last, 1, 1, 3);
    showState();
}

QLineEdit* Bind9SetupGroup::textField(const QString& name, QString* target)
{
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    connect(field, &QLineEdit::textChanged, this, [target](const QString& text) { *target = text; });
    m_texts << std::pair{field, target};
    return field;
}

QSpinBox* Bind9SetupGroup::portField(const QString& name, const QString& setting, int* target)
{
    auto* field = new QSpinBox(this);
    field->setObjectName(name);
    field->setRange(1, 65535);
    // The field shows the default in place of a stored word; only a number the user sets there replaces the word.
    connect(field, &QSpinBox::valueChanged, this, [this, setting, target](int value) {
        *target = value;
        if (!m_showing)
            m_state.bind9.acceptValue(setting);
    });
    m_ports << std::pair{field, target};
    return field;
}

void Bind9SetupGroup::showState()
{
    for (const auto& [field, target] : std::as_const(m_texts)) {
        if (field->text() != *target)
            field->setText(*target);
    }
    m_showing = true;
    for (const auto& [field, target] : std::as_const(m_ports))
        field->setValue(*target);
    m_showing = false;
    bind9mode->setCurrentText(Bind9Settings::modeName(m_state.bind9.mode));
}
