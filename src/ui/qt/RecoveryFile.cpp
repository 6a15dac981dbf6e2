#include "ui/qt/RecoveryFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace kestrane {

RecoveryFile::RecoveryFile()
    : path_(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
            QStringLiteral("/unsaved-mission.json")) {}

bool RecoveryFile::Exists() const { return QFileInfo::exists(path_); }

QByteArray RecoveryFile::Read() const {
    QFile file(path_);
    // A recovery text is a few kilobytes, more with long box texts; a file
    // far larger than any box could hold is not one.
    if (!file.open(QIODevice::ReadOnly) || file.size() > (qint64(1) << 30)) return {};
    return file.readAll();
}

bool RecoveryFile::Write(const QByteArray& text) const {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QSaveFile file(path_);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

void RecoveryFile::Remove() const { QFile::remove(path_); }

QString RecoveryFile::SetAside() const {
    const QString aside =
        path_ + QStringLiteral(".aside-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    return QFile::rename(path_, aside) ? aside : QString();
}

}  // namespace kestrane
