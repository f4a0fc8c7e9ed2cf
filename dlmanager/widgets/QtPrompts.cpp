#include "widgets/QtPrompts.h"

#include "base/ProductTexts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

// "Description|*.ext" becomes the toolkit's "Description (*.ext)".
QString toolkitFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        filters << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
    }
    return filters.isEmpty() ? filter : filters.join(QStringLiteral(";;"));
}

std::optional<QString> chosen(const QString& path) {
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

bool isBelow(const QString& folder, const QString& root) {
    const QString cleanFolder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString cleanRoot = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    return cleanFolder == cleanRoot || cleanFolder.startsWith(cleanRoot + QLatin1Char('/'));
}

}  // namespace

void QtPrompts::show(QMessageBox::Icon icon, const QString& text, const QString& detail) {
    QMessageBox box(icon, ProductTexts::ProductCaption, text, QMessageBox::Ok, parent_);
    box.setDetailedText(detail);
    box.exec();
}

void QtPrompts::inform(const QString& text) {
    show(QMessageBox::Information, text, QString());
}

void QtPrompts::informWithDetail(const QString& text, const QString& detail) {
    show(QMessageBox::Information, text, detail);
}

void QtPrompts::warn(const QString& text) {
    show(QMessageBox::Warning, text, QString());
}

void QtPrompts::warnWithDetail(const QString& text, const QString& detail) {
    show(QMessageBox::Warning, text, detail);
}

bool QtPrompts::askYesNo(const QString& text) {
    return QMessageBox::question(parent_, ProductTexts::ProductCaption, text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtPrompts::askOkCancel(const QString& text) {
    return QMessageBox::question(parent_, ProductTexts::ProductCaption, text,
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

std::optional<QString> QtPrompts::chooseFolder(const QString& caption, const QString& root,
                                               const QString& preselected) {
    const QString start = QFileInfo(preselected).isDir() ? preselected : root;
    for (;;) {
        const QString folder = QFileDialog::getExistingDirectory(parent_, caption, start);
        if (folder.isEmpty()) {
            return std::nullopt;
        }
        // Only the root folder or a folder below it may be chosen.
        if (isBelow(folder, root)) {
            return QDir::cleanPath(folder);
        }
    }
}

std::optional<QString> QtPrompts::chooseOpenFile(const QString& startFolder,
                                                 const QString& filter) {
    return chosen(
        QFileDialog::getOpenFileName(parent_, QString(), startFolder, toolkitFilter(filter)));
}

std::optional<QString> QtPrompts::chooseSaveFile(const QString& startFolder, const QString& filter,
                                                 const QString& defaultExtension) {
    QFileDialog dialog(parent_, QString(), startFolder, toolkitFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return chosen(dialog.selectedFiles().constFirst());
}

Prompts::Answer QtPrompts::askYesNoCancel(const QString& text) {
    switch (QMessageBox::question(parent_, ProductTexts::ProductCaption, text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}
