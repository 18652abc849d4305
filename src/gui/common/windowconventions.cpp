#include "gui/common/windowconventions.h"

#include "gui/common/mnemonics.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTextEdit>
#include <map>

namespace {

// A widget whose text carries its access key: a button, or a plain-text label that names a field.
struct KeyOwner
{
    QWidget* widget;
    bool isButton() const { return qobject_cast<const QAbstractButton*>(widget); }
    QString text() const
    {
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            return button->text();
        return static_cast<const QLabel*>(widget)->text();
    }
    void setText(const QString& text) const
    {
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(text);
        else
            static_cast<QLabel*>(widget)->setText(text);
    }
};

bool ownsKey(QWidget* widget)
{
    if (qobject_cast<QAbstractButton*>(widget))
        return true;
    // A label's key moves to its field: only one that can take the keyboard is worth a key.
    const auto* label = qobject_cast<QLabel*>(widget);
    return label && label->buddy() && label->buddy()->focusPolicy() != Qt::NoFocus &&
           label->textFormat() != Qt::RichText && !label->text().startsWith(QLatin1Char('<'));
}

// The page of a page set the widget lies on (the innermost one), or the window itself.
QWidget* scopeOf(QWidget* widget, QWidget* window)
{
    for (QWidget* w = widget; w && w != window; w = w->parentWidget()) {
        if (qobject_cast<QStackedWidget*>(w->parentWidget()))
            return w;
    }
    return window;
}

QWidget* enclosingScope(QWidget* scope, QWidget* window)
{
    return scope == window ? nullptr : scopeOf(scope->parentWidget(), window);
}

int depthOf(QWidget* scope, QWidget* window)
{
    int depth = 0;
    for (QWidget* s = enclosingScope(scope, window); s; s = enclosingScope(s, window))
        ++depth;
    return depth;
}

void assignToActions(const QList<QAction*>& actions, QString& taken)
{
    QList<QAction*> named;
    QStringList texts;
    for (QAction* action : actions) {
        if (action->isSeparator() || action->text().isEmpty())
            continue;
        named << action;
        texts << action->text();
    }
    const QStringList marked = withMnemonics(texts, taken, WhenFull::Share);
    for (qsizetype i = 0; i < named.size(); ++i) {
        if (marked.at(i) != texts.at(i))
            named.at(i)->setText(marked.at(i));
    }
}

bool takesInput(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QComboBox*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QAbstractItemView*>(widget);
}

// A dialog that would open with the keyboard on a button or nowhere gets it in its first field instead.
void focusFirstField(QDialog* dialog)
{
    if (qobject_cast<QMessageBox*>(dialog) || qobject_cast<QFileDialog*>(dialog) || qobject_cast<QInputDialog*>(dialog))
        return;
    if (const QWidget* focus = dialog->focusWidget(); focus && takesInput(focus))
        return;
    for (QWidget* w = dialog->nextInFocusChain(); w && w != dialog; w = w->nextInFocusChain()) {
        if (w->window() == dialog && takesInput(w) && w->isVisibleTo(dialog) && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

} // namespace

WindowConventions::WindowConventions(HelpOpener openHelp, QObject* parent)
    : QObject(parent), m_openHelp(std::move(openHelp))
{
    qApp->installEventFilter(this);
}

void WindowConventions::assignAccessKeys(QWidget* window)
{
    QString windowTaken;
    if (auto* main = qobject_cast<QMainWindow*>(window)) {
        if (QMenuBar* bar = main->menuWidget() ? qobject_cast<QMenuBar*>(main->menuWidget()) : nullptr)
            assignToActions(bar->actions(), windowTaken);
    }

    // Scopes from the outside in, each starting from the letters of the scopes around it.
    std::multimap<int, std::pair<QWidget*, QList<KeyOwner>>> scopes;
    std::map<QWidget*, QList<KeyOwner>> owners;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() == window && ownsKey(widget))
            owners[scopeOf(widget, window)] << KeyOwner{widget};
    }
    for (auto& [scope, list] : owners)
        scopes.emplace(depthOf(scope, window), std::make_pair(scope, list));

    std::map<QWidget*, QString> taken;
    taken[window] = windowTaken;
    for (auto& [depth, entry] : scopes) {
        auto& [scope, list] = entry;
        // The nearest enclosing scope that has keys of its own; the window's at the latest.
        QWidget* outer = enclosingScope(scope, window);
        while (outer && !taken.count(outer))
            outer = enclosingScope(outer, window);
        QString& letters = taken[scope];
        if (outer)
            letters = taken[outer];
        // Buttons first, sharing a key when none is left; the fields' labels take what remains.
        for (const bool buttons : {true, false}) {
            QList<KeyOwner> group;
            QStringList texts;
            for (const KeyOwner& owner : std::as_const(list)) {
                if (owner.isButton() == buttons) {
                    group << owner;
                    texts << owner.text();
                }
            }
            const QStringList marked = withMnemonics(texts, letters, buttons ? WhenFull::Share : WhenFull::Skip);
            for (qsizetype i = 0; i < group.size(); ++i) {
                if (marked.at(i) != texts.at(i))
                    group.at(i).setText(marked.at(i));
            }
        }
    }
}

bool WindowConventions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        if (auto* widget = qobject_cast<QWidget*>(watched); widget && m_openHelp) {
            m_openHelp(widget);
            return true;
        }
    }
    if (event->type() == QEvent::Show) {
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            QString taken;
            assignToActions(menu->actions(), taken);
        } else if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->isWindow()) {
            assignAccessKeys(widget);
            if (auto* dialog = qobject_cast<QDialog*>(widget))
                focusFirstField(dialog);
        }
    }
    return QObject::eventFilter(watched, event);
}
