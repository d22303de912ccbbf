#include "gui/widgets/key_navigation.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextEdit>
#include <QWidget>

namespace velmora::gui {

KeyNavigator::KeyNavigator(QWidget* form, NavigationKind kind) : QObject(form), form_(form), kind_(kind) {}

void KeyNavigator::Watch(QWidget* w) {
    w->installEventFilter(this);
    for (QWidget* c : w->findChildren<QWidget*>()) c->installEventFilter(this);
}

void InstallKeyNavigation(QWidget* form, NavigationKind kind) {
    auto* nav = new KeyNavigator(form, kind);
    nav->Watch(form);
}

bool KeyNavigator::eventFilter(QObject* o, QEvent* e) {
    if (e->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(e);
    const int key = k->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Down && key != Qt::Key_Up) return false;
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) return false;
    auto* w = qobject_cast<QWidget*>(o);
    if (!w || !w->hasFocus()) return false;
    const bool forward = key != Qt::Key_Up;
    if (kind_ == NavigationKind::Edit) {
        if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QTabBar*>(w)) return false;
        if (auto* le = qobject_cast<QLineEdit*>(w); le && le->isReadOnly() && key != Qt::Key_Up && key != Qt::Key_Down)
            return false;
    } else {
        if (qobject_cast<QAbstractItemView*>(w)) return false;
        const bool memo = qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && memo) return false;
        if ((key == Qt::Key_Up || key == Qt::Key_Down) && (memo || qobject_cast<QComboBox*>(w))) return false;
    }
    QWidget* next = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    // Skip what cannot take the keyboard focus.
    for (int guard = 0; next && next != w && guard < 500; ++guard) {
        if (next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus) && next->window() == form_->window())
            break;
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
    }
    if (next && next != w) next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

}  // namespace velmora::gui
