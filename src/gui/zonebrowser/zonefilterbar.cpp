#include "gui/zonebrowser/zonefilterbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kPauseMs = 250;

} // namespace

ZoneFilterBar::ZoneFilterBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("filterbar"));
    filtertext = new QLineEdit(this);
    filtertext->setObjectName(QStringLiteral("filtertext"));
    filtertext->setPlaceholderText(QStringLiteral("Filter by name or value (Ctrl+F)"));
    filtertext->setClearButtonEnabled(true);
    viewzonefile = new QPushButton(QStringLiteral("View Zone File"), this);
    viewzonefile->setObjectName(QStringLiteral("viewzonefile"));
    auto* label = new QLabel(QStringLiteral("Filter:"), this);
    label->setBuddy(filtertext);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(filtertext, 1);
    layout->addWidget(viewzonefile);

    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(kPauseMs);
    connect(filtertext, &QLineEdit::textChanged, m_pause, qOverload<>(&QTimer::start));
    connect(m_pause, &QTimer::timeout, this, [this] { Q_EMIT filterChanged(filtertext->text()); });
}
