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
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QTime>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

enum Column { TimeColumn, ActionColumn, ResultsColumn, ColumnCount };

const QString LineBreak = QStringLiteral("\r\n");
// Beyond this many the remembered text widths are forgotten and measured anew.
constexpr qsizetype MostTextWidths = 4096;

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
    lblDropped = new QLabel(frmBottom);
    lblDropped->setObjectName(QStringLiteral("lblDropped"));
    lblDropped->hide();
    cmdSave = button(QStringLiteral("cmdSave"), QStringLiteral("&Save"), frmBottom);
    cmdClear = button(QStringLiteral("cmdClear"), QStringLiteral("Clea&r"), frmBottom);
    cmdClose = button(QStringLiteral("cmdClose"), QStringLiteral("&Close"), frmBottom);

    auto* bottom = new QHBoxLayout(frmBottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(cbOpenOnError);
    bottom->addWidget(lblDropped);
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
    dropOldest();
    fitColumnsLater();
    scrollToNewestLater();
    return row;
}

void fLog::dropOldest() {
    if (EchLog->topLevelItemCount() <= MostRows)
        return;
    delete EchLog->takeTopLevelItem(0);
    ++m_droppedRows;
    m_firstUnfitted = std::max(0, m_firstUnfitted - 1);
    lblDropped->setText(QStringLiteral("%1 older rows dropped").arg(m_droppedRows));
    lblDropped->show();
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

// Rows come many to an event-loop turn while values are sent: the columns
// are fitted once, after them.
void fLog::fitColumnsLater() {
    if (m_fitQueued)
        return;
    m_fitQueued = true;
    QMetaObject::invokeMethod(this, &fLog::fitNewRows, Qt::QueuedConnection);
}

// Columns only ever widen to fit the rows added. A text's width comes from
// the font; what the list adds around it (margins, the icon) is measured once.
void fLog::fitNewRows() {
    m_fitQueued = false;
    std::array<int, ColumnCount> needed{};
    const int count = EchLog->topLevelItemCount();
    for (int index = m_firstUnfitted; index < count; ++index) {
        const QTreeWidgetItem* row = EchLog->topLevelItem(index);
        for (int column = 0; column < ColumnCount; ++column) {
            const int width = textWidth(row->text(column));
            if (width == 0)
                continue; // an empty text never widens its column
            int& padding = m_columnPadding[column];
            if (padding < 0) {
                padding =
                    EchLog->sizeHintForIndex(EchLog->indexFromItem(row, column)).width() - width;
                if (column == TimeColumn)
                    padding += EchLog->indentation();
            }
            needed[column] = std::max(needed[column], width + padding);
        }
    }
    m_firstUnfitted = count;
    for (int column = 0; column < ColumnCount; ++column) {
        if (needed[column] > EchLog->columnWidth(column))
            EchLog->setColumnWidth(column, needed[column]);
    }
}

int fLog::textWidth(const QString& text) {
    if (text.isEmpty())
        return 0;
    const auto found = m_textWidths.constFind(text);
    if (found != m_textWidths.cend())
        return *found;
    if (m_textWidths.size() >= MostTextWidths)
        m_textWidths.clear();
    return *m_textWidths.insert(text, EchLog->fontMetrics().horizontalAdvance(text));
}

void fLog::LogCommand(const QString& command, const QString& Results) {
    QTreeWidgetItem* row = addRow(QStringLiteral("Green"));
    row->setText(ActionColumn, command);
    row->setText(ResultsColumn, Results);
}

void fLog::LogError(const QString& message) {
    const QStringList lines = message.split(LineBreak);
    QTreeWidgetItem* row = addRow(QStringLiteral("Red"));
    if (lines.size() >= 2) {
        row->setText(ActionColumn, lines.at(0));
        row->setText(ResultsColumn, lines.at(1));
    }
    if (cbOpenOnError->isChecked()) {
        show();
        raise();
    }
}

void fLog::Clear() {
    EchLog->clear();
    m_firstUnfitted = 0;
    m_droppedRows = 0;
    lblDropped->hide();
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
