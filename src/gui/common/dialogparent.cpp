#include "gui/common/dialogparent.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QWidget>

namespace {

// Room for the window system's buttons and frame beside the caption.
constexpr int kTitleBarExtra = 140;

bool canOwnDialogs(const QWidget* window)
{
    if (!window || !window->isVisible() || !window->isEnabled())
        return false;
    const Qt::WindowType type = window->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

} // namespace

QWidget* dialogParent(QWidget* fallback)
{
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
        return modal;
    if (QWidget* active = QApplication::activeWindow(); canOwnDialogs(active))
        return active;
    return fallback ? fallback->window() : nullptr;
}

int execInFront(QDialog& dialog)
{
    QWidget* owner = dialog.parentWidget();
    QWidget* front = dialogParent(owner);
    const Qt::WindowFlags flags = dialog.windowFlags();
    const bool moved = front && front != owner && front != &dialog;
    if (moved)
        dialog.setParent(front, flags);
    const int result = dialog.exec();
    if (moved)
        dialog.setParent(owner, flags);
    return result;
}

int captionWidth(const QString& caption)
{
    return QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(caption) + kTitleBarExtra;
}

void fitCaption(QDialog& dialog)
{
    const int wanted = captionWidth(dialog.windowTitle());
    if (dialog.minimumWidth() < wanted)
        dialog.setMinimumWidth(wanted);
}
