#include "gui_test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

#include "gui/platform/settings_store.h"

namespace velmora::test {

QString& HomeDir() {
    static QString home;
    return home;
}

MessageLog::MessageLog() {
    gui::SetMessageSink([this](gui::MessageKind k, const QString& t) {
        kinds << k;
        texts << t;
    });
}

MessageLog::~MessageLog() { gui::SetMessageSink(nullptr); }

void ClearSettings() {
    for (auto open : {&gui::OpenSettings, &gui::OpenCommonSettings, &gui::OpenMakerSettings}) {
        auto s = open();
        s->clear();
        s->sync();
    }
}

TRefrigLib& SharedRefrigLib() {
    static TRefrigLib lib(std::string(VELMORA_SOURCE_DIR) + "/data/RefLib8.rdf");
    return lib;
}

std::unique_ptr<gui::TMainForm> StartMainForm(const QStringList& args) {
    auto form = std::make_unique<gui::TMainForm>(SharedRefrigLib(), args);
    form->show();
    form->activateWindow();
    QApplication::setActiveWindow(form.get());
    (void)QTest::qWaitForWindowExposed(form.get());
    QApplication::processEvents();
    return form;
}

void TypeAndLeave(QWidget* edit, const QString& text) {
    edit->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    if (auto* le = qobject_cast<QLineEdit*>(edit)) le->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
    QApplication::processEvents();
}

}  // namespace velmora::test
