// SPDX-License-Identifier: Apache-2.0
// Pictures of the window for runs without a screen: after each device
// opening, every tab and the activity log as PNG files, and the texts the
// value controls show with their captions and units, in the folder that
// RM42_SNAPSHOT_DIR names.
#include "support/fLog.h"
#include "window/fMain.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSaveFile>
#include <QTabWidget>
#include <QTextStream>

namespace {

QString snapshotFolder() {
    return qEnvironmentVariable("RM42_SNAPSHOT_DIR");
}

// A file name part from a device or tab name: letters and digits, "-" for the rest.
QString fileNamePart(const QString& text) {
    QString part;
    for (const QChar c : text)
        part += c.isLetterOrNumber() ? c : u'-';
    return part;
}

// Renders a widget as it would appear, also when it is hidden.
QPixmap picture(QWidget* widget) {
    const bool hidden = !widget->isVisible();
    if (hidden) {
        widget->setAttribute(Qt::WA_DontShowOnScreen, true);
        widget->show();
    }
    const QPixmap pixmap = widget->grab();
    if (hidden) {
        widget->hide();
        widget->setAttribute(Qt::WA_DontShowOnScreen, false);
    }
    return pixmap;
}

// The grid, within a layout and the layouts nested in it, that holds the control.
const QGridLayout* gridHolding(const QLayout* layout, const QWidget* control) {
    if (!layout)
        return nullptr;
    const auto* grid = qobject_cast<const QGridLayout*>(layout);
    if (grid && grid->indexOf(control) >= 0)
        return grid;
    for (int i = 0; i < layout->count(); ++i) {
        if (const QGridLayout* inner = gridHolding(layout->itemAt(i)->layout(), control))
            return inner;
    }
    return nullptr;
}

// The label in one column of the grid row that holds the control, if any.
const QLabel* labelInRow(const QWidget* control, int column) {
    const QWidget* owner = control->parentWidget();
    const QGridLayout* grid = gridHolding(owner ? owner->layout() : nullptr, control);
    const int index = grid ? grid->indexOf(control) : -1;
    if (index < 0)
        return nullptr;
    int row = 0, ignored = 0;
    grid->getItemPosition(index, &row, &ignored, &ignored, &ignored);
    const QLayoutItem* item = grid->itemAtPosition(row, column);
    return item ? qobject_cast<const QLabel*>(item->widget()) : nullptr;
}

// The words a user reads for a control: its accessible name, or else the
// title of the frame around it and the label in front of it.
QString caption(const QWidget* control) {
    if (!control->accessibleName().isEmpty())
        return control->accessibleName();
    QStringList words;
    for (const QWidget* owner = control->parentWidget(); owner; owner = owner->parentWidget()) {
        const auto* frame = qobject_cast<const QGroupBox*>(owner);
        if (frame && !frame->title().isEmpty()) {
            words << frame->title();
            break;
        }
    }
    if (const QLabel* label = labelInRow(control, 0))
        words << label->text();
    return words.join(QStringLiteral(": ")).remove(u'&');
}

// The unit shown after a control, if any.
QString unit(const QWidget* control) {
    const QLabel* label = labelInRow(control, 2);
    return label ? label->text() : QString();
}

void report(const QString& path) {
    QTextStream(stderr) << "snapshot: " << path << Qt::endl;
}

} // namespace

void fMain::writeSnapshots() {
    const QString folder = snapshotFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    const QString prefix = QDir(folder).filePath(
        fileNamePart(CurrentDevice ? CurrentDevice->Name() : QStringLiteral("window")));
    const int shownTab = tabData->currentIndex();
    for (int tab = 0; tab < tabData->count(); ++tab) {
        tabData->setCurrentIndex(tab);
        const QString path = QStringLiteral("%1-tab%2-%3.png")
                                 .arg(prefix)
                                 .arg(tab)
                                 .arg(fileNamePart(tabData->tabText(tab)));
        if (picture(this).save(path))
            report(path);
    }
    tabData->setCurrentIndex(shownTab);
    const QString logPath = prefix + QStringLiteral("-log.png");
    if (picture(&activityLog()).save(logPath))
        report(logPath);
    writeShownTexts(prefix + QStringLiteral("-values.txt"));
}

// One line per control, fields separated by tabs: its name, the text it
// shows, its caption and its unit (the last two empty where it has none).
void fMain::writeShownTexts(const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out(&file);
    const auto line = [&](const QWidget* control, const QString& text) {
        out << control->objectName() << '\t' << text << '\t' << caption(control) << '\t'
            << unit(control) << '\n';
    };
    for (const QLineEdit* box : txtNvi)
        line(box, box->text());
    for (const QComboBox* combo : cbNvi)
        line(combo, combo->currentText());
    for (const QLabel* label : {lbModel, lbHvacType, lblDeviceTemplate, StatusPanels[0],
                                StatusPanels[1]})
        line(label, label->text());
    out.flush();
    if (file.commit())
        report(path);
}
