// SPDX-License-Identifier: Apache-2.0
#include "window/QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <algorithm>
#include <vector>

namespace {

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    DialogAnswer answer;
};

std::vector<ButtonAnswer> buttonsOf(DialogButtons buttons) {
    switch (buttons) {
    case DialogButtons::Ok:
        return {{QMessageBox::Ok, DialogAnswer::Ok}};
    case DialogButtons::OkCancel:
        return {{QMessageBox::Ok, DialogAnswer::Ok}, {QMessageBox::Cancel, DialogAnswer::Cancel}};
    case DialogButtons::AbortRetryIgnore:
        return {{QMessageBox::Abort, DialogAnswer::Abort},
                {QMessageBox::Retry, DialogAnswer::Retry},
                {QMessageBox::Ignore, DialogAnswer::Ignore}};
    case DialogButtons::YesNoCancel:
        return {{QMessageBox::Yes, DialogAnswer::Yes},
                {QMessageBox::No, DialogAnswer::No},
                {QMessageBox::Cancel, DialogAnswer::Cancel}};
    case DialogButtons::YesNo:
        return {{QMessageBox::Yes, DialogAnswer::Yes}, {QMessageBox::No, DialogAnswer::No}};
    case DialogButtons::RetryCancel:
        return {{QMessageBox::Retry, DialogAnswer::Retry},
                {QMessageBox::Cancel, DialogAnswer::Cancel}};
    }
    return {{QMessageBox::Ok, DialogAnswer::Ok}};
}

QMessageBox::Icon iconOf(DialogIcon icon) {
    switch (icon) {
    case DialogIcon::Critical:
        return QMessageBox::Critical;
    case DialogIcon::Question:
        return QMessageBox::Question;
    case DialogIcon::Warning:
        return QMessageBox::Warning;
    case DialogIcon::Information:
        return QMessageBox::Information;
    case DialogIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

DialogAnswer QtDialogs::message(const MessageRequest& request) {
    QMessageBox box(iconOf(request.icon), request.title, request.text, QMessageBox::NoButton,
                    m_parent);
    const std::vector<ButtonAnswer> buttons = buttonsOf(request.buttons);
    for (const ButtonAnswer& entry : buttons)
        box.addButton(entry.button);
    const size_t defaultIndex = static_cast<size_t>(std::max(0, request.defaultButton));
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex].button);
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonAnswer& entry : buttons) {
        if (entry.button == clicked)
            return entry.answer;
    }
    // Closed without a button: the platform answers with the cancelling button.
    return buttons.size() == 1 ? buttons.front().answer : DialogAnswer::Cancel;
}

QStringList QtDialogs::nameFilters(const QString& platformFilter) {
    const QStringList parts = platformFilter.split(QLatin1Char('|'));
    QStringList filters;
    // Filters are often written with blanks around the bars: "Text (*.txt) |*.txt | ...".
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1).trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString description = parts.at(i).section(QLatin1String(" ("), 0, 0).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return filters;
}

QString QtDialogs::openFile(const FileRequest& request) {
    QFileDialog dialog(m_parent, request.title, request.startFolder);
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList filters = nameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

QString QtDialogs::saveFile(const FileRequest& request) {
    QFileDialog dialog(m_parent, request.title, request.startFolder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The caller asks before it replaces a file, with its own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(request.defaultSuffix);
    const QStringList filters = nameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}
