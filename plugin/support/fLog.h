// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "support/ActivityLog.h"
#include "support/ActivityLogFile.h"

#include <QHash>
#include <QList>
#include <QWidget>
#include <array>

class Dialogs;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QShowEvent;
class QTreeWidget;
class QTreeWidgetItem;

// The network activity log: one row per value read or written ("Green") and
// per failure ("Red"), newest at the bottom. It lives for the whole run;
// "&Close" and the close box only hide it. It keeps the newest MostRows rows
// and says how many older ones it dropped; saving saves what it keeps.
class fLog : public QWidget, public ActivityLog {
    Q_OBJECT

public:
    // The image key of a row ("Green" or "Red") is kept in its first column.
    static constexpr int IconKeyRole = Qt::UserRole;
    static constexpr int MostRows = 5000;

    explicit fLog(Dialogs& dialogs, QWidget* parent = nullptr);

    void LogCommand(const QString& command, const QString& Results) override;
    // A one-line message logs only the time; lines after the second are dropped.
    void LogError(const QString& message) override;
    // Empties the list without asking.
    void Clear();
    // Asks for a file and writes the rows to it; every outcome is told to the user.
    void Save();
    // The "Clea&r" button: asks first.
    void ClearAfterAsking();

    // The rows in list order, as they are saved.
    QList<ActivityLogRow> rows() const;
    // The older rows dropped since the list was last emptied.
    int droppedRows() const { return m_droppedRows; }

    QTreeWidget* EchLog = nullptr;
    QFrame* frmBottom = nullptr;
    QCheckBox* cbOpenOnError = nullptr;
    QLabel* lblDropped = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    QTreeWidgetItem* addRow(const QString& iconKey);
    void scrollToNewestLater();
    void scrollToNewest();
    void dropOldest();
    void fitColumnsLater();
    void fitNewRows();
    int textWidth(const QString& text);
    // The file to save to, after the overwrite question; empty when the user cancelled.
    QString chooseFile();

    Dialogs& m_dialogs;
    bool m_scrollPending = false;
    bool m_scrollQueued = false;
    bool m_fitQueued = false;
    int m_firstUnfitted = 0; // the first row whose texts no column was fitted to
    int m_droppedRows = 0;
    // What a column adds to the width of its text; -1 until measured.
    std::array<int, 3> m_columnPadding{-1, -1, -1};
    // Widths of texts measured; the same actions and results come again and again.
    QHash<QString, int> m_textWidths;
};
