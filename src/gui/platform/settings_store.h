#pragma once
// The settings store and the well-known folders. Settings live in QSettings
// under the organisation "Aldermoor": the program's own values in application
// ProgramName, values shared by the suite in application "Common", maker-level
// values in the organisation alone. One section (group) per form or component.
#include <QString>
#include <QVariant>
#include <memory>

class QSettings;
class QWidget;

namespace velmora::gui {

struct Folders {
    QString ProgramFilesFolder;  // every folder value ends in "/"
    QString CommonFilesFolder;
    QString ProgramName;         // no slash
    QString ProgramFolder;
    QString DocumentsFolder;
    QString UserDataFolder;
    QString MakerFolder;
    QString SharedFilesFolder;
};

struct MakerValues {
    QString company = "Aldermoor Software";
    QString email = "support@aldermoor.example";
    QString user;
    QString web = "https://aldermoor.example/velmora";
};

// Computes the folders and reads the maker-level values; run once at
// start-up before any window exists. Throws std::runtime_error "Could not
// find My Documents folder location." when there is no documents folder.
void InitFolders(const QString& executablePath = QString());
const Folders& AppFolders();
const MakerValues& Maker();
// For tests: replace the folders computed at start-up.
void SetFoldersForTesting(const Folders& f);

// "Software\Aldermoor\" + the executable's file name without extension.
QString GetSettingsKey(const QString& executablePath = QString());
// The maker folder for a program folder: the path up to a folder named
// "Aldermoor" (any letter case, kept as it stands), else up to "9qx", else
// the program files folder + "Aldermoor/".
QString GetMakerFolder(const QString& programFolder, const QString& programFilesFolder);

// Opens the program's own store, the suite's shared store, the maker level.
std::unique_ptr<QSettings> OpenSettings();
std::unique_ptr<QSettings> OpenCommonSettings();
std::unique_ptr<QSettings> OpenMakerSettings();

// Typed access to one value of one section, with the store's conventions:
// integers also read from decimal text, Booleans as "1"/"0".
int ReadInteger(const QString& section, const QString& key, int def);
void WriteInteger(const QString& section, const QString& key, int value);
bool ReadBool(const QString& section, const QString& key, bool def);
void WriteBool(const QString& section, const QString& key, bool value);
double ReadFloat(const QString& section, const QString& key, double def);
void WriteFloat(const QString& section, const QString& key, double value);
QString ReadString(const QString& section, const QString& key, const QString& def);
void WriteString(const QString& section, const QString& key, const QString& value);

// The keep-on-screen rule: a left below 0 becomes 0, a left beyond the
// screen width - 100 becomes the screen width - 200; the same for the top.
QPoint KeepOnScreen(QPoint topLeft, QSize screen);
void RestoreFormPlacement(QWidget* form, bool readVisible, bool readSize);
void SaveFormPlacement(QWidget* form);

}  // namespace velmora::gui
