#include "ui/qt/SettingsFile.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace kestrane {

namespace {

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a plain file";
}

// Why the file cannot be kept as a plain file, or empty when it can (it is
// one, a link to one, or missing). Nothing is opened, so a pipe cannot hang.
QString Refusal(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0)
        return errno == ENOENT ? QString() : QStringLiteral("cannot be looked at (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
    if (S_ISREG(st.st_mode)) return {};
    if (!S_ISLNK(st.st_mode)) return QStringLiteral("is %1, not a plain file").arg(QLatin1String(KindOf(st.st_mode)));
    struct stat target {};
    if (::stat(name.constData(), &target) != 0) return QStringLiteral("is a link to a file that does not exist");
    if (S_ISREG(target.st_mode)) return {};
    return QStringLiteral("is a link to %1, not to a plain file").arg(QLatin1String(KindOf(target.st_mode)));
}

}  // namespace

QString GuardSettingsFile() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    // The application's own file, its lock, and the organisation's file
    // that QSettings reads as a fallback.
    const QString own = config + QStringLiteral("/kestrane/kestrane.conf");
    for (const QString& path : {own, own + QStringLiteral(".lock"), config + QStringLiteral("/kestrane.conf")}) {
        const QString why = Refusal(path);
        if (why.isEmpty()) continue;
        static QTemporaryDir session;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, session.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, session.path());
        return QStringLiteral("Settings will not be remembered: %1 %2.").arg(path, why);
    }
    return {};
}

}  // namespace kestrane
