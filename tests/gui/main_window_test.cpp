// The main window as a user drives it: first run, typing into fields, units,
// the memory between runs, files, and bad entries.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <atomic>
#include <cmath>
#include <thread>
#include <QTimer>

#include "gui/platform/desktop.h"
#include "gui/platform/settings_store.h"
#include "gui/shell/about_box.h"
#include "gui/widgets/fmt_edit.h"
#include "gui_test_support.h"
#include "psy/air_state.h"

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::test;

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    void TearDown() override { ClearSettings(); }
};

}  // namespace

TEST_F(MainWindow, FirstRunShowsTheRememberedDefaults) {
    auto form = StartMainForm();
    const TSpecification& s = form->Spec();
    EXPECT_EQ(form->AmbientEd->text(), "30.0/20.0");
    EXPECT_NEAR(s.SetPoint.db, 24.3, 0.05);
    EXPECT_EQ(form->OnCoilEd->text(), "25.0/17.0");
    EXPECT_EQ(form->ADPEd->text(), "9.0");
    EXPECT_EQ(form->BFEd->text(), "15.0");  // shown in percent
    EXPECT_EQ(form->FmtEditLabel4->text(), "%");
    EXPECT_EQ(form->AirFlowEd->text(), "10.000");
    EXPECT_EQ(form->WaterInEd->text(), "6.0");
    EXPECT_DOUBLE_EQ(s.Two, 12.0);
    EXPECT_EQ(form->StatusPanel0->text(), "Status");
    EXPECT_EQ(form->windowTitle(), "Velmora 1.0.6.0");
    EXPECT_EQ(form->FileName(), AppFolders().UserDataFolder + "Noname.vmi");
    EXPECT_EQ(form->FluidLabel->text().contains("Water"), true);
}

TEST_F(MainWindow, WhatWinsFollowsWhatWasSetLast) {
    auto form = StartMainForm();
    TypeAndLeave(form->OffCoilEd, "14/12.5");
    EXPECT_EQ(form->OffCoilEd->text(), "14.0/12.5");
    const double qai = form->Spec().Qai;
    TypeAndLeave(form->TotalDutyEd, "150");
    EXPECT_NE(form->Spec().Qai, qai);
    EXPECT_EQ(form->OffCoilEd->text(), "14.0/12.5");
    EXPECT_EQ(form->AirFlowEd->text(), QString::fromStdString(FormatFloat("%0.3f", form->Spec().Qai)));

    TypeAndLeave(form->AirFlowEd, "9");
    const std::string off = FormatDbWb(form->Spec().OffCoil, "%0.1f");
    TypeAndLeave(form->TotalDutyEd, "120");
    EXPECT_DOUBLE_EQ(form->Spec().Qai, 9);
    EXPECT_NE(FormatDbWb(form->Spec().OffCoil, "%0.1f"), off);
    EXPECT_NEAR(form->Spec().Qt, 120, 1e-9);
}

TEST_F(MainWindow, EnterMovesOnAndRunsTheExitHandler) {
    auto form = StartMainForm();
    form->AmbientEd->setFocus();
    QApplication::processEvents();
    form->AmbientEd->selectAll();
    QTest::keyClicks(form->AmbientEd, "28");
    QTest::keyClick(form->AmbientEd, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(form->SetPointEd->hasFocus());
    EXPECT_NEAR(form->Spec().Ambient.rh, 0.4, 1e-9);
    EXPECT_EQ(form->AmbientEd->text().left(5), "28.0/");
    QTest::keyClick(form->SetPointEd, Qt::Key_Up);
    EXPECT_TRUE(form->AmbientEd->hasFocus());
    // Leaving a field without changing it recalculates nothing.
    const int steps = form->UndoStack()->count();
    QTest::keyClick(form->AmbientEd, Qt::Key_Down);
    EXPECT_EQ(form->UndoStack()->count(), steps);
}

TEST_F(MainWindow, FrostRuleOnTheOffCoilField) {
    auto form = StartMainForm();
    TypeAndLeave(form->OffCoilEd, "5/1");
    EXPECT_NEAR(form->Spec().OffCoil.td, 0, 1e-9);
    EXPECT_NEAR(form->Spec().OffCoil.rh, 0.99, 1e-9);
    EXPECT_EQ(form->OffCoilEd->text(), QString::fromStdString(FormatDbWb(form->Spec().OffCoil, "%0.1f")));
}

TEST_F(MainWindow, BadEntriesGiveOneMessageAndChangeNothing) {
    auto form = StartMainForm();
    MessageLog log;
    const TSpecification before = form->Spec();
    form->AirFlowEd->setFocus();
    QApplication::processEvents();
    form->AirFlowEd->setText("12a");  // pasted text is not filtered
    form->AirFlowEd->SetModified(true);
    QTest::keyClick(form->AirFlowEd, Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_EQ(log.texts.size(), 1);
    EXPECT_EQ(log.kinds[0], MessageKind::Error);
    EXPECT_TRUE(log.texts[0].contains("'12a'")) << log.texts[0].toStdString();
    EXPECT_EQ(form->Spec().Qai, before.Qai);
    EXPECT_EQ(form->AirFlowEd->text(), "12a");  // the user's text stays until the next refresh

    TypeAndLeave(form->OffCoilEd, "24.9/15");
    ASSERT_EQ(log.texts.size(), 2);
    EXPECT_TRUE(log.texts[1].contains("apparatus dew point")) << log.texts[1].toStdString();
    EXPECT_EQ(form->Spec().ADP.db, before.ADP.db);
    EXPECT_EQ(form->Spec().OffCoil.db, before.OffCoil.db);

    // A plausibility message comes alone and the new state stays.
    TypeAndLeave(form->BarometerEd, "60");
    TypeAndLeave(form->SetPointEd, "99/99");
    ASSERT_EQ(log.texts.size(), 3);
    EXPECT_EQ(log.texts[2], "The setpoint is not valid...");
    EXPECT_EQ(log.kinds[2], MessageKind::Information);
    EXPECT_DOUBLE_EQ(form->Spec().SetPoint.db, 99);
}

TEST_F(MainWindow, UnitsAndSpecificationAreRememberedAcrossRuns) {
    {
        auto form = StartMainForm();
        form->AmbLabel->ChooseUnits(1);  // °F
        form->AirflowLabel->ChooseUnits(4);  // cfm
        TypeAndLeave(form->AmbientEd, "95/75");
        EXPECT_NEAR(form->Spec().Ambient.db, 35, 1e-9);
        form->FileClose->trigger();
        QApplication::processEvents();
    }
    auto form = StartMainForm();
    EXPECT_EQ(form->AmbientEd->UnitsValue(), 1);
    EXPECT_EQ(form->AmbLabel->text(), "°F");
    EXPECT_EQ(form->AmbientEd->text(), "95.0/75.0");
    EXPECT_EQ(form->AirflowLabel->text(), "cfm");
    EXPECT_NEAR(form->Spec().Ambient.db, 35, 1e-9);
    EXPECT_EQ(ReadInteger("SpecUnits", "Ambient", -1), 1);
    EXPECT_EQ(ReadInteger("SpecUnits", "FreshAir", -1), 1);
}

TEST_F(MainWindow, SaveOpenAndNewThroughTheCommands) {
    QTemporaryDir dir;
    auto form = StartMainForm();
    MessageLog log;
    TypeAndLeave(form->AmbientEd, "33/23");
    const QString file = dir.path() + "/job one";
    form->SaveFileChooser = [&](const QString&) { return file; };
    form->FileSaveAs->trigger();
    EXPECT_TRUE(log.texts.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(file + ".vmi"));
    EXPECT_EQ(form->FileName(), file + ".vmi");
    EXPECT_EQ(form->StatusPanel0->text(), "Ready...");
    EXPECT_TRUE(form->StatusPanel1->text().endsWith("job one.vmi"));

    form->FileNew->trigger();
    EXPECT_EQ(form->AmbientEd->text(), "32.0/21.0");
    EXPECT_EQ(form->FileName(), form->DefaultFileName());

    form->OpenFileChooser = [&](const QString&) { return file + ".vmi"; };
    form->FileOpen->trigger();
    EXPECT_EQ(form->AmbientEd->text(), "33.0/23.0");
    EXPECT_EQ(form->FileName(), file + ".vmi");

    // Save writes to the current file without a dialog.
    TypeAndLeave(form->FreshAirEd, "20");
    form->FileSave->trigger();
    QFile f(file + ".vmi");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("Fraction=0.200"));
    EXPECT_TRUE(log.texts.isEmpty()) << log.texts.join("|").toStdString();
}

TEST_F(MainWindow, SavingCommitsTheFieldBeingTyped) {
    QTemporaryDir dir;
    auto form = StartMainForm();
    form->SaveFileChooser = [&](const QString&) { return dir.path() + "/typed.vmi"; };
    form->FileSaveAs->trigger();
    form->AmbientEd->setFocus();
    QApplication::processEvents();
    form->AmbientEd->selectAll();
    QTest::keyClicks(form->AmbientEd, "31/22");
    form->FileSave->trigger();  // a toolbar click: the field keeps the focus
    EXPECT_DOUBLE_EQ(form->Spec().Ambient.db, 31);
    QFile f(dir.path() + "/typed.vmi");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("Temperature=31.00/22.00"));
}

TEST_F(MainWindow, FileErrorsAreShownOnceAndChangeNothing) {
    QTemporaryDir dir;
    auto form = StartMainForm();
    MessageLog log;
    const QString ro = dir.path() + "/locked.vmi";
    {
        QFile f(ro);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Ambient]\nPressure=90\n");
    }
    QFile::setPermissions(ro, QFileDevice::ReadOwner);
    const QString name = form->FileName();
    form->SaveFileChooser = [&](const QString&) { return ro; };
    form->FileSaveAs->trigger();
    ASSERT_EQ(log.texts.size(), 1);
    EXPECT_EQ(log.texts[0], "Unable to write to " + ro);
    EXPECT_EQ(form->FileName(), name);
    EXPECT_EQ(form->StatusPanel0->text(), "Status");

    const QString bad = dir.path() + "/bad.vmi";
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Ambient]\nTemperature=warm\n");
    }
    const TSpecification before = form->Spec();
    form->OpenFileChooser = [&](const QString&) { return bad; };
    form->FileOpen->trigger();
    ASSERT_EQ(log.texts.size(), 2);
    EXPECT_TRUE(log.texts[1].contains("Temperature"));
    EXPECT_EQ(form->FileName(), name);
    EXPECT_EQ(form->Spec().Ambient.db, before.Ambient.db);
}

TEST_F(MainWindow, CommandLineFileOpensAtFirstActivation) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/with blank.vmi";
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Ambient]\nPressure=90\nTemperature=28/19\n");
    }
    // A name with a blank passed without quotes arrives as two arguments.
    auto form = StartMainForm({dir.path() + "/with", "blank.vmi"});
    QTest::qWait(20);
    EXPECT_EQ(form->FileName(), file);
    EXPECT_DOUBLE_EQ(form->Spec().BP, 90);
    EXPECT_EQ(form->AmbientEd->text(), "28.0/19.0");
    EXPECT_EQ(form->StatusPanel0->text(), "Ready...");
}

TEST_F(MainWindow, CoolantLabelSwitchesWithoutRecalculating) {
    auto form = StartMainForm();
    const double qt = form->Spec().Qt;
    QTest::mouseClick(form->FluidLabel, Qt::LeftButton);
    EXPECT_EQ(form->Spec().Coolant, coolDirectExpansion);
    EXPECT_TRUE(form->FluidLabel->text().contains("Refrigerant"));
    EXPECT_EQ(form->Spec().Qt, qt);
    form->EditCopy->trigger();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("Velmora Specification\r\nBarometer,101.325\r\n"));
    QTest::mouseClick(form->FluidLabel, Qt::LeftButton);
    EXPECT_TRUE(form->FluidLabel->text().contains("Water"));
    // The choice is part of the specification: a step back shows it again.
    form->EditUndo->trigger();
    EXPECT_EQ(form->Spec().Coolant, coolDirectExpansion);
    EXPECT_TRUE(form->FluidLabel->text().contains("Refrigerant"));
}

TEST_F(MainWindow, ResizingReshortensTheFileName) {
    auto form = StartMainForm();
    const QString longName = "/" + QString("very-long-folder-name/").repeated(8) + "project.vmi";
    form->resize(1200, 700);
    QApplication::processEvents();
    form->SetFileName(longName);
    const QString wide = form->StatusPanel1->text();
    form->resize(form->minimumSize());
    QApplication::processEvents();
    const QString narrow = form->StatusPanel1->text();
    EXPECT_LT(narrow.size(), wide.size());
    EXPECT_TRUE(narrow.endsWith("project.vmi"));
}

TEST_F(MainWindow, AboutBoxRemembersTheSplashChoice) {
    auto form = StartMainForm();
    EXPECT_EQ(form->AboutBoxDlg1->SplashWindow(), nullptr);  // first run: no splash
    bool sawUnticked = false;
    form->AboutBoxDlg1->BeforeModal = [&](TAboutBox* box) {
        sawUnticked = !box->CBSplash->isChecked();
        EXPECT_TRUE(box->OKBtn->isVisible() || !box->isVisible());
        EXPECT_EQ(box->windowTitle(), "About Velmora");
        EXPECT_EQ(box->Version->text(), "Version 1.0.6.0");
        box->CBSplash->setChecked(true);
    };
    form->HelpAbout->trigger();
    EXPECT_TRUE(sawUnticked);
    EXPECT_TRUE(ReadBool("Settings", "SplashScreen", false));
    form.reset();
    ReadSplashSetting();
    auto next = StartMainForm();
    ASSERT_NE(next->AboutBoxDlg1->SplashWindow(), nullptr);
    EXPECT_EQ(next->AboutBoxDlg1->SplashWindow()->Comment->currentMessage(), "Loading...");
    EXPECT_FALSE(next->AboutBoxDlg1->SplashWindow()->OKBtn->isVisible());
    next->AboutBoxDlg1->FinishSplash();
    EXPECT_EQ(next->AboutBoxDlg1->SplashWindow(), nullptr);
    WriteSplashSetting(false);
}

TEST(Desktop, EmailAddressSyntax) {
    const struct { const char* text; bool ok; } cases[] = {
        {"ann@example.com", true}, {"ann@localhost", false}, {"ann@9example.com", false},
        {"ann@example-.com", false}, {"ann@ex-ample.co.uk", true}, {"\"a\\\"b\"@example.com", true},
        {"ann smith@example.com", false}, {"", false}, {"a.b@c.d", true}, {"a..b@c.d", false},
        {"ann@example.", false}, {"ann@@example.com", false}};
    for (const auto& c : cases) EXPECT_EQ(IsValidEmailAddress(c.text), c.ok) << c.text;
}

TEST(Desktop, PlacementAndPaths) {
    EXPECT_EQ(KeepOnScreen({1500, 100}, {1280, 800}), QPoint(1080, 100));
    EXPECT_EQ(KeepOnScreen({-20, -5}, {1280, 800}), QPoint(0, 0));
    EXPECT_EQ(KeepOnScreen({100, 750}, {1280, 800}), QPoint(100, 600));
    EXPECT_EQ(GetMakerFolder("/opt/aldermoor/Velmora/", "/usr/local/"), "/opt/aldermoor/");
    EXPECT_EQ(GetMakerFolder("/home/ann/Build/ALDERMOOR/Velmora/", "/usr/local/"), "/home/ann/Build/ALDERMOOR/");
    EXPECT_EQ(GetMakerFolder("/opt/9QX/bin/", "/usr/local/"), "/opt/9QX/");
    EXPECT_EQ(GetMakerFolder("/usr/bin/", "/usr/local/"), "/usr/local/Aldermoor/");
    EXPECT_EQ(GetSettingsKey("/opt/Aldermoor/Velmora/velmora"), "Software\\Aldermoor\\velmora");
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    const QFontMetrics fm(font);
    const QString path = "/home/engineer/projects/harbour-hotel/plant/ahu-01.vmi";
    const int avg = fm.horizontalAdvance(path) / path.size() + 1;
    const QString shortened = ShortenPath(path, avg * 30, fm);
    EXPECT_EQ(shortened.size(), 30);
    EXPECT_EQ(shortened, path.left(30 - 10 - 1) + "~ahu-01.vmi");
    EXPECT_EQ(ShortenPath(path, avg * 8, fm), "ahu-01.vmi");
    EXPECT_EQ(ShortenPath(path, avg * 100, fm), path);
}

TEST(Desktop, RunProgramReportsWhatItCannotStart) {
    QTemporaryDir dir;
    MessageLog log;
    RunProgram(dir.path() + "/nothing-here", QString());
    ASSERT_EQ(log.texts.size(), 1);
    EXPECT_TRUE(log.texts[0].endsWith("\r\nnot found..."));
    const QString plain = dir.path() + "/notes.txt";
    QFile f(plain);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    RunProgram(plain, QString());
    ASSERT_EQ(log.texts.size(), 2);
    EXPECT_TRUE(log.texts[1].endsWith("\r\nProgram not executable..."));
    EXPECT_EQ(HandOverBlock("ab").toHex(), "020000006162");
}

TEST_F(MainWindow, ARunningWindowTakesAHandedOverFile) {
    QTemporaryDir dir;
    const QString file = dir.path() + "/handed.vmi";
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Coil]\nInlet Airflow=4.5\n");
    }
    auto form = StartMainForm();
    // The sender blocks until the receiver has taken the file: another thread.
    std::atomic<bool> sent{false};
    std::thread sender([&] { sent = PassToRunningProgram(AppFolders().ProgramName, file); });
    for (int i = 0; i < 250 && form->Spec().Qai != 4.5; ++i) QTest::qWait(20);
    sender.join();
    EXPECT_TRUE(sent);
    EXPECT_DOUBLE_EQ(form->Spec().Qai, 4.5);
    EXPECT_EQ(form->FileName(), file);
}
