// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QWidget>

class QTextBrowser;

// The plug-in's help: one page per help context id, from the program's own
// resources, in a window beside the configuration window.
class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page of a help context id; the "About" tab's 0 and ids
    // without a page show the first tab's page.
    void showTopic(int helpContextId);

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
