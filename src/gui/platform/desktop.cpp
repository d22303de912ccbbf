#include "gui/platform/desktop.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLocalSocket>
#include <QMimeDatabase>
#include <QProcess>
#include <QtEndian>
#include <pwd.h>
#include <unistd.h>

#include "gui/platform/messages.h"

namespace velmora::gui {

void GetRegisteredOwner(QString& owner, QString& organisation) {
    owner.clear();
    if (const passwd* pw = ::getpwuid(::getuid())) {
        // GECOS: full name, then comma-separated extras.
        const QString gecos = QString::fromLocal8Bit(pw->pw_gecos ? pw->pw_gecos : "");
        owner = gecos.section(',', 0, 0).trimmed();
        if (owner.isEmpty()) owner = QString::fromLocal8Bit(pw->pw_name);
    }
    organisation = qEnvironmentVariable("ORGANIZATION").trimmed();
}

bool IsValidEmailAddress(const QString& text) {
    auto isAtom = [](ushort c) {
        if (c < 33 || c > 126) return false;
        return QStringLiteral("()<>,;:\\\".@[]").indexOf(QChar(c)) < 0;
    };
    auto isLetter = [](ushort c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    auto isDigit = [](ushort c) { return c >= '0' && c <= '9'; };
    int state = 0, labels = 1;
    for (const QChar qc : text) {
        const ushort c = qc.unicode();
        switch (state) {
        case 0:
            if (isAtom(c)) state = 1;
            else if (c == '"') state = 2;
            else return false;
            break;
        case 1:
            if (c == '@') state = 6;
            else if (c == '.') state = 5;
            else if (isAtom(c)) state = 1;
            else return false;
            break;
        case 2:
            if (c == '\\') state = 3;
            else if (c == '"') state = 4;
            else if (c == 13) return false;
            break;
        case 3: state = 2; break;
        case 4:
            if (c == '@') state = 6;
            else if (c == '.') state = 5;
            else return false;
            break;
        case 5:
            if (isAtom(c)) state = 1;
            else if (c == '"') state = 2;
            else return false;
            break;
        case 6:
            if (isLetter(c)) state = 7;
            else return false;
            break;
        case 7:
            if (c == '.') { state = 6; ++labels; }
            else if (c == '-') state = 8;
            else if (isLetter(c) || isDigit(c)) state = 7;
            else return false;
            break;
        case 8:
            if (isLetter(c) || isDigit(c)) state = 7;
            else if (c == '-') state = 8;
            else return false;
            break;
        }
    }
    return state == 7 && labels >= 2;
}

QString GetDefaultMailAddress() {
    const QString e = qEnvironmentVariable("EMAIL").trimmed();
    return IsValidEmailAddress(e) ? e : QString();
}

QString GetFileTypeName(const QString& ext) {
    QMimeDatabase db;
    const QMimeType t = db.mimeTypeForFile("file" + ext, QMimeDatabase::MatchExtension);
    if (!t.isValid() || t.isDefault()) return {};
    return t.comment();
}

QString ShortenPath(const QString& path, int width, const QFontMetrics& metrics) {
    const int len = path.size();
    if (len == 0) return path;
    const int avg = metrics.horizontalAdvance(path) / len + 1;
    const int n = width / avg;
    if (len <= n) return path;
    const QString file = QFileInfo(path).fileName();
    if (n < file.size()) return file;
    return path.left(n - file.size() - 1) + "~" + file;
}

QDateTime FileTimeToLocalDateTime(qint64 secondsUtc) {
    const QDateTime t = QDateTime::fromSecsSinceEpoch(secondsUtc, Qt::UTC);
    return t.isValid() ? t.toLocalTime() : QDateTime();
}

QString HandOverServerName(const QString& programName) {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = QString::number(::getuid());
    return "Aldermoor-" + programName + "-" + user;
}

QByteArray HandOverBlock(const QString& arg) {
    const QByteArray bytes = arg.toUtf8();
    QByteArray block(4, '\0');
    qToLittleEndian<quint32>(static_cast<quint32>(bytes.size()), block.data());
    return block + bytes;
}

bool PassToRunningProgram(const QString& programName, const QString& arg) {
    QLocalSocket socket;
    socket.connectToServer(HandOverServerName(programName));
    if (!socket.waitForConnected(500)) return false;
    socket.write(HandOverBlock(arg));
    const bool ok = socket.waitForBytesWritten(2000);
    // Wait for the receiver to take it (it closes the connection).
    socket.waitForDisconnected(5000);
    return ok;
}

void RunProgram(const QString& path, const QString& arg) {
    const QFileInfo fi(path);
    if (!fi.exists()) {
        ShowMessage(path + "\r\nnot found...", MessageKind::Warning);
        return;
    }
    if (fi.isDir() || !fi.isExecutable()) {
        ShowMessage(path + "\r\nProgram not executable...", MessageKind::Warning);
        return;
    }
    if (PassToRunningProgram(fi.completeBaseName(), arg)) return;
    QStringList args;
    if (!arg.isEmpty()) args << arg;
    QProcess::startDetached(fi.absoluteFilePath(), args, fi.absolutePath());
}

}  // namespace velmora::gui
