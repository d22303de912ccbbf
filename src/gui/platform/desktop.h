#pragma once
// Small desktop routines: owner and mail address, file type names, path
// shortening for display, and starting (or handing an argument to) a program
// of the suite.
#include <QDateTime>
#include <QString>
#include <functional>

class QFontMetrics;
class QWidget;

namespace velmora::gui {

void GetRegisteredOwner(QString& owner, QString& organisation);
bool IsValidEmailAddress(const QString& text);
// $EMAIL when it passes the address test, else empty.
QString GetDefaultMailAddress();
// Description of a file type by its extension (".vmi"), or empty.
QString GetFileTypeName(const QString& ext);
// Shortens a path to fit width pixels, the middle replaced by "~".
QString ShortenPath(const QString& path, int width, const QFontMetrics& metrics);
// Seconds since the Unix epoch in UTC to local time; an invalid value on failure.
QDateTime FileTimeToLocalDateTime(qint64 secondsUtc);

// Name of the local socket a running program of the suite listens on.
QString HandOverServerName(const QString& programName);
// Starts the program at path with arg, or hands arg to its running instance.
// Problems are reported through the message function (a message box in the
// program).
void RunProgram(const QString& path, const QString& arg);
// Sends arg to a running instance; false when none answers.
bool PassToRunningProgram(const QString& programName, const QString& arg);
// The hand-over block: a little-endian 32-bit length, then the UTF-8 bytes.
QByteArray HandOverBlock(const QString& arg);

}  // namespace velmora::gui
