#include "ui/qt/QtFileDialog.h"

#include "ui/qt/FileNames.h"
#include "ui/qt/Widgets.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

namespace kestrane {

QString QtFilter(std::string_view filter) {
    const QStringList parts = QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (const qsizetype open = description.lastIndexOf(u'('); open >= 0 && description.endsWith(u')'))
            description = description.left(open).trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts))
            if (const QString p = pattern.trimmed(); !p.isEmpty()) patterns << p;
        if (patterns.isEmpty()) continue;
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

// The dialog's answer in the file system's own bytes, so that the model
// opens or writes exactly the chosen file, whatever the encoding of its name.
std::string Run(QFileDialog& dialog, std::string_view suffix) {
    dialog.setDefaultSuffix(QString::fromUtf8(suffix.data(), static_cast<qsizetype>(suffix.size())));
    if (ExecDialog(dialog) != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? std::string() : RawPath(chosen.front()).toStdString();
}

}  // namespace

std::string QtFileDialog::ChooseSaveFile(const std::string& folder, const std::string& name, std::string_view filter,
                                         std::string_view suffix) {
    QFileDialog dialog(parent_, QStringLiteral("Save As"), QFile::decodeName(QByteArray::fromStdString(folder)),
                       QtFilter(filter));
    dialog.setObjectName(QStringLiteral("SaveAsDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(name)));
    return Run(dialog, suffix);
}

std::string QtFileDialog::ChooseFile(const std::string& folder, std::string_view filter, std::string_view suffix) {
    QFileDialog dialog(parent_, QStringLiteral("Open"), QString::fromStdString(folder), QtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return Run(dialog, suffix);
}

}  // namespace kestrane
