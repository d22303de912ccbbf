#include "gui/platform/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPoint>
#include <QScreen>
#include <QSettings>
#include <QSize>
#include <QStandardPaths>
#include <QWidget>
#include <stdexcept>

#include "units/number_text.h"

namespace velmora::gui {
namespace {

Folders g_folders;
MakerValues g_maker;

QString withSlash(QString p) {
    if (!p.endsWith('/')) p += '/';
    return p;
}

QString executablePath(const QString& given) {
    return given.isEmpty() ? QCoreApplication::applicationFilePath() : given;
}

}  // namespace

QString GetMakerFolder(const QString& programFolder, const QString& programFilesFolder) {
    // Linux paths are case-sensitive: keep the found prefix, and the folder's
    // own name, exactly as they stand in the program's path.
    for (const QString& word : {QStringLiteral("Aldermoor"), QStringLiteral("9qx")}) {
        const int p = programFolder.indexOf(word, 0, Qt::CaseInsensitive);
        if (p >= 0) return withSlash(programFolder.left(p + word.size()));
    }
    return withSlash(programFilesFolder) + "Aldermoor/";
}

void InitFolders(const QString& exe) {
    const QString path = executablePath(exe);
    Folders f;
    const QString prefix = QStringLiteral(VELMORA_INSTALL_PREFIX);
    f.ProgramFilesFolder = withSlash(prefix.isEmpty() ? QStringLiteral("/usr/local") : prefix);
    f.CommonFilesFolder = f.ProgramFilesFolder + "Common Files/";
    f.ProgramName = QFileInfo(path).completeBaseName();
    f.ProgramFolder = withSlash(QFileInfo(path).absolutePath());
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) throw std::runtime_error("Could not find My Documents folder location.");
    f.DocumentsFolder = withSlash(docs);
    f.UserDataFolder = f.DocumentsFolder + "Aldermoor/" + f.ProgramName + "/";
    if (!QDir().mkpath(f.UserDataFolder)) f.UserDataFolder = f.ProgramFolder;
    f.MakerFolder = GetMakerFolder(f.ProgramFolder, f.ProgramFilesFolder);
    f.SharedFilesFolder = f.MakerFolder + "Common Files/";
    g_folders = f;

    auto maker = OpenMakerSettings();
    MakerValues m;
    m.company = maker->value("company", m.company).toString();
    m.email = maker->value("email", m.email).toString();
    m.user = maker->value("user", m.user).toString();
    m.web = maker->value("web", m.web).toString();
    g_maker = m;
}

const Folders& AppFolders() { return g_folders; }
const MakerValues& Maker() { return g_maker; }
void SetFoldersForTesting(const Folders& f) { g_folders = f; }

QString GetSettingsKey(const QString& exe) {
    return "Software\\Aldermoor\\" + QFileInfo(executablePath(exe)).completeBaseName();
}

std::unique_ptr<QSettings> OpenSettings() {
    QString name = g_folders.ProgramName;
    if (name.isEmpty()) name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Aldermoor", name);
}

std::unique_ptr<QSettings> OpenCommonSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Aldermoor", "Common");
}

std::unique_ptr<QSettings> OpenMakerSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Aldermoor", "Aldermoor");
}

namespace {
QVariant read(const QString& section, const QString& key) {
    auto s = OpenSettings();
    return s->value(section + "/" + key);
}
void write(const QString& section, const QString& key, const QVariant& v) {
    auto s = OpenSettings();
    s->setValue(section + "/" + key, v);
}
}  // namespace

int ReadInteger(const QString& section, const QString& key, int def) {
    const QVariant v = read(section, key);
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? n : def;
}
void WriteInteger(const QString& section, const QString& key, int value) { write(section, key, value); }

bool ReadBool(const QString& section, const QString& key, bool def) {
    const QVariant v = read(section, key);
    if (!v.isValid()) return def;
    const QString t = v.toString().trimmed();
    if (t == "1" || t.compare("true", Qt::CaseInsensitive) == 0) return true;
    if (t == "0" || t.compare("false", Qt::CaseInsensitive) == 0) return false;
    return def;
}
void WriteBool(const QString& section, const QString& key, bool value) { write(section, key, value ? "1" : "0"); }

double ReadFloat(const QString& section, const QString& key, double def) {
    const QVariant v = read(section, key);
    double d;
    if (v.isValid() && TryTextToFloat(v.toString().toStdString(), d)) return d;
    return def;
}
void WriteFloat(const QString& section, const QString& key, double value) {
    write(section, key, QString::fromStdString(FloatToText(value, 17)));
}

QString ReadString(const QString& section, const QString& key, const QString& def) {
    const QVariant v = read(section, key);
    return v.isValid() ? v.toString() : def;
}
void WriteString(const QString& section, const QString& key, const QString& value) { write(section, key, value); }

QPoint KeepOnScreen(QPoint p, QSize screen) {
    int left = p.x(), top = p.y();
    if (left < 0) left = 0;
    if (left > screen.width() - 100) left = screen.width() - 200;
    if (top < 0) top = 0;
    if (top > screen.height() - 100) top = screen.height() - 200;
    return {left, top};
}

void RestoreFormPlacement(QWidget* form, bool readVisible, bool readSize) {
    const QString s = form->objectName();
    QPoint pos(ReadInteger(s, "Left", form->x()), ReadInteger(s, "Top", form->y()));
    if (readSize) {
        const int w = ReadInteger(s, "Width", form->width()), h = ReadInteger(s, "Height", form->height());
        form->resize(QSize(w, h).expandedTo(form->minimumSize()));
    }
    if (readVisible) form->setVisible(ReadBool(s, "Visible", false));
    QSize screen(1280, 800);
    if (auto* scr = QGuiApplication::primaryScreen()) screen = scr->geometry().size();
    form->move(KeepOnScreen(pos, screen));
    const int state = ReadInteger(s, "WinState", form->isMaximized() ? 2 : form->isMinimized() ? 1 : 0);
    if (state == 2) form->setWindowState(form->windowState() | Qt::WindowMaximized);
    else if (state == 1) form->setWindowState(form->windowState() | Qt::WindowMinimized);
}

void SaveFormPlacement(QWidget* form) {
    const QString s = form->objectName();
    // The normal geometry, so that a maximised window comes back to its size.
    const QRect g = form->isMaximized() || form->isMinimized() ? form->normalGeometry() : form->geometry();
    const QRect frame = form->frameGeometry();
    WriteInteger(s, "Left", form->isMaximized() ? g.x() : frame.x());
    WriteInteger(s, "Top", form->isMaximized() ? g.y() : frame.y());
    WriteInteger(s, "Width", g.width());
    WriteInteger(s, "Height", g.height());
    WriteBool(s, "Visible", form->isVisible());
    WriteInteger(s, "WinState", form->isMaximized() ? 2 : form->isMinimized() ? 1 : 0);
}

}  // namespace velmora::gui
