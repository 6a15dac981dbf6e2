#include "ui/qt/FileNames.h"

#include <QFile>
#include <dirent.h>
#include <sys/stat.h>

namespace kestrane {

namespace {

bool Exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

QByteArray Join(const QByteArray& folder, const QByteArray& name) {
    if (folder.isEmpty()) return name;
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// The entry of the folder whose name shows as the text, or empty.
QByteArray EntryShownAs(const QByteArray& folder, const QString& shown) {
    DIR* dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (dir == nullptr) return {};
    QByteArray found;
    while (const dirent* entry = ::readdir(dir))
        if (QFile::decodeName(entry->d_name) == shown) {
            found = entry->d_name;
            break;
        }
    ::closedir(dir);
    return found;
}

}  // namespace

QByteArray RawPath(const QString& path) {
    const QByteArray asText = QFile::encodeName(path);
    if (path.isEmpty() || Exists(asText)) return asText;
    QByteArray built = path.startsWith(u'/') ? QByteArray("/") : QByteArray();
    for (const QString& name : path.split(u'/', Qt::SkipEmptyParts)) {
        QByteArray next = Join(built, QFile::encodeName(name));
        if (!Exists(next)) {
            const QByteArray entry = EntryShownAs(built, name);
            if (entry.isEmpty()) return asText;
            next = Join(built, entry);
        }
        built = next;
    }
    return built;
}

QByteArray LocalFileOf(const QUrl& url) {
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return Exists(bytes) ? bytes : RawPath(url.toLocalFile());
}

}  // namespace kestrane
