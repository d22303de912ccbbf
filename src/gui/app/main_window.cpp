#include "gui/app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenuBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>
#include <QtEndian>

#include "common/errors.h"
#include "common/version.h"
#include "gui/app/chart_view.h"
#include "gui/platform/desktop.h"
#include "gui/platform/messages.h"
#include "gui/platform/settings_store.h"
#include "gui/shell/about_box.h"
#include "gui/widgets/fmt_edit.h"
#include "gui/widgets/key_navigation.h"
#include "psy/air_state.h"
#include "refrig/refrig_lib.h"
#include "spec/spec_file.h"
#include "spec/spec_report.h"
#include "units/number_text.h"

namespace velmora::gui {

// One step of the undo history: the whole specification before and after.
class SpecCommand : public QUndoCommand {
public:
    SpecCommand(TVelmoraForm* form, const QString& text, const TSpecification& before, const TSpecification& after,
                int mergeId)
        : QUndoCommand(text), form_(form), before_(before), after_(after), id_(mergeId) {}
    void undo() override { form_->setSpecificationQuietly(before_); }
    void redo() override {
        if (first_) {
            first_ = false;  // the change is already in place
            return;
        }
        form_->setSpecificationQuietly(after_);
    }
    int id() const override { return id_; }
    bool mergeWith(const QUndoCommand* other) override {
        auto* o = static_cast<const SpecCommand*>(other);
        if (o->id_ != id_ || o->text() != text()) return false;
        after_ = o->after_;
        return true;
    }

private:
    TVelmoraForm* form_;
    TSpecification before_, after_;
    int id_;
    bool first_ = true;
};

namespace {

QIcon themed(const char* name, const char* resource, QStyle::StandardPixmap fallback, QStyle* style) {
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
    if (!icon.isNull()) return icon;
    if (resource) return QIcon(QString::fromLatin1(resource));
    return style->standardIcon(fallback);
}

}  // namespace

TVelmoraForm::TVelmoraForm(TRefrigLib& lib, const QStringList& arguments, QWidget* parent, const QString& formName)
    : QMainWindow(parent), lib_(lib) {
    setObjectName(formName);
    setWindowIcon(QIcon(":/velmora/velmora.svg"));
    undo_ = new QUndoStack(this);
    AboutBoxDlg1 = new TAboutBoxDlg(this);
    AboutBoxDlg1->ProductName = kProductName;
    AboutBoxDlg1->Description = tr("airconditioning specification manager");
    AboutBoxDlg1->EMail = Maker().email;
    AboutBoxDlg1->WebURL = Maker().web;
    AboutBoxDlg1->WebCaption = tr("Velmora on the web");
    AboutBoxDlg1->NoticeText = QString("© %1 %2. All rights reserved.").arg(kReportYear).arg(kMakerName);
    AboutBoxDlg1->Picture = QIcon(":/velmora/velmora.svg").pixmap(96, 96);
    AboutBoxDlg1->Details = {tr("Program folder: %1").arg(AppFolders().ProgramFolder),
                             tr("Shared files: %1").arg(AppFolders().SharedFilesFolder),
                             tr("Your files: %1").arg(AppFolders().UserDataFolder),
                             tr("Settings: %1").arg(OpenSettings()->fileName())};

    buildActions();

    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(8);
    auto* panel = new QWidget(central);
    panel->setObjectName("Panel1");
    buildFields(panel);
    row->addWidget(panel, 0);
    Chart1 = new TChartView(central);
    Chart1->setObjectName("Chart1");
    Chart1->setMinimumSize(260, 200);
    row->addWidget(Chart1, 1);
    setCentralWidget(central);

    StatusPanel0 = new QLabel(tr("Status"), this);
    StatusPanel0->setObjectName("StatusPanel0");
    StatusPanel0->setFixedWidth(80);
    StatusPanel1 = new QLabel(tr("FileName"), this);
    StatusPanel1->setObjectName("StatusPanel1");
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);
    statusBar()->hide();

    resize(900, 600);
    setMinimumSize(720, 520);

    // Creation: defaults, then what the settings remember.
    spec_.NewSpecification(lib_);
    LoadSettings();
    const QString joined = arguments.join(' ');
    commandLineFile_ = joined.isEmpty() ? QString() : QFileInfo(joined).absoluteFilePath();
    SetFileName(DefaultFileName());
    setWindowTitle(QString::fromStdString(CaptionText()));
    AboutBoxDlg1->Version = QString::fromStdString(FileVersionText());
    Chart1->Attach(this);
    connect(ZoomIdeal, &QAction::triggered, Chart1, &TChartView::ZoomIdealButtonClick);
    connect(ZoomIn, &QAction::triggered, Chart1, &TChartView::ZoomInButtonClick);
    connect(ZoomOut, &QAction::triggered, Chart1, &TChartView::ZoomOutButtonClick);
    connect(FileExportChart, &QAction::triggered, this, [this] { Guarded([this] { FileExportChartExecute(); }, this); });
    Chart1->SetIdealAxes();
    Chart1->DrawSaturation();
    ShowSpecification();
    InstallKeyNavigation(this, NavigationKind::Edit);
    listenForHandOver();
}

TVelmoraForm::~TVelmoraForm() = default;

QString TVelmoraForm::DefaultFileName() const {
    // A new specification is saved in the user's data folder: the program's
    // own folder is not writable once installed.
    return AppFolders().UserDataFolder + "Noname.vmi";
}

void TVelmoraForm::buildActions() {
    QStyle* st = style();
    auto make = [&](const QString& name, const QString& category, const QString& caption, const QIcon& icon) {
        auto* a = new QAction(icon, caption, this);
        a->setObjectName(name);
        a->setProperty("category", category);
        addAction(a);
        return a;
    };
    FileNew = make("FileNew", "File", tr("&New Project"), themed("document-new", nullptr, QStyle::SP_FileIcon, st));
    FileNew->setShortcut(QKeySequence::New);
    FileNew->setToolTip(tr("New Specification"));
    FileOpen = make("FileOpen", "File", tr("&Open File"), themed("document-open", nullptr, QStyle::SP_DialogOpenButton, st));
    FileOpen->setShortcut(QKeySequence::Open);
    FileOpen->setToolTip(tr("Open File"));
    FileSave = make("FileSave", "File", tr("&Save File"), themed("document-save", nullptr, QStyle::SP_DialogSaveButton, st));
    FileSave->setShortcut(QKeySequence::Save);
    FileSave->setToolTip(tr("Save File"));
    FileSaveAs = make("FileSaveAs", "File", tr("Save File &As..."), QIcon());
    FileSaveAs->setShortcut(QKeySequence::SaveAs);
    FileProperties = make("FileProperties", "File", tr("&Properties"), themed("document-properties", nullptr, QStyle::SP_FileDialogInfoView, st));
    ReportPrinterSetup = make("ReportPrinterSetup", "File", tr("Printer &Setup"), themed("document-print", nullptr, QStyle::SP_ComputerIcon, st));
    ReportPrint = make("ReportPrint", "File", tr("&Report Preview"), themed("document-print-preview", ":/velmora/report.svg", QStyle::SP_FileIcon, st));
    ReportPrint->setToolTip(tr("Report Preview"));
    EditCopy = make("EditCopy", "Edit", tr("&Copy to Windows Clipboard"), themed("edit-copy", ":/velmora/copy.svg", QStyle::SP_FileIcon, st));
    EditCopy->setToolTip(tr("Copy to Clipboard"));
    FileClose = make("FileClose", "File", tr("E&xit"), themed("application-exit", nullptr, QStyle::SP_DialogCloseButton, st));
    FileClose->setShortcut(QKeySequence::Quit);
    HelpContents = make("HelpContents", "Help", tr("&Contents"), themed("help-contents", nullptr, QStyle::SP_DialogHelpButton, st));
    HelpContents->setShortcut(QKeySequence::HelpContents);
    HelpEmail = make("HelpEmail", "Help", tr("&Email for Help"), themed("mail-send", nullptr, QStyle::SP_MessageBoxQuestion, st));
    HelpAbout = make("HelpAbout", "Help", tr("&About"), themed("help-about", nullptr, QStyle::SP_MessageBoxInformation, st));
    EditUndo = undo_->createUndoAction(this, tr("&Undo"));
    EditUndo->setObjectName("EditUndo");
    EditUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EditUndo->setIcon(themed("edit-undo", nullptr, QStyle::SP_ArrowBack, st));
    EditRedo = undo_->createRedoAction(this, tr("&Redo"));
    EditRedo->setObjectName("EditRedo");
    EditRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EditRedo->setIcon(themed("edit-redo", nullptr, QStyle::SP_ArrowForward, st));
    addAction(EditUndo);
    addAction(EditRedo);
    ZoomIdeal = make("ZoomIdeal", "Chart", tr("Zoom &Ideal"), QIcon(":/velmora/zoom-ideal.svg"));
    ZoomIdeal->setToolTip(tr("Zoom Ideal"));
    ZoomIn = make("ZoomIn", "Chart", tr("Zoom &In"), QIcon(":/velmora/zoom-in.svg"));
    ZoomIn->setToolTip(tr("Zoom In"));
    ZoomIn->setShortcut(QKeySequence::ZoomIn);
    ZoomOut = make("ZoomOut", "Chart", tr("Zoom &Out"), QIcon(":/velmora/zoom-out.svg"));
    ZoomOut->setToolTip(tr("Zoom Out"));
    ZoomOut->setShortcut(QKeySequence::ZoomOut);
    FileExportChart = make("FileExportChart", "File", tr("Save &Chart As..."), themed("document-export", nullptr, QStyle::SP_DriveFDIcon, st));

    // Commands whose windows are not part of this version stay visible but off.
    for (QAction* a : {FileProperties, ReportPrinterSetup, ReportPrint, HelpEmail}) {
        a->setEnabled(false);
        a->setStatusTip(tr("Not available in this version"));
    }

    connect(FileNew, &QAction::triggered, this, [this] { Guarded([this] { FileNewExecute(); }, this); });
    connect(FileOpen, &QAction::triggered, this, [this] { Guarded([this] { FileOpenExecute(); }, this); });
    connect(FileSave, &QAction::triggered, this, [this] { Guarded([this] { FileSaveExecute(); }, this); });
    connect(FileSaveAs, &QAction::triggered, this, [this] { Guarded([this] { FileSaveAsExecute(); }, this); });
    connect(FileClose, &QAction::triggered, this, [this] { FileCloseExecute(); });
    connect(EditCopy, &QAction::triggered, this, [this] { Guarded([this] { EditCopyExecute(); }, this); });
    connect(HelpAbout, &QAction::triggered, this, [this] { Guarded([this] { HelpAboutExecute(); }, this); });
    connect(HelpContents, &QAction::triggered, this, [this] { HelpContentsExecute(); });

    ToolBar2 = addToolBar(tr("Standard"));
    ToolBar2->setObjectName("ToolBar2");
    ToolBar2->setMovable(false);
    ToolBar2->setIconSize(QSize(22, 22));
    ToolBar2->addAction(FileNew);
    ToolBar2->addAction(FileOpen);
    ToolBar2->addAction(FileSave);
    ToolBar2->addSeparator();
    ToolBar2->addAction(ReportPrint);
    ToolBar2->addAction(EditCopy);
    ToolBar2->addAction(EditUndo);
    ToolBar2->addAction(EditRedo);
    ToolBar2->addSeparator();
    ToolBar2->addAction(ZoomIdeal);
    ToolBar2->addAction(ZoomIn);
    ToolBar2->addAction(ZoomOut);
    buildToolsActions();
}

void TVelmoraForm::buildToolsActions() {
    // The suite's sibling programs, under the maker folder.
    struct Tool {
        const char* name;
        const char* caption;
        const char* path;
        bool inMenu;
    };
    const Tool tools[] = {
        {"ToolPsychro", "&Psychrometric Chart", "Psychra/psychra", true},
        {"ToolCoolingLoad", "&Cooling Load", "Loadmaster/loadmaster", true},
        {"ToolDuct", "&Duct Sizing", "Ductwise/ductwise", true},
        {"ToolPipe", "P&ipe Sizing", "Pipewise/pipewise", true},
        {"ToolCoil", "Coil &Rating", "Coilrate/coilrate", true},
        {"ToolFan", "&Fan Selection", "Fanlab/fanlab", false},
        {"ToolUnits", "&Units Converter", "Unitas/unitas", false},
        {"ToolWeather", "&Weather Data", "Climatica/climatica", false},
    };
    for (const Tool& t : tools) {
        auto* a = new QAction(tr(t.caption), this);
        a->setObjectName(t.name);
        a->setProperty("category", "Tools");
        a->setProperty("inMenu", t.inMenu);
        const QString path = QString::fromLatin1(t.path);
        connect(a, &QAction::triggered, this, [path] { RunProgram(AppFolders().MakerFolder + path, QString()); });
        ToolsActions << a;
        addAction(a);
    }
}

void TVelmoraForm::buildFields(QWidget* panel) {
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(7);
    int rowIndex = 0;
    auto row = [&](const QString& caption, TFmtEdit*& edit, const char* editName, TFmtEditLabel*& label,
                   const char* labelName, TUnitsType type, const char* format, const char* designText,
                   QToolButton** button, const char* buttonName, const QString& tip) {
        auto* cap = new QLabel(caption, panel);
        edit = new TFmtEdit(panel);
        edit->setObjectName(editName);
        label = new TFmtEditLabel(panel);
        label->setObjectName(labelName);
        label->setMinimumWidth(56);
        edit->SetFormatType(ft_Fixed);
        edit->SetSigDigs(5);
        edit->SetFormatStr(format);
        edit->setText(designText);
        edit->SetUnitsType(type);
        edit->SetUnitsLabel(label);
        edit->setMinimumWidth(96);
        edit->setAlignment(Qt::AlignRight);
        cap->setBuddy(edit);
        grid->addWidget(cap, rowIndex, 0);
        grid->addWidget(edit, rowIndex, 1);
        grid->addWidget(label, rowIndex, 2);
        if (button) {
            auto* b = new QToolButton(panel);
            b->setObjectName(buttonName);
            b->setText("…");
            b->setToolTip(tip);
            b->setFocusPolicy(Qt::NoFocus);
            b->setAutoRaise(true);
            grid->addWidget(b, rowIndex, 3);
            *button = b;
        }
        ++rowIndex;
    };
    const QString later = tr(" (not available in this version)");
    row(tr("Barometer"), BarometerEd, "BarometerEd", BaromLabel, "BaromLabel", utPressureBar, "%0.3f", "101.325",
        &PressureBtn, "PressureBtn", tr("Barometer and altitude") + later);
    BarometerEd->SetRange(60, 130);
    row(tr("Ambient"), AmbientEd, "AmbientEd", AmbLabel, "AmbLabel", utTemperature, "%0.1f/%0.1f", "32.0/21.0",
        &AmbientBtn, "AmbientBtn", tr("Moist air state") + later);
    row(tr("SetPoint"), SetPointEd, "SetPointEd", FmtEditLabel1, "FmtEditLabel1", utTemperature, "%0.1f/%0.1f",
        "22.5/16.0", &SetPointBtn, "SetPointBtn", tr("Moist air state") + later);
    row(tr("Airflow"), AirFlowEd, "AirFlowEd", AirflowLabel, "AirflowLabel", utAirFlowPrim, "%0.3f", "1.000",
        &AirflowBtn, "AirflowBtn", tr("Airflow") + later);
    row(tr("Fresh Air"), FreshAirEd, "FreshAirEd", FmtEditLabel2, "FmtEditLabel2", utProportion, "%0.3f", "0.050",
        nullptr, nullptr, {});
    FreshAirEd->SetRange(0, 1);
    row(tr("ADP"), ADPEd, "ADPEd", FmtEditLabel3, "FmtEditLabel3", utTemperature, "%0.1f", "9.0", nullptr, nullptr, {});
    row(tr("Coil Bypass"), BFEd, "BFEd", FmtEditLabel4, "FmtEditLabel4", utProportion, "%0.3f", "0.150", nullptr,
        nullptr, {});
    BFEd->SetRange(0, 1);
    row(tr("On Coil"), OnCoilEd, "OnCoilEd", OnCoilLabel, "OnCoilLabel", utTemperature, "%0.1f/%0.1f", "25.0/17.0",
        &OnCoilBtn, "OnCoilBtn", tr("Moist air state") + later);
    row(tr("Off Coil"), OffCoilEd, "OffCoilEd", OffCoilLabel, "OffCoilLabel", utTemperature, "%0.1f/%0.1f",
        "13.0/12.0", &OffCoilBtn, "OffCoilBtn", tr("Moist air state") + later);
    row(tr("Total Duty"), TotalDutyEd, "TotalDutyEd", DutyLabel, "DutyLabel", utDutyPrim, "%0.3f", "20.000",
        &DutyBtn, "DutyBtn", tr("Cooling duty") + later);
    // The coolant row: its caption is the clickable coolant label.
    row(QString(), WaterInEd, "WaterInEd", WaterInLabel, "WaterInLabel", utTemperature, "%0.1f", "6.0", &FluidBtn,
        "FluidBtn", tr("Chilled water or refrigerant") + later);
    FluidLabel = new QLabel(panel);
    FluidLabel->setObjectName("FluidLabel");
    FluidLabel->setCursor(Qt::PointingHandCursor);
    FluidLabel->setToolTip(tr("Click to switch between chilled water and refrigerant"));
    delete grid->itemAtPosition(rowIndex - 1, 0)->widget();
    grid->addWidget(FluidLabel, rowIndex - 1, 0);
    FluidLabel->installEventFilter(this);
    grid->setRowStretch(rowIndex, 1);
    grid->setColumnStretch(1, 1);
    for (QToolButton* b : {PressureBtn, AmbientBtn, SetPointBtn, AirflowBtn, OnCoilBtn, OffCoilBtn, DutyBtn, FluidBtn})
        b->setEnabled(false);

    connect(BarometerEd, &QxCustomEdit::exited, this, [this] { BarometerEdExit(); });
    connect(AmbientEd, &QxCustomEdit::exited, this, [this] { AmbientEdExit(); });
    connect(SetPointEd, &QxCustomEdit::exited, this, [this] { SetPointEdExit(); });
    connect(AirFlowEd, &QxCustomEdit::exited, this, [this] { AirFlowEdExit(); });
    connect(FreshAirEd, &QxCustomEdit::exited, this, [this] { FreshAirEdExit(); });
    connect(ADPEd, &QxCustomEdit::exited, this, [this] { ADPEdExit(); });
    connect(BFEd, &QxCustomEdit::exited, this, [this] { BFEdExit(); });
    connect(OnCoilEd, &QxCustomEdit::exited, this, [this] { OnCoilEdExit(); });
    connect(OffCoilEd, &QxCustomEdit::exited, this, [this] { OffCoilEdExit(); });
    connect(TotalDutyEd, &QxCustomEdit::exited, this, [this] { TotalDutyEdExit(); });
    connect(WaterInEd, &QxCustomEdit::exited, this, [this] { WaterInEdExit(); });
}

TFmtEdit* TVelmoraForm::FieldEdit(SpecField f) const {
    TFmtEdit* const edits[] = {BarometerEd, AmbientEd, SetPointEd, AirFlowEd, FreshAirEd, ADPEd,
                               BFEd,        OnCoilEd,  OffCoilEd,  TotalDutyEd, WaterInEd};
    return edits[static_cast<int>(f)];
}

void TVelmoraForm::SetFileName(const QString& name) {
    fileName_ = name;
    // Panel 1 takes what panel 0 leaves of the status bar.
    const int w = std::max(40, statusBar()->width() - StatusPanel0->width() - 24);
    StatusPanel1->setText(ShortenPath(QDir::toNativeSeparators(name), w, StatusPanel1->fontMetrics()));
    StatusPanel1->setToolTip(name);
}

void TVelmoraForm::ShowReady() { StatusPanel0->setText(tr("Ready...")); }

void TVelmoraForm::LoadSettings() {
    RestoreFormPlacement(this, false, true);
    const int defaults[kSpecFieldCount] = {0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0};
    for (int i = 0; i < kSpecFieldCount; ++i) {
        const auto f = static_cast<SpecField>(i);
        FieldEdit(f)->SetUnitsValue(ReadInteger("SpecUnits", SpecFieldKey(f), defaults[i]));
    }
    const QString sec = "Specification";
    RememberedSpec r;
    r.BP = ReadFloat(sec, "BP", r.BP);
    r.Ambient = ReadString(sec, "Ambient", QString::fromStdString(r.Ambient)).toStdString();
    r.SetPoint = ReadString(sec, "SetPoint", QString::fromStdString(r.SetPoint)).toStdString();
    r.Qai = ReadFloat(sec, "Qai", r.Qai);
    r.FreshAir = ReadFloat(sec, "FreshAir", r.FreshAir);
    r.adp = ReadFloat(sec, "adp", r.adp);
    r.bf = ReadFloat(sec, "bf", r.bf);
    r.OnCoil = ReadString(sec, "OnCoil", QString::fromStdString(r.OnCoil)).toStdString();
    r.OffCoil = ReadString(sec, "OffCoil", QString::fromStdString(r.OffCoil)).toStdString();
    r.Qt = ReadFloat(sec, "Qt", r.Qt);
    r.twi = ReadFloat(sec, "twi", r.twi);
    r.two = ReadFloat(sec, "two", r.two);
    r.mw = ReadFloat(sec, "mw", r.mw);
    // A damaged store must not keep the program from starting: the defaults stand.
    Guarded([&] { RestoreRemembered(spec_, r); }, this);
}

void TVelmoraForm::SaveSettings() {
    SaveFormPlacement(this);
    const RememberedSpec r = Remember(spec_);
    const QString sec = "Specification";
    WriteFloat(sec, "BP", r.BP);
    WriteString(sec, "Ambient", QString::fromStdString(r.Ambient));
    WriteString(sec, "SetPoint", QString::fromStdString(r.SetPoint));
    WriteFloat(sec, "Qai", r.Qai);
    WriteFloat(sec, "FreshAir", r.FreshAir);
    WriteFloat(sec, "adp", r.adp);
    WriteFloat(sec, "bf", r.bf);
    WriteString(sec, "OnCoil", QString::fromStdString(r.OnCoil));
    WriteString(sec, "OffCoil", QString::fromStdString(r.OffCoil));
    WriteFloat(sec, "Qt", r.Qt);
    WriteFloat(sec, "twi", r.twi);
    WriteFloat(sec, "two", r.two);
    WriteFloat(sec, "mw", r.mw);
    for (int i = 0; i < kSpecFieldCount; ++i) {
        const auto f = static_cast<SpecField>(i);
        WriteInteger("SpecUnits", SpecFieldKey(f), FieldEdit(f)->UnitsValue());
    }
}

void TVelmoraForm::ShowSpecification() {
    const TSpecification& s = spec_;
    BarometerEd->SetValue(s.BP);
    AmbientEd->SetValue(QString::fromStdString(FormatDbWb(s.Ambient, "%0.1f")));
    SetPointEd->SetValue(QString::fromStdString(FormatDbWb(s.SetPoint, "%0.1f")));
    AirFlowEd->SetValue(s.Qai);
    FreshAirEd->SetValue(s.FreshAir);
    ADPEd->SetValue(s.ADP.db);
    BFEd->SetValue(s.BF);
    OnCoilEd->SetValue(QString::fromStdString(FormatDbWb(s.OnCoil, "%0.1f")));
    OffCoilEd->SetValue(QString::fromStdString(FormatDbWb(s.OffCoil, "%0.1f")));
    TotalDutyEd->SetValue(s.Qt);
    WaterInEd->SetValue(s.Twi);
    showCoolant();
    DrawProcess();
}

void TVelmoraForm::DrawProcess() {
    if (Chart1) Chart1->DrawProcess();
}

void TVelmoraForm::setSpecificationQuietly(const TSpecification& s) {
    spec_ = s;
    // A step back or forth replaces whatever a field held unsaved.
    for (int i = 0; i < kSpecFieldCount; ++i) FieldEdit(static_cast<SpecField>(i))->SetModified(false);
    lib_.Select(spec_.Refrigerant);
    if (Chart1) Chart1->DrawSaturation();
    ShowSpecification();
    emit specificationChanged();
}

void TVelmoraForm::ChangeSpecification(const QString& text, const TSpecification& after, int mergeId) {
    const TSpecification before = spec_;
    spec_ = after;
    undo_->push(new SpecCommand(this, text, before, after, mergeId));
    ShowSpecification();
    emit specificationChanged();
}

void TVelmoraForm::ApplyEdit(const QString& text, const std::function<EditOutcome(TSpecification&)>& edit) {
    Guarded(
        [&] {
            TSpecification s = spec_;
            const EditOutcome out = edit(s);  // all-or-nothing: throws before anything changes
            if (!out.message.empty()) ShowMessage(QString::fromStdString(out.message));
            ChangeSpecification(text, s);
        },
        this);
}

// --- field exit handlers ------------------------------------------------------------

namespace {
double numberOf(TFmtEdit* e) {
    const QVariant v = e->Value();
    if (v.typeId() == QMetaType::Double) return v.toDouble();
    return TextToFloat(v.toString().toStdString());  // throws the conversion error
}
std::string textOf(TFmtEdit* e) { return e->Value().toString().toStdString(); }
}  // namespace

#define VELMORA_NUMBER_EXIT(Handler, Edit, Caption, Op)                                                 \
    void TVelmoraForm::Handler() {                                                                      \
        if (!Edit->Modified()) return;                                                                  \
        Guarded([this] {                                                                                \
            const double v = numberOf(Edit);                                                            \
            ApplyEdit(Caption, [v](TSpecification& s) { return Op(s, v); });                            \
        }, this);                                                                                       \
    }
#define VELMORA_TEXT_EXIT(Handler, Edit, Caption, Op)                                                   \
    void TVelmoraForm::Handler() {                                                                      \
        if (!Edit->Modified()) return;                                                                  \
        const std::string t = textOf(Edit);                                                             \
        ApplyEdit(Caption, [t](TSpecification& s) { return Op(s, t); });                                \
    }

VELMORA_NUMBER_EXIT(BarometerEdExit, BarometerEd, tr("Barometer"), EditBarometer)
VELMORA_TEXT_EXIT(AmbientEdExit, AmbientEd, tr("Ambient"), EditAmbient)
VELMORA_TEXT_EXIT(SetPointEdExit, SetPointEd, tr("SetPoint"), EditSetPoint)
VELMORA_NUMBER_EXIT(AirFlowEdExit, AirFlowEd, tr("Airflow"), EditAirFlow)
VELMORA_NUMBER_EXIT(FreshAirEdExit, FreshAirEd, tr("Fresh Air"), EditFreshAir)
VELMORA_NUMBER_EXIT(ADPEdExit, ADPEd, tr("ADP"), EditADP)
VELMORA_NUMBER_EXIT(BFEdExit, BFEd, tr("Coil Bypass"), EditBF)
VELMORA_TEXT_EXIT(OnCoilEdExit, OnCoilEd, tr("On Coil"), EditOnCoil)
VELMORA_TEXT_EXIT(OffCoilEdExit, OffCoilEd, tr("Off Coil"), EditOffCoil)
VELMORA_NUMBER_EXIT(TotalDutyEdExit, TotalDutyEd, tr("Total Duty"), EditTotalDuty)
VELMORA_NUMBER_EXIT(WaterInEdExit, WaterInEd, coolantCaption(), EditWaterIn)

#undef VELMORA_NUMBER_EXIT
#undef VELMORA_TEXT_EXIT

QString TVelmoraForm::coolantCaption() const {
    return spec_.Coolant == coolChilledWater ? tr("Water") : tr("Refrigerant");
}

void TVelmoraForm::FluidLabelClick() {
    TSpecification s = spec_;
    s.Coolant = s.Coolant == coolChilledWater ? coolDirectExpansion : coolChilledWater;
    ChangeSpecification(tr("Coolant"), s);
}

void TVelmoraForm::showCoolant() {
    const bool water = spec_.Coolant == coolChilledWater;
    FluidLabel->setText(QString("<a href=\"#\" style=\"color:%1;\">%2</a>")
                            .arg(palette().color(QPalette::Link).name(), coolantCaption()));
    FluidBtn->setIcon(QIcon(water ? ":/velmora/water.svg" : ":/velmora/refrigerant.svg"));
}

// --- files ----------------------------------------------------------------------------

bool TVelmoraForm::OpenSpecFile() {
    return Guarded(
        [this] {
            TSpecification s = spec_;
            ReadSpecFile(s, lib_, fileName_.toStdString());
            ChangeSpecification(tr("Open %1").arg(QFileInfo(fileName_).fileName()), s);
            ShowReady();
        },
        this);
}

bool TVelmoraForm::SaveSpecFile() {
    return Guarded(
        [this] {
            WriteSpecFile(spec_, lib_, fileName_.toStdString());
            ShowReady();
        },
        this);
}

QString TVelmoraForm::chooseFile(const std::function<QString(const QString&)>& chooser, const QString& title,
                                const QString& start, const QString& filter, bool save, const char* name) {
    if (chooser) return chooser(start);
    const QFileInfo at(start);
    QFileDialog dlg(this, title, at.absolutePath(), filter);
    dlg.setObjectName(name);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!save) dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(QFileInfo(start).suffix().isEmpty() ? "vmi" : QFileInfo(start).suffix());
    dlg.selectFile(at.fileName());
    if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty()) return dlg.selectedFiles().first();
    return {};
}

bool TVelmoraForm::withFileName(const QString& name, bool (TVelmoraForm::*action)()) {
    // The name changes only when the action worked, so that a later Save
    // cannot overwrite a file that was never read or written.
    const QString previous = fileName_;
    fileName_ = name;
    if ((this->*action)()) {
        SetFileName(name);
        return true;
    }
    fileName_ = previous;
    return false;
}

void TVelmoraForm::FileNewExecute() {
    TSpecification s = spec_;
    s.NewSpecification(lib_);
    SetFileName(DefaultFileName());
    ChangeSpecification(tr("New Project"), s);
    if (Chart1) {
        Chart1->SetIdealAxes();
        Chart1->DrawSaturation();
    }
    ShowReady();
}

void TVelmoraForm::FileOpenExecute() {
    const QString chosen =
        chooseFile(OpenFileChooser, tr("Velmora File Open"), fileName_, tr("Velmora File (*.vmi)"), false, "OpenDialog1");
    if (!chosen.isEmpty()) withFileName(chosen, &TVelmoraForm::OpenSpecFile);
}

void TVelmoraForm::FileSaveExecute() {
    commitFocusedField();
    SaveSpecFile();
}

void TVelmoraForm::FileSaveAsExecute() {
    commitFocusedField();
    QString chosen =
        chooseFile(SaveFileChooser, tr("Velmora File Save"), fileName_, tr("Velmora File (*.vmi)"), true, "SaveDialog1");
    if (chosen.isEmpty()) return;
    if (QFileInfo(chosen).suffix().isEmpty()) chosen += ".vmi";
    withFileName(chosen, &TVelmoraForm::SaveSpecFile);
}

void TVelmoraForm::FileCloseExecute() { close(); }

void TVelmoraForm::FileExportChartExecute() {
    commitFocusedField();
    const QFileInfo current(fileName_);
    QString chosen = chooseFile(ExportFileChooser, tr("Save Chart As"),
                                current.absolutePath() + "/" + current.completeBaseName() + ".png",
                                tr("PNG image (*.png);;PDF document (*.pdf);;SVG image (*.svg)"), true, "ExportDialog");
    if (chosen.isEmpty()) return;
    const QString ext = QFileInfo(chosen).suffix().toLower();
    if (ext != "png" && ext != "pdf" && ext != "svg") chosen += ".png";
    if (!Chart1->SaveChart(chosen)) throw FileError(("Unable to write to " + chosen).toStdString());
}

void TVelmoraForm::EditCopyExecute() {
    commitFocusedField();
    QApplication::clipboard()->setText(QString::fromStdString(ClipboardText(spec_)));
}

void TVelmoraForm::HelpAboutExecute() { AboutBoxDlg1->Execute(this); }

void TVelmoraForm::HelpContentsExecute() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(AppFolders().ProgramFolder + "Help/Velmora.htm"));
}

void TVelmoraForm::FormActivate() {
    if (!firstActivation_) return;
    firstActivation_ = false;
    if (!commandLineFile_.isEmpty()) {
        fileName_ = commandLineFile_;
        SetFileName(commandLineFile_);
        OpenSpecFile();
        undo_->clear();  // the file is where the history starts
    }
}

void TVelmoraForm::listenForHandOver() {
    server_ = new QLocalServer(this);
    const QString name = HandOverServerName(AppFolders().ProgramName.isEmpty() ? "velmora" : AppFolders().ProgramName);
    if (!server_->listen(name)) {
        // A running instance keeps the name; only a stale socket is removed.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(200)) return;
        QLocalServer::removeServer(name);
        if (!server_->listen(name)) return;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* c = server_->nextPendingConnection()) {
            connect(c, &QLocalSocket::readyRead, this, [this, c] {
                const QByteArray data = c->peek(c->bytesAvailable());
                if (data.size() < 4) return;
                const quint32 n = qFromLittleEndian<quint32>(data.constData());
                if (static_cast<quint32>(data.size()) < 4 + n) return;
                c->readAll();
                const QString arg = QString::fromUtf8(data.mid(4, static_cast<int>(n)));
                c->disconnectFromServer();
                raise();
                activateWindow();
                if (!arg.isEmpty()) withFileName(QFileInfo(arg).absoluteFilePath(), &TVelmoraForm::OpenSpecFile);
            });
            connect(c, &QLocalSocket::disconnected, c, &QObject::deleteLater);
        }
    });
}

// --- window events ------------------------------------------------------------------

void TVelmoraForm::commitFocusedField() {
    // A toolbar button takes no focus: the field being typed in is committed
    // as leaving it would, so that what is saved or copied is what is shown.
    if (auto* w = qobject_cast<QxCustomEdit*>(QApplication::focusWidget()); w && w->window() == this && w->Modified())
        w->CommitAndExit();
}

void TVelmoraForm::closeEvent(QCloseEvent* e) {
    commitFocusedField();
    SaveSettings();
    e->accept();
}

void TVelmoraForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (firstActivation_) QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TVelmoraForm::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    SetFileName(fileName_);
}

bool TVelmoraForm::eventFilter(QObject* o, QEvent* e) {
    if (o == FluidLabel && e->type() == QEvent::MouseButtonRelease) {
        FluidLabelClick();
        return true;
    }
    return QMainWindow::eventFilter(o, e);
}

// --- TMainForm ----------------------------------------------------------------------

TMainForm::TMainForm(TRefrigLib& lib, const QStringList& arguments, QWidget* parent)
    : TVelmoraForm(lib, arguments, parent, "MainForm") {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(FileNew);
    file->addAction(FileOpen);
    file->addAction(FileSave);
    file->addAction(FileSaveAs);
    file->addAction(FileExportChart);
    file->addSeparator();
    file->addAction(FileProperties);
    file->addAction(ReportPrinterSetup);
    file->addAction(ReportPrint);
    file->addSeparator();
    file->addAction(FileClose);
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(EditUndo);
    edit->addAction(EditRedo);
    edit->addSeparator();
    edit->addAction(EditCopy);
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(ZoomIdeal);
    view->addAction(ZoomIn);
    view->addAction(ZoomOut);
    QMenu* tools = menuBar()->addMenu(tr("&Tools"));
    for (QAction* a : ToolsActions)
        if (a->property("inMenu").toBool()) tools->addAction(a);
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(HelpContents);
    help->addAction(HelpEmail);
    help->addSeparator();
    help->addAction(HelpAbout);
    statusBar()->show();
    SetFileName(FileName());
    AboutBoxDlg1->SplashRequest = true;
    AboutBoxDlg1->Execute(this);
}

}  // namespace velmora::gui
