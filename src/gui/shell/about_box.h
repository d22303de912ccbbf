#pragma once
// The About box, which is also the optional splash screen.
#include <QDialog>
#include <QElapsedTimer>
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <functional>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace velmora::gui {

// The program-wide splash setting, "Settings"/"SplashScreen".
bool SplashSetting();
void ReadSplashSetting();
void WriteSplashSetting(bool on);

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    QLabel* ProductName;
    QLabel* DeveloperName;
    QLabel* Version;
    QLabel* Notice;
    QLabel* Description;
    QLabel* LEMail;
    QLabel* EMailLabel;
    QLabel* LWeb;
    QLabel* WebLabel;
    QLabel* Splash;
    QPlainTextEdit* DetailMemo;
    QStatusBar* Comment;
    QCheckBox* CBSplash;
    QPushButton* OKBtn;
};

class TAboutBoxDlg : public QObject {
    Q_OBJECT
public:
    explicit TAboutBoxDlg(QObject* parent = nullptr);

    QString DeveloperName = "Aldermoor";
    QString ProductName = "Velmora";
    QFont ProductFont;
    QString Version = "1.0.0.0";
    QString Description;
    QString EMail;
    QString WebURL, WebCaption;
    QString Comment = "Loading...";
    QString NoticeText;
    QStringList Details;
    QPixmap Picture;
    bool StretchPic = false;
    bool ShowMemo = true;
    bool ShowWebb = false;
    int Interval = 2500;

    bool SplashRequest = false;
    // The splash screen when SplashRequest is set (and the setting is on),
    // else the modal About box.
    void Execute(QWidget* parent = nullptr);
    // Ends the splash screen after at least Interval whole seconds.
    void FinishSplash();
    TAboutBox* SplashWindow() const { return splash_; }

    // Tests: run the modal box with a hook that answers it.
    std::function<void(TAboutBox*)> BeforeModal;

private:
    void fill(TAboutBox* box) const;
    QPointer<TAboutBox> splash_;
    QElapsedTimer shown_;
};

}  // namespace velmora::gui
