#pragma once
// File names as the file system holds them: bytes, which need not be UTF-8.
// Qt hands names over as text, and a name that is not UTF-8 (a Latin-1
// "caf\xe9.msn", say) does not come back from its text. These find the
// bytes again.

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace kestrane {

// The bytes of the path a dialog or a list shows as text: each name that its
// text does not give back is found among its folder's entries by the text
// it shows. A path that does not exist comes back as its text's bytes.
QByteArray RawPath(const QString& path);

// The bytes of a local file URL, as a file manager encodes them when it
// drags a file.
QByteArray LocalFileOf(const QUrl& url);

}  // namespace kestrane
