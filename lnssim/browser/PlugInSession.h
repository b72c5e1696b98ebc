// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/AutomationProtocol.h"

#include <QList>
#include <QObject>
#include <QProcess>
#include <QTimer>

// One plug-in process the browser started with -Embedding and drives over its
// standard input and output without waiting for it: the browser stays live
// while the plug-in works or shows a dialog. It creates one object, makes the
// given calls on it in order and then either releases it at once, or, for a
// plug-in that shows its window, holds it until the window is closed.
class PlugInSession : public QObject {
    Q_OBJECT
public:
    struct Call {
        AutomationProtocol::Operation op;
        QString member;
        QJsonArray args;
    };
    enum class Hold { ReleaseAtEnd, WhileWindowShows };

    PlugInSession(const QString& executable, QList<Call> calls, Hold hold,
                  QObject* parent = nullptr);
    ~PlugInSession() override;

    void start();
    // Hides the plug-in's window; the object is then released as if the user
    // had closed it.
    void close();
    bool finished() const { return m_process.state() == QProcess::NotRunning && m_started; }

    // How often a held plug-in is asked whether its window still shows.
    static constexpr int WindowPollMs = 300;

signals:
    // A call was refused, or the plug-in could not be started or ended early;
    // the remaining calls are dropped and the object released.
    void failed(qint32 number, const QString& source, const QString& description);
    // Every call was answered (the window shows, if it was asked to).
    void performed();
    // The plug-in process has ended.
    void ended();

private:
    void send(AutomationProtocol::Operation op, const QString& member, const QJsonArray& args);
    void readReplies();
    void handle(const AutomationProtocol::Reply& reply);
    void nextCall();
    void release();
    void pollWindow();
    void processEnded();

    QProcess m_process;
    QString m_executable;
    QList<Call> m_calls;
    Hold m_hold;
    QTimer m_poll;
    qint64 m_object = 0;
    qint64 m_nextId = 1;
    qint64 m_waitingId = 0;
    AutomationProtocol::Operation m_waitingOp = AutomationProtocol::Operation::Create;
    QString m_waitingMember;
    bool m_started = false;
    bool m_releasing = false;
    bool m_closing = false;
    bool m_hideSent = false;
};
