#pragma once
// The units pop-up: a borderless list of the units of one type. Enter,
// Escape or a mouse press in the list closes it; the highlighted unit is the
// choice in every case.
#include <QDialog>

#include "units/units.h"

class QListWidget;

namespace velmora::gui {

class TUnitsForm : public QDialog {
    Q_OBJECT
public:
    explicit TUnitsForm(QWidget* parent = nullptr);
    void Fill(TUnitsType type, int selected);
    int SelectedIndex() const;
    QListWidget* ListBox1() const { return list_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QListWidget* list_;
};

}  // namespace velmora::gui
