#include "ui/qt/KeptWorkFolder.h"

#include <filesystem>

#include "mission/Charset.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "mission/FileCopy.h"

namespace kestrane {

namespace {

const QString kSuffix = QStringLiteral(".json");

QString Stamp() { return QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")); }

// A path free of any file: the stem and suffix, or the stem with -2, -3, ...
QString FreePath(const QString& stem, const QString& suffix) {
    QString path = stem + suffix;
    for (int n = 2; QFileInfo(path).exists() || QFileInfo(path).isSymLink(); ++n)
        path = stem + QLatin1Char('-') + QString::number(n) + suffix;
    return path;
}

// An open descriptor of a plain file, or why not. Nothing waits: a pipe or
// device in its place is refused as soon as it is opened. Kept works are
// this program's own files, so a link in their place is refused, never
// followed; a mission may be reached through a link.
enum class Links { Follow, Refuse };
int OpenPlainFile(const QByteArray& path, Links links, std::string& error, off_t* size) {
    const int fd = ::open(path.constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (links == Links::Refuse ? O_NOFOLLOW : 0));
    if (fd < 0) {
        error = errno == ELOOP && links == Links::Refuse ? "it is a link, not a plain file" : std::strerror(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a plain file";
        ::close(fd);
        return -1;
    }
    *size = st.st_size;
    return fd;
}

// Writes the text whole or not at all: into a new file beside the path,
// flushed to the disk, then renamed over the path. Whatever stood at the
// path (a link, say) is replaced, never written through. Empty when done,
// else why not; a failed write leaves the path as it was and no new file.
std::string WriteWhole(const QByteArray& path, std::string_view text) {
    QByteArray temp = path + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    std::size_t done = 0;
    int error = 0;
    while (done < text.size() && error == 0) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno != EINTR) error = errno;
        if (n > 0) done += static_cast<std::size_t>(n);
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.constData(), path.constData()) != 0) error = errno;
    if (error == 0) return {};
    ::unlink(temp.constData());
    return std::strerror(error);
}

// A lock file that no running editor holds, left by a session that ended
// however it ended, is taken away: one that is not a plain file, and one
// that names no editor at all (empty or garbage, as a power cut between
// making and writing it leaves it). A lock just made by an editor starting
// now is written at once, so only one older than a second names nobody.
// A lock that names an editor is left to QLockFile, which knows whether
// that editor still runs.
void RemoveLockOfNobody(const QString& lockPath) {
    const QByteArray name = QFile::encodeName(lockPath);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0) return;
    if (S_ISREG(st.st_mode)) {
        qint64 pid = 0;
        QString host, app;
        if (QLockFile(lockPath).getLockInfo(&pid, &host, &app) && pid > 0) return;
        if (::time(nullptr) - st.st_mtime < 1) return;
    }
    ::unlink(name.constData());
}

}  // namespace

KeptWorkFolder::KeptWorkFolder()
    : KeptWorkFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)) {}

KeptWorkFolder::KeptWorkFolder(const QString& dataFolder)
    : data_(dataFolder), unsaved_(dataFolder + QStringLiteral("/unsaved")) {
    QDir().mkpath(unsaved_);
    TakeInEarlierFiles();
}

KeptWorkFolder::~KeptWorkFolder() = default;

void KeptWorkFolder::TakeInEarlierFiles() {
    const QStringList earlier =
        QDir(data_).entryList({QStringLiteral("unsaved-mission.json*")}, QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& name : earlier)
        std::rename(QFile::encodeName(data_ + u'/' + name).constData(),
                    QFile::encodeName(FreePath(unsaved_ + QStringLiteral("/earlier-") + Stamp(), kSuffix)).constData());
}

QString KeptWorkFolder::PathOf(const std::string& name) const {
    return unsaved_ + u'/' + QFile::decodeName(QByteArray::fromStdString(name));
}

std::vector<std::string> KeptWorkFolder::Names() {
    std::vector<std::string> names;
    // Pipes, devices and links are listed too, so that they are set aside.
    const QStringList found = QDir(unsaved_).entryList({QStringLiteral("*") + kSuffix},
                                                       QDir::Files | QDir::System | QDir::Hidden);
    for (const QString& name : found) names.push_back(QFile::encodeName(name).toStdString());
    return names;
}

WorkStore::Reading KeptWorkFolder::Read(const std::string& name) {
    Reading reading;
    off_t size = 0;
    const int fd = OpenPlainFile(QFile::encodeName(PathOf(name)), Links::Refuse, reading.error, &size);
    if (fd < 0) return reading;
    if (size > kLargest) {
        ::close(fd);
        reading.error = "it is " + std::to_string(size) + " bytes long, larger than any kept work";
        return reading;
    }
    // Read to the end, but never more than the largest kept work: the file
    // may have grown since it was looked at.
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n < 0) reading.error = std::strerror(errno);
            break;
        }
        got += static_cast<std::size_t>(n);
        if (got == text.size() && got <= static_cast<std::size_t>(kLargest)) text.resize(std::min<std::size_t>(2 * got, kLargest + 1));
    }
    ::close(fd);
    if (!reading.error.empty()) return reading;
    if (got > static_cast<std::size_t>(kLargest)) {
        reading.error = "it is larger than any kept work";
        return reading;
    }
    text.resize(got);
    reading.text = std::move(text);
    reading.ok = true;
    return reading;
}

std::string KeptWorkFolder::Write(const std::string& name, std::string_view text) {
    QDir().mkpath(unsaved_);
    return WriteWhole(QFile::encodeName(PathOf(name)), text);
}

void KeptWorkFolder::Remove(const std::string& name) { QFile::remove(PathOf(name)); }

std::string KeptWorkFolder::SetAside(const std::string& name, const std::string& folder) {
    const QString into = unsaved_ + u'/' + QString::fromStdString(folder);
    QDir().mkpath(into);
    const QString aside = FreePath(into + u'/' + QFile::decodeName(QByteArray::fromStdString(name)) + u'-' + Stamp(), {});
    // A rename moves a pipe, device or link itself, without opening it.
    if (std::rename(QFile::encodeName(PathOf(name)).constData(), QFile::encodeName(aside).constData()) != 0) return {};
    return aside.toStdString();
}

bool KeptWorkFolder::Claim(const std::string& name) {
    if (locks_.contains(name)) return true;
    const QString lockPath = PathOf(name) + QStringLiteral(".lock");
    RemoveLockOfNobody(lockPath);
    auto lock = std::make_unique<QLockFile>(lockPath);
    // Held only while its process lives: a session killed outright holds nothing.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return false;
    locks_[name] = std::move(lock);
    return true;
}

void KeptWorkFolder::Release(const std::string& name) { locks_.erase(name); }

std::string KeptWorkFolder::NewName() {
    const QString stem = unsaved_ + u'/' + Stamp() + u'-' + QString::number(QCoreApplication::applicationPid());
    return QFile::encodeName(QFileInfo(FreePath(stem, kSuffix)).fileName()).toStdString();
}

std::string KeptWorkFolder::Now() {
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toStdString();
}

Keeping KeptWorkFolder::KeepReplaced(const std::string& path) {
    std::string error;
    off_t size = 0;
    const int fd = OpenPlainFile(QByteArray::fromStdString(path), Links::Follow, error, &size);
    if (fd < 0) return {false, error};
    const QString folder = data_ + QStringLiteral("/replaced");
    QDir().mkpath(folder);
    // Named by the mission's name as the window shows it (a name that is not
    // UTF-8 read as Windows-1252), so that the copy's name reads as the
    // status line says it.
    const QString base = QString::fromStdString(ReadableText(std::filesystem::path(path).stem().string()));
    QSaveFile copy(FreePath(folder + u'/' + base + u'-' + Stamp(), QStringLiteral(".msn")));
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        ::close(fd);
        return {false, copy.errorString().toStdString()};
    }
    // Unbuffered: the copy is written through its descriptor, and committed
    // (synced and renamed into place) as a whole.
    error = CopyFileData(fd, size, copy.handle());
    ::close(fd);
    if (!error.empty()) {
        copy.cancelWriting();
        return {false, error};
    }
    if (!copy.commit()) return {false, copy.errorString().toStdString()};
    return {true, copy.fileName().toStdString()};
}

}  // namespace kestrane
