#pragma once
// Keyboard navigation shared by the main window and the dialogs: Enter and
// Down move to the next control, Up to the previous one.
#include <QObject>

class QWidget;

namespace velmora::gui {

enum class NavigationKind { Edit, Dialog };

// Installs key preview on form: every child widget's key presses pass the
// navigator first. Edit: only while a single-line edit or a tab bar has the
// focus. Dialog: everywhere except grids and lists, Enter left to a memo and
// Up/Down left to combo boxes, lists and memos.
void InstallKeyNavigation(QWidget* form, NavigationKind kind);

class KeyNavigator : public QObject {
    Q_OBJECT
public:
    KeyNavigator(QWidget* form, NavigationKind kind);
    // Adds the filter to widgets created after installation.
    void Watch(QWidget* w);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QWidget* form_;
    NavigationKind kind_;
};

}  // namespace velmora::gui
