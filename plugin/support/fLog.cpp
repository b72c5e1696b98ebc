// SPDX-License-Identifier: Apache-2.0
#include "support/fLog.h"

#include "platform/Dialogs.h"
#include "platform/Error.h"
#include "support/PlugInIdentity.h"
#include "support/ReadingWindowKeys.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QTime>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { TimeColumn, ActionColumn, ResultsColumn, ColumnCount };

const QString LineBreak = QStringLiteral("\r\n");

// The time of day in the system's long time format, without a time zone.
QString timeOfDay() {
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(u't');
    return QLocale::system().toString(QTime::currentTime(), format.trimmed());
}

// Loaded once: a row's icon is shared with every other row of its kind.
const QIcon& rowIcon(const QString& key) {
    static QHash<QString, QIcon> icons;
    const auto found = icons.constFind(key);
    if (found != icons.cend())
        return *found;
    return *icons.insert(key, QIcon(QStringLiteral(":/log/%1.png").arg(key)));
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* result = new QPushButton(caption, parent);
    result->setObjectName(name);
    result->setAutoDefault(false);
    return result;
}

} // namespace

fLog::fLog(Dialogs& dialogs, QWidget* parent) : QWidget(parent, Qt::Window), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("fLog"));
    setWindowTitle(QStringLiteral("Network activity logging"));
    // Closing the log must not end a plug-in whose other windows are hidden.
    setAttribute(Qt::WA_QuitOnClose, false);
    createControls();
    connect(cmdSave, &QPushButton::clicked, this, &fLog::Save);
    connect(cmdClear, &QPushButton::clicked, this, &fLog::ClearAfterAsking);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::hide);
    closeOnReadingKeys(this, [this] { hide(); });
    resize(680, 380);
}

// The list takes the window above a bottom frame of fixed height: the check
// box at its left, the buttons at its right.
void fLog::createControls() {
    EchLog = new QTreeWidget(this);
    EchLog->setObjectName(QStringLiteral("EchLog"));
    EchLog->setColumnCount(ColumnCount);
    EchLog->setHeaderLabels(
        {QStringLiteral("Time"), QStringLiteral("Action"), QStringLiteral("Results")});
    EchLog->setRootIsDecorated(false);
    EchLog->setUniformRowHeights(true);
    EchLog->header()->setStretchLastSection(false);

    frmBottom = new QFrame(this);
    frmBottom->setObjectName(QStringLiteral("frmBottom"));
    frmBottom->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    cbOpenOnError = new QCheckBox(QStringLiteral("Show on error"), frmBottom);
    cbOpenOnError->setObjectName(QStringLiteral("cbOpenOnError"));
    cmdSave = button(QStringLiteral("cmdSave"), QStringLiteral("&Save"), frmBottom);
    cmdClear = button(QStringLiteral("cmdClear"), QStringLiteral("Clea&r"), frmBottom);
    cmdClose = button(QStringLiteral("cmdClose"), QStringLiteral("&Close"), frmBottom);

    auto* bottom = new QHBoxLayout(frmBottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(cbOpenOnError);
    bottom->addStretch(1);
    bottom->addWidget(cmdSave);
    bottom->addWidget(cmdClear);
    bottom->addWidget(cmdClose);

    auto* window = new QVBoxLayout(this);
    window->addWidget(EchLog, 1);
    window->addWidget(frmBottom);
}

QTreeWidgetItem* fLog::addRow(const QString& iconKey) {
    auto* row = new QTreeWidgetItem(EchLog);
    row->setIcon(TimeColumn, rowIcon(iconKey));
    row->setData(TimeColumn, IconKeyRole, iconKey);
    row->setText(TimeColumn, timeOfDay());
    scrollToNewestLater();
    return row;
}

// Scrolling lays out every row, so it waits for the event loop and happens
// once however many rows came meanwhile, and only where it can be seen.
void fLog::scrollToNewestLater() {
    m_scrollPending = true;
    if (!isVisible() || m_scrollQueued)
        return;
    m_scrollQueued = true;
    QMetaObject::invokeMethod(this, &fLog::scrollToNewest, Qt::QueuedConnection);
}

void fLog::scrollToNewest() {
    m_scrollQueued = false;
    const int count = EchLog->topLevelItemCount();
    if (!m_scrollPending || !isVisible() || count == 0)
        return;
    m_scrollPending = false;
    EchLog->scrollToItem(EchLog->topLevelItem(count - 1));
}

void fLog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    scrollToNewest();
}

// Columns only ever widen to fit the row added. A text's width comes from the
// font; what the list adds around it (margins, the icon) is measured once.
void fLog::fitColumns(const QTreeWidgetItem* row) {
    const QFontMetrics metrics = EchLog->fontMetrics();
    for (int column = 0; column < ColumnCount; ++column) {
        const int textWidth = metrics.horizontalAdvance(row->text(column));
        int& padding = m_columnPadding[column];
        if (textWidth == 0)
            continue; // an empty text never widens its column
        if (padding < 0) {
            padding =
                EchLog->sizeHintForIndex(EchLog->indexFromItem(row, column)).width() - textWidth;
            if (column == TimeColumn)
                padding += EchLog->indentation();
        }
        const int needed = textWidth + padding;
        if (needed > EchLog->columnWidth(column))
            EchLog->setColumnWidth(column, needed);
    }
}

void fLog::LogCommand(const QString& command, const QString& Results) {
    QTreeWidgetItem* row = addRow(QStringLiteral("Green"));
    row->setText(ActionColumn, command);
    row->setText(ResultsColumn, Results);
    fitColumns(row);
}

void fLog::LogError(const QString& message) {
    const QStringList lines = message.split(LineBreak);
    QTreeWidgetItem* row = addRow(QStringLiteral("Red"));
    if (lines.size() >= 2) {
        row->setText(ActionColumn, lines.at(0));
        row->setText(ResultsColumn, lines.at(1));
    }
    fitColumns(row);
    if (cbOpenOnError->isChecked()) {
        show();
        raise();
    }
}

void fLog::Clear() {
    EchLog->clear();
    for (int column = 0; column < ColumnCount; ++column)
        EchLog->resizeColumnToContents(column);
}

void fLog::ClearAfterAsking() {
    const DialogAnswer answer =
        m_dialogs.message({QStringLiteral("Clear Log file ?"), PlugInIdentity::ApplicationTitle,
                           DialogButtons::OkCancel, DialogIcon::Warning, 0});
    if (answer == DialogAnswer::Ok)
        Clear();
}

QList<ActivityLogRow> fLog::rows() const {
    QList<ActivityLogRow> result;
    for (int i = 0; i < EchLog->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = EchLog->topLevelItem(i);
        result.append({row->text(TimeColumn), row->text(ActionColumn), row->text(ResultsColumn)});
    }
    return result;
}

QString fLog::chooseFile() {
    FileRequest request;
    request.title = QStringLiteral("Save As...");
    request.filter =
        QStringLiteral("Comma separated values (*.csv) |*.csv | All Files (*.*) | *.*");
    request.fileName = QStringLiteral("ActivityLog");
    request.defaultSuffix = QStringLiteral("csv");
    const QString path = m_dialogs.saveFile(request);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return path;
    const DialogAnswer answer = m_dialogs.message(
        {QStringLiteral("File already exists, override?"), PlugInIdentity::ApplicationTitle,
         DialogButtons::OkCancel, DialogIcon::Warning, 0});
    return answer == DialogAnswer::Ok ? path : QString();
}

void fLog::Save() {
    const QString path = chooseFile();
    if (path.isEmpty()) {
        m_dialogs.inform(QStringLiteral("Action canceled by user"),
                         PlugInIdentity::ApplicationTitle, DialogIcon::Warning);
        return;
    }
    try {
        saveActivityLog(path, rows());
    } catch (const Error& error) {
        m_dialogs.inform(error.description() + QStringLiteral("\n\nError ") +
                             QString::number(error.number()),
                         PlugInIdentity::ApplicationTitle, DialogIcon::None);
    }
}
