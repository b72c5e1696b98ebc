// SPDX-License-Identifier: Apache-2.0
#include "window/HelpWindow.h"

#include "support/PlugInIdentity.h"
#include "support/ReadingWindowKeys.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

constexpr int FirstTabTopic = 1004;

QString pageOf(int helpContextId) {
    return QStringLiteral("qrc:/help/%1.htm").arg(helpContextId);
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(Identity().Name + QStringLiteral(" Help"));
    setAttribute(Qt::WA_QuitOnClose, false);
    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(520, 420);
    closeOnReadingKeys(this, [this] { close(); });
}

void HelpWindow::showTopic(int helpContextId) {
    const bool hasPage = QFile::exists(QStringLiteral(":/help/%1.htm").arg(helpContextId));
    m_browser->setSource(QUrl(pageOf(hasPage ? helpContextId : FirstTabTopic)));
    show();
    raise();
    activateWindow();
}
