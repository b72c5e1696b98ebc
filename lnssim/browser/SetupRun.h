// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>

// The first-run steps a new user would otherwise type in a terminal, run one
// after another as programs beside the browser without blocking it: lay out
// the platform (`lns-host setup`), then register each plug-in found
// (`PROGRAM /regplugin`).
class SetupRun : public QObject {
    Q_OBJECT
public:
    struct Step {
        QString title;
        QString program; // a path
        QStringList arguments;
    };

    explicit SetupRun(QList<Step> steps, QObject* parent = nullptr);
    void start();
    qsizetype stepCount() const { return m_steps.size(); }

    // The steps for what is missing: the layout, the plug-ins' registration.
    // Programs are looked for in `programFolder`.
    static QList<Step> stepsFor(bool layOut, bool registerPlugIns, const QString& programFolder);

signals:
    void stepStarted(int index, const QString& title);
    // All steps done; `problem` says which failed and why, empty on success.
    void done(const QString& problem);

private:
    void runNext();
    void stepEnded(int exitCode, QProcess::ExitStatus status);

    QList<Step> m_steps;
    int m_current = -1;
    QProcess m_process;
};
