// The formatted edit with units, driven by real key clicks and focus changes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/widgets/fmt_edit.h"
#include "gui/widgets/units_form.h"
#include "gui_test_support.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

class CountingEdit : public TFmtEdit {
public:
    using TFmtEdit::TFmtEdit;
    int beeps = 0;
    void SignalError() override { ++beeps; }
};

// A dialog holding the edit under test and a second edit to move to.
struct Host {
    QDialog dialog;
    CountingEdit* edit;
    TFmtEdit* other;
    TFmtEditLabel* label;
    Host() {
        auto* l = new QVBoxLayout(&dialog);
        edit = new CountingEdit(&dialog);
        other = new TFmtEdit(&dialog);
        label = new TFmtEditLabel(&dialog);
        l->addWidget(edit);
        l->addWidget(label);
        l->addWidget(other);
        dialog.show();
        dialog.activateWindow();
        QApplication::setActiveWindow(&dialog);
        (void)QTest::qWaitForWindowExposed(&dialog);
        edit->setFocus();
        QApplication::processEvents();
    }
    void type(const QString& s) {
        edit->setFocus();
        QApplication::processEvents();
        edit->selectAll();
        QTest::keyClicks(edit, s);
    }
    void enter() { QTest::keyClick(edit, Qt::Key_Return); QApplication::processEvents(); }
    void leave() {
        other->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        QApplication::processEvents();
    }
};

void barometer(CountingEdit* e, TFmtEditLabel* label) {
    e->SetFormatType(ft_Fixed);
    e->SetFormatStr("%0.3f");
    e->setText("101.325");
    e->SetUnitsType(utPressureBar);
    e->SetUnitsLabel(label);
    e->SetRange(60, 130);
}

}  // namespace

TEST(FmtEdit, RangeCheckClampsBeepsAndKeepsTheFocus) {
    Host h;
    barometer(h.edit, h.label);
    EXPECT_EQ(h.label->text(), "kPa");
    h.type("140");
    h.enter();
    EXPECT_EQ(h.edit->text(), "130.000");
    EXPECT_EQ(h.edit->beeps, 1);
    EXPECT_TRUE(h.edit->hasFocus());
    h.type("130.5");
    h.enter();
    EXPECT_EQ(h.edit->text(), "130.500");  // within 0.5 % of the limit
    EXPECT_EQ(h.edit->beeps, 1);
    // Leaving with an out-of-range value gives the focus back, still modified.
    QSignalSpy exits(h.edit, &QxCustomEdit::exited);
    h.type("20");
    h.leave();
    EXPECT_EQ(h.edit->text(), "60.000");
    EXPECT_EQ(exits.count(), 1);  // the exit event runs in either case
    EXPECT_TRUE(h.edit->hasFocus());
    EXPECT_TRUE(h.edit->Modified());
}

TEST(FmtEdit, RangeFollowsTheDisplayUnit) {
    Host h;
    barometer(h.edit, h.label);
    h.edit->SetUnitsValue(1);  // Psi
    EXPECT_EQ(h.label->text(), "Psi");
    EXPECT_EQ(h.edit->text(), "14.6959");
    h.type("20");
    h.enter();
    EXPECT_EQ(h.edit->text(), "18.8549");
    h.type("8");
    h.enter();
    EXPECT_EQ(h.edit->text(), "8.7023");
    EXPECT_NEAR(h.edit->Value().toDouble(), 60, 0.001);
    EXPECT_EQ(h.edit->beeps, 2);
}

TEST(FmtEdit, KeysFollowTheFormatKind) {
    Host h;
    h.edit->SetFormatStr("%0.3f");
    h.type("1e3");
    EXPECT_EQ(h.edit->text(), "13");
    EXPECT_EQ(h.edit->beeps, 1);
    EXPECT_TRUE(h.edit->Modified());

    h.edit->SetFormatStr("%0.4g");
    h.type("1e3");
    EXPECT_EQ(h.edit->text(), "1e3");
    h.enter();
    EXPECT_EQ(h.edit->text(), "1000");

    h.edit->SetFormatStr("%0.1f/%0.1f");
    h.type("25/1x7");
    EXPECT_EQ(h.edit->text(), "25/17");
    h.edit->SetFormatStr("%d");
    h.type("-4.5");
    EXPECT_EQ(h.edit->text(), "-45");
}

TEST(FmtEdit, EscapeRestoresOrReachesTheDialog) {
    Host h;
    h.edit->SetFormatStr("%0.1f");
    h.edit->setText("25.0");
    h.leave();
    h.edit->setFocus();
    QApplication::processEvents();
    h.edit->selectAll();
    QTest::keyClicks(h.edit, "99");
    QTest::keyClick(h.edit, Qt::Key_Escape);
    EXPECT_EQ(h.edit->text(), "25.0");
    EXPECT_FALSE(h.edit->Modified());
    EXPECT_TRUE(h.dialog.isVisible());
    QTest::keyClick(h.edit, Qt::Key_Escape);  // nothing to restore: the dialog closes
    QApplication::processEvents();
    EXPECT_FALSE(h.dialog.isVisible());
    EXPECT_EQ(h.dialog.result(), QDialog::Rejected);
}

TEST(FmtEdit, BackspaceDeletesBeforeTheCaret) {
    Host h;
    h.edit->SetFormatStr("%d");
    h.edit->setText("12345");
    h.edit->setFocus();
    h.edit->setCursorPosition(3);
    QTest::keyClick(h.edit, Qt::Key_Backspace);
    EXPECT_EQ(h.edit->text(), "1245");
    EXPECT_EQ(h.edit->cursorPosition(), 2);
    EXPECT_TRUE(h.edit->Modified());
    h.edit->setCursorPosition(0);
    QTest::keyClick(h.edit, Qt::Key_Backspace);
    EXPECT_EQ(h.edit->text(), "1245");
}

TEST(FmtEdit, PairFieldsConvertEachHalf) {
    Host h;
    h.edit->SetFormatStr("%0.1f/%0.1f");
    h.edit->setText("25.0/17.0");
    h.edit->SetUnitsType(utTemperature);
    h.edit->SetUnitsLabel(h.label);
    EXPECT_EQ(h.edit->Value().toString(), "25.0/17.0");
    h.edit->SetUnitsValue(2);  // K
    EXPECT_EQ(h.edit->text(), "298.15/290.15");
    EXPECT_EQ(h.edit->Value().toString(), "25.00/17.00");
    h.edit->SetUnitsValue(1);  // °F
    EXPECT_EQ(h.edit->text(), "77.0/62.6");
    EXPECT_EQ(h.label->text(), "°F");
    // A single number is kept and reads back alone.
    h.edit->SetUnitsValue(0);
    h.type("25");
    h.enter();
    EXPECT_EQ(h.edit->text(), "25.0");
    EXPECT_EQ(h.edit->Value().toString(), "25");
    // Setting a text without "/" writes 0 as the second half.
    h.edit->SetUnitsValue(1);
    h.edit->SetValue(QString("20"));
    EXPECT_EQ(h.edit->text(), "68.0/32.0");
}

TEST(FmtEdit, ValueInTheBaseUnit) {
    Host h;
    barometer(h.edit, h.label);
    h.edit->SetUnitsValue(2);  // Bar
    h.edit->SetValue(101.325);
    EXPECT_EQ(h.edit->text(), "1.01325");
    EXPECT_NEAR(h.edit->Value().toDouble(), 101.325, 1e-9);
    h.edit->setText("abc");
    EXPECT_EQ(h.edit->Value().toString(), "abc");  // the caller's conversion fails on it
    h.edit->SetValue(QString("not a number"));
    EXPECT_EQ(h.edit->text(), "");
}

TEST(FmtEdit, SharedLabelChangesEveryEditInLinkOrder) {
    Host h;
    TFmtEditLabel label;
    TFmtEdit a, b;
    for (TFmtEdit* e : {&a, &b}) {
        e->SetFormatStr("%0.1f/%0.1f");
        e->setText("25.0/17.0");
        e->SetUnitsType(utTemperature);
        e->SetUnitsLabel(&label);
    }
    QStringList order;
    QObject::connect(&a, &QxCustomEdit::unitsEdited, [&] { order << "a"; });
    QObject::connect(&b, &QxCustomEdit::unitsEdited, [&] { order << "b"; });
    label.ChooseUnits(1);
    EXPECT_EQ(a.text(), "77.0/62.6");
    EXPECT_EQ(b.text(), "77.0/62.6");
    EXPECT_EQ(order, (QStringList{"a", "b"}));
    EXPECT_EQ(label.text(), "°F");
    b.SetUnitsLabel(nullptr);
    EXPECT_EQ(label.Edits().size(), 1);
}

TEST(FmtEdit, UnitsPopupListsTheUnitsAndReturnsTheHighlighted) {
    Host h;
    barometer(h.edit, h.label);
    int chosen = -2;
    QTimer::singleShot(0, [&] {
        auto* form = qobject_cast<TUnitsForm*>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->ListBox1()->count(), 6);
        EXPECT_EQ(form->ListBox1()->item(4)->text(), "InchHg");
        EXPECT_EQ(form->ListBox1()->currentRow(), 0);
        QTest::keyClick(form->ListBox1(), Qt::Key_Down);
        QTest::keyClick(form->ListBox1(), Qt::Key_Down);
        QTest::keyClick(form->ListBox1(), Qt::Key_Escape);  // no cancel: the highlighted one counts
    });
    chosen = h.label->PopupUnits();
    EXPECT_EQ(chosen, 2);
    h.label->ChooseUnits(chosen);
    EXPECT_EQ(h.label->text(), "Bar");
    EXPECT_EQ(h.edit->text(), "1.01325");
}
