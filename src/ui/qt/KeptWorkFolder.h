#pragma once
// Kept work in the user's data folder: each kept work is a file in
// unsaved/, written whole or not at all (QSaveFile); a running session
// holds a lock file beside its own (QLockFile), which a session that ended,
// however it ended, no longer holds. Files that cannot be read go to
// unsaved/damaged/, those past the newest offered to unsaved/older/, and a
// mission a save replaces is copied to replaced/.

#include <QString>
#include <map>
#include <memory>

#include "ui/KeptWork.h"

class QLockFile;

namespace kestrane {

class KeptWorkFolder : public WorkStore {
public:
    // In the application's data folder.
    KeptWorkFolder();
    explicit KeptWorkFolder(const QString& dataFolder);
    ~KeptWorkFolder() override;
    KeptWorkFolder(const KeptWorkFolder&) = delete;
    KeptWorkFolder& operator=(const KeptWorkFolder&) = delete;

    // The largest file taken as a kept work: far more than any box holds.
    static constexpr qint64 kLargest = kLargestWorkText;

    const QString& Folder() const { return unsaved_; }

    std::vector<std::string> Names() override;
    Reading Read(const std::string& name) override;
    std::string Write(const std::string& name, std::string_view text) override;
    void Remove(const std::string& name) override;
    std::string SetAside(const std::string& name, const std::string& folder) override;
    bool Claim(const std::string& name) override;
    void Release(const std::string& name) override;
    std::string NewName() override;
    std::string Now() override;
    Keeping KeepReplaced(const std::string& path) override;
    std::string Where() override { return unsaved_.toStdString(); }

private:
    QString PathOf(const std::string& name) const;
    // Files an earlier version kept in the data folder itself join the others.
    void TakeInEarlierFiles();

    QString data_;
    QString unsaved_;
    std::map<std::string, std::unique_ptr<QLockFile>> locks_;
};

}  // namespace kestrane
