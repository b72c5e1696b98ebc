// Pictures of the window for runs without a screen: after each device
// opening, every tab and the activity log as PNG files, and the texts the
// value controls show, in the folder that RM42_SNAPSHOT_DIR names.
#include "support/fLog.h"
#include "window/fMain.h"

#include <QComboBox>
#include <QDir>
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

// One line per control: its name, a tab, the text it shows.
void fMain::writeShownTexts(const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    QTextStream out(&file);
    for (const QLineEdit* box : txtNvi)
        out << box->objectName() << '\t' << box->text() << '\n';
    for (const QComboBox* combo : cbNvi)
        out << combo->objectName() << '\t' << combo->currentText() << '\n';
    for (const QLabel* label : {lbModel, lbHvacType, lblDeviceTemplate, StatusPanels[0],
                                StatusPanels[1]})
        out << label->objectName() << '\t' << label->text() << '\n';
    out.flush();
    if (file.commit())
        report(path);
}
