#include "gui/widgets/units_form.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>
#include <cmath>

namespace velmora::gui {

TUnitsForm::TUnitsForm(QWidget* parent)
    : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("UnitsForm");
    setWindowTitle(tr("Units"));
    list_ = new QListWidget(this);
    list_->setObjectName("ListBox1");
    list_->setFrameShape(QFrame::Box);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(list_);
    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    setFocusProxy(list_);
}

void TUnitsForm::Fill(TUnitsType type, int selected) {
    list_->clear();
    for (int i = 0; i < UnitsCount(type); ++i) list_->addItem(QString::fromStdString(GetUnitsLabel(type, i)));
    if (selected >= 0 && selected < list_->count()) list_->setCurrentRow(selected);
    if (list_->count() == 0) return;
    const int itemH = std::max(list_->sizeHintForRow(0), fontMetrics().height() + 2);
    int w = 50;
    for (int i = 0; i < list_->count(); ++i) w = std::max(w, fontMetrics().horizontalAdvance(list_->item(i)->text()));
    resize(w + 10 + 2 * list_->frameWidth(),
           static_cast<int>(std::lround(itemH * (list_->count() + 0.5))) + 2 * list_->frameWidth());
}

int TUnitsForm::SelectedIndex() const { return list_->currentRow(); }

bool TUnitsForm::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(e)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape) {
            accept();
            return true;
        }
    }
    if (o == list_->viewport() && e->type() == QEvent::MouseButtonRelease) {
        // The press highlighted the item under the mouse; close on release.
        accept();
        return false;
    }
    return QDialog::eventFilter(o, e);
}

}  // namespace velmora::gui
