#pragma once
// The file that keeps unsaved work across a close, in the user's data
// folder. It is written whole or not at all.

#include <QString>

namespace kestrane {

class RecoveryFile {
public:
    // The file in the application data folder.
    RecoveryFile();
    explicit RecoveryFile(QString path) : path_(std::move(path)) {}

    const QString& Path() const { return path_; }
    bool Exists() const;
    QByteArray Read() const;
    bool Write(const QByteArray& text) const;
    void Remove() const;
    // Moves the file out of the way (damaged, or older work not restored);
    // returns where.
    QString SetAside() const;

private:
    QString path_;
};

}  // namespace kestrane
