#pragma once
// The main window: the specification's fields on the left, the chart filling
// the rest, toolbar above, status bar below.
#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "spec/spec_edits.h"
#include "spec/specification.h"

class QAction;
class QLabel;
class QLocalServer;
class QMenu;
class QToolBar;
class QToolButton;
class QUndoStack;

namespace velmora {
class TRefrigLib;
}

namespace velmora::gui {

class TAboutBoxDlg;
class TChartView;
class TFmtEdit;
class TFmtEditLabel;

class TVelmoraForm : public QMainWindow {
    Q_OBJECT
public:
    // formName names the window's settings section (its placement).
    TVelmoraForm(TRefrigLib& lib, const QStringList& arguments, QWidget* parent = nullptr,
                 const QString& formName = "VelmoraForm");
    ~TVelmoraForm() override;

    const TSpecification& Spec() const { return spec_; }
    TRefrigLib& RefrigLib() { return lib_; }
    QString FileName() const { return fileName_; }
    QString CommandLineFile() const { return commandLineFile_; }
    QUndoStack* UndoStack() const { return undo_; }

    void SetFileName(const QString& name);
    void ShowReady();
    void LoadSettings();
    void SaveSettings();
    void ShowSpecification();
    void DrawProcess();
    // The file a new specification is saved to without Save As.
    QString DefaultFileName() const;

    // Every change of the specification goes through here: one undoable step
    // named by text. mergeId > 0 merges consecutive steps of one drag.
    void ChangeSpecification(const QString& text, const TSpecification& after, int mergeId = -1);
    // Runs an edit on a copy and commits it as one step; shows its message.
    void ApplyEdit(const QString& text, const std::function<EditOutcome(TSpecification&)>& edit);

    // Handlers.
    void FileNewExecute();
    void FileOpenExecute();
    void FileSaveExecute();
    void FileSaveAsExecute();
    void FileCloseExecute();
    void FileExportChartExecute();
    void EditCopyExecute();
    void HelpAboutExecute();
    void HelpContentsExecute();
    void FluidLabelClick();
    bool OpenSpecFile();
    bool SaveSpecFile();
    void FormActivate();

    void BarometerEdExit();
    void AmbientEdExit();
    void SetPointEdExit();
    void AirFlowEdExit();
    void FreshAirEdExit();
    void ADPEdExit();
    void BFEdExit();
    void OnCoilEdExit();
    void OffCoilEdExit();
    void TotalDutyEdExit();
    void WaterInEdExit();

    // The fields and their labels, in tab order.
    TFmtEdit *BarometerEd, *AmbientEd, *SetPointEd, *AirFlowEd, *FreshAirEd, *ADPEd, *BFEd, *OnCoilEd, *OffCoilEd,
        *TotalDutyEd, *WaterInEd;
    TFmtEditLabel *BaromLabel, *AmbLabel, *FmtEditLabel1, *AirflowLabel, *FmtEditLabel2, *FmtEditLabel3,
        *FmtEditLabel4, *OnCoilLabel, *OffCoilLabel, *DutyLabel, *WaterInLabel;
    QToolButton *PressureBtn, *AmbientBtn, *SetPointBtn, *AirflowBtn, *OnCoilBtn, *OffCoilBtn, *DutyBtn, *FluidBtn;
    QLabel* FluidLabel;
    QToolBar* ToolBar2;
    QLabel *StatusPanel0, *StatusPanel1;
    TChartView* Chart1 = nullptr;

    QAction *FileNew, *FileOpen, *FileSave, *FileSaveAs, *FileProperties, *ReportPrinterSetup, *ReportPrint,
        *EditCopy, *FileClose, *HelpContents, *HelpEmail, *HelpAbout, *EditUndo, *EditRedo, *ZoomIdeal, *ZoomIn,
        *ZoomOut, *FileExportChart;
    QList<QAction*> ToolsActions;
    TAboutBoxDlg* AboutBoxDlg1;

    // Tests and automation: replace the file dialogs.
    std::function<QString(const QString& start)> OpenFileChooser;
    std::function<QString(const QString& start)> SaveFileChooser;
    std::function<QString(const QString& start)> ExportFileChooser;

    // The fields by the order of SpecField.
    TFmtEdit* FieldEdit(SpecField f) const;

signals:
    void specificationChanged();

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    QString coolantCaption() const;
    void showCoolant();
    void commitFocusedField();

    void buildActions();
    void buildFields(QWidget* panel);
    void buildToolsActions();
    void setSpecificationQuietly(const TSpecification& s);
    void listenForHandOver();
    QString chooseFile(const std::function<QString(const QString&)>& chooser, const QString& title,
                       const QString& start, const QString& filter, bool save, const char* name);
    bool withFileName(const QString& name, bool (TVelmoraForm::*action)());

    TRefrigLib& lib_;
    TSpecification spec_;
    QString fileName_;
    QString commandLineFile_;
    bool firstActivation_ = true;
    QUndoStack* undo_;
    QLocalServer* server_ = nullptr;
    friend class SpecCommand;
};

class TMainForm : public TVelmoraForm {
    Q_OBJECT
public:
    TMainForm(TRefrigLib& lib, const QStringList& arguments, QWidget* parent = nullptr);
};

}  // namespace velmora::gui
