#include "gui/shell/about_box.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QThread>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/platform/settings_store.h"

namespace velmora::gui {
namespace {
bool g_splash = false;
}

bool SplashSetting() { return g_splash; }
void ReadSplashSetting() { g_splash = ReadBool("Settings", "SplashScreen", false); }
void WriteSplashSetting(bool on) {
    g_splash = on;
    WriteBool("Settings", "SplashScreen", on);
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("AboutBox");
    setModal(true);
    ProductName = new QLabel(this);
    ProductName->setObjectName("ProductName");
    DeveloperName = new QLabel(this);
    Version = new QLabel(this);
    Notice = new QLabel(this);
    Notice->setWordWrap(true);
    Description = new QLabel(this);
    Description->setWordWrap(true);
    LEMail = new QLabel(tr("E-Mail"), this);
    EMailLabel = new QLabel(this);
    LWeb = new QLabel(tr("WebSite"), this);
    WebLabel = new QLabel(this);
    for (QLabel* link : {EMailLabel, WebLabel}) {
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::TextBrowserInteraction);
        link->setOpenExternalLinks(false);
        connect(link, &QLabel::linkActivated, this, [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
    }
    Splash = new QLabel(this);
    Splash->setObjectName("Splash");
    Splash->setAlignment(Qt::AlignCenter);
    Splash->setFixedSize(96, 96);
    DetailMemo = new QPlainTextEdit(this);
    DetailMemo->setReadOnly(true);
    DetailMemo->setMaximumHeight(70);
    Comment = new QStatusBar(this);
    Comment->setSizeGripEnabled(false);
    CBSplash = new QCheckBox(tr("Show this form on program bootup"), this);
    OKBtn = new QPushButton(tr("OK"), this);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(Splash, 0, Qt::AlignTop);
    auto* names = new QVBoxLayout;
    names->addWidget(ProductName);
    names->addWidget(DeveloperName);
    names->addWidget(Version);
    names->addWidget(Description);
    names->addStretch();
    top->addLayout(names, 1);
    auto* links = new QGridLayout;
    links->addWidget(LEMail, 0, 0);
    links->addWidget(EMailLabel, 0, 1);
    links->addWidget(LWeb, 1, 0);
    links->addWidget(WebLabel, 1, 1);
    links->setColumnStretch(1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(CBSplash, 1);
    bottom->addWidget(OKBtn);
    auto* l = new QVBoxLayout(this);
    l->addLayout(top);
    l->addWidget(Notice);
    l->addLayout(links);
    l->addWidget(DetailMemo);
    l->addLayout(bottom);
    l->addWidget(Comment);
    setMinimumWidth(380);
}

TAboutBoxDlg::TAboutBoxDlg(QObject* parent) : QObject(parent) {
    ProductFont = QFont("Impact");
    ProductFont.setPixelSize(29);
}

void TAboutBoxDlg::fill(TAboutBox* box) const {
    const QString product = ProductName.isEmpty() ? QApplication::applicationName() : ProductName;
    box->setWindowTitle("About " + product);
    box->ProductName->setText(product);
    box->ProductName->setFont(ProductFont);
    QPalette pal = box->ProductName->palette();
    pal.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ButtonText));
    box->ProductName->setPalette(pal);
    QFont dev("Impact");
    dev.setPixelSize(16);
    box->DeveloperName->setFont(dev);
    box->DeveloperName->setText(DeveloperName);
    box->Version->setText("Version " + Version);
    box->Notice->setText(NoticeText);
    box->Description->setText(Description);
    box->EMailLabel->setText(QString("<a href=\"mailto:%1\">%1</a>").arg(EMail.toHtmlEscaped()));
    box->WebLabel->setText(QString("<a href=\"%1\">%2</a>").arg(WebURL.toHtmlEscaped(), WebCaption.toHtmlEscaped()));
    box->Comment->showMessage(Comment);
    QPixmap pic = Picture;
    if (!pic.isNull()) {
        box->Splash->setPixmap(StretchPic ? pic.scaled(box->Splash->size()) :
                                            pic.scaled(box->Splash->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    box->DetailMemo->clear();
    box->DetailMemo->setPlainText(Details.join('\n'));
    box->DetailMemo->setVisible(ShowMemo);
}

void TAboutBoxDlg::Execute(QWidget* parent) {
    if (SplashRequest) {
        SplashRequest = false;
        if (!SplashSetting()) return;
        splash_ = new TAboutBox(parent);
        fill(splash_);
        splash_->setModal(false);
        splash_->OKBtn->hide();
        splash_->LEMail->hide();
        splash_->EMailLabel->hide();
        splash_->LWeb->hide();
        splash_->WebLabel->hide();
        splash_->CBSplash->hide();
        splash_->Comment->show();
        shown_.start();
        splash_->show();
        if (auto* scr = QApplication::primaryScreen())
            splash_->move(scr->geometry().center() - splash_->rect().center());
        splash_->repaint();
        QApplication::processEvents();
        return;
    }
    TAboutBox box(parent);
    fill(&box);
    box.OKBtn->show();
    box.LEMail->show();
    box.EMailLabel->show();
    box.LWeb->setVisible(ShowWebb);
    box.WebLabel->setVisible(ShowWebb);
    box.Comment->hide();
    box.CBSplash->show();
    box.CBSplash->setChecked(SplashSetting());
    if (BeforeModal) BeforeModal(&box);
    else box.exec();
    WriteSplashSetting(box.CBSplash->isChecked());
}

void TAboutBoxDlg::FinishSplash() {
    if (!SplashSetting() || !splash_) return;
    const qint64 wait = static_cast<qint64>(Interval / 1000) * 1000;
    while (shown_.isValid() && shown_.elapsed() < wait) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    splash_->close();
    splash_->deleteLater();
    splash_ = nullptr;
}

}  // namespace velmora::gui
