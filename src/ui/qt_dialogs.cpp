#include "ui/qt_dialogs.h"

#include "text/cp1251.h"
#include "ui/help_window.h"
#include "ui/qt_text.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <iostream>

namespace zorvant::ui {
using namespace text::literals;

QStringList qtNameFilters(std::string_view filter) {
    const QStringList parts = qt(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        filters << parts[i].trimmed() + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

QtDialogs::QtDialogs() = default;
QtDialogs::~QtDialogs() = default;

void QtDialogs::showModelsFirst() {
    if (beforeModal_)
        beforeModal_();
}

void QtDialogs::showMessage(std::string_view text) {
    if (unattended_) {
        std::cerr << text::toUtf8(text) << std::endl;
        return;
    }
    showModelsFirst();
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), qt(text), QMessageBox::Ok, owner_);
    box.exec();
}

bool QtDialogs::closeWithoutSaving(std::string_view error) {
    if (unattended_) {
        std::cerr << text::toUtf8(error) << std::endl;
        return true;
    }
    showModelsFirst();
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), qt(error), QMessageBox::NoButton,
                    owner_);
    box.setInformativeText(qt("Настройки не сохранены. Закрыть программу без сохранения настроек?"_cp));
    QPushButton* stay = box.addButton(qt("Остаться"_cp), QMessageBox::RejectRole);
    QPushButton* leave = box.addButton(qt("Закрыть без сохранения"_cp), QMessageBox::DestructiveRole);
    stay->setObjectName("stay");
    leave->setObjectName("closeWithoutSaving");
    box.setDefaultButton(stay);
    box.setEscapeButton(stay);
    box.exec();
    return box.clickedButton() == leave;
}

std::optional<std::string> QtDialogs::runFileDialog(const app::FileDialogRequest& request, bool save) {
    showModelsFirst();
    QFileDialog dialog(owner_);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // An open dialog takes a typed name that does not exist; a save dialog replaces without asking.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(qt(request.initialFolder));
    if (!request.filter.empty())
        dialog.setNameFilters(qtNameFilters(request.filter));
    dialog.setDefaultSuffix(qt(request.defaultExtension));
    if (!request.fileName.empty())
        dialog.selectFile(qt(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return cp(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

std::optional<std::string> QtDialogs::openFile(const app::FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::optional<std::string> QtDialogs::saveFile(const app::FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::optional<std::string> QtDialogs::browseForFolder(std::string_view title, std::string_view startFolder) {
    showModelsFirst();
    QFileDialog dialog(owner_, qt(title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    // The dialog starts from the drives (the file system's root elsewhere); a start folder that does
    // not exist leaves it there, with nothing selected.
    QList<QUrl> places;
    for (const QFileInfo& drive : QDir::drives())
        places << QUrl::fromLocalFile(drive.absoluteFilePath());
    dialog.setSidebarUrls(places);
    const QDir start(qt(startFolder));
    dialog.setDirectory(!startFolder.empty() && start.exists() ? start.absolutePath() : QDir::rootPath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return cp(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

void QtDialogs::showMailSettings() {
    showModelsFirst();
    if (mailSettings_ != nullptr)
        mailSettings_->exec();
}

void QtDialogs::showTelegramSettings() {
    showModelsFirst();
    if (telegramSettings_ != nullptr)
        telegramSettings_->exec();
}

void QtDialogs::showAbout() {
    showModelsFirst();
    if (about_ != nullptr)
        about_->exec();
}

void QtDialogs::showHistoryPreview() {
    if (historyPreview_ != nullptr)
        historyPreview_->exec();
}

void QtDialogs::showHelp(std::string_view helpFile, int context) {
    if (help_ == nullptr)
        help_ = new HelpWindow(owner_);
    help_->showTopic(qt(helpFile), context);
}

} // namespace zorvant::ui
