// SPDX-License-Identifier: Apache-2.0
// lns-host run PROGID SCRIPT: starts the plug-in that the settings store
// registers for PROGID and performs one call per script line (RunScript.h),
// printing one line per call: its result or its error.
#include "RunScript.h"
#include "RunSession.h"
#include "Subcommands.h"
#include "automation/AutomationClassRegistry.h"
#include "platform/Error.h"
#include "platform/PlatformRoot.h"
#include "platform/SettingsStore.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <memory>

namespace {

using AutomationProtocol::Operation;
using AutomationProtocol::Reply;
using AutomationProtocol::Request;

QString errorLine(const Error& error) {
    return QStringLiteral("error %1 %2: %3")
        .arg(error.number())
        .arg(error.source(), error.description());
}

QString resultLine(const ScriptLine& line, const QJsonValue& result) {
    if (line.kind == ScriptLine::Kind::Create)
        return QStringLiteral("object %1")
            .arg(result.toObject().value(QLatin1String("object")).toInteger());
    if (result.isNull() || result.isUndefined())
        return QStringLiteral("ok");
    // One JSON value, as the plug-in sent it: "text", true, 42.
    const QByteArray array = QJsonDocument(QJsonArray{result}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

Operation operation(ScriptLine::Kind kind) {
    switch (kind) {
    case ScriptLine::Kind::Create:
        return Operation::Create;
    case ScriptLine::Kind::Release:
        return Operation::Release;
    case ScriptLine::Kind::Get:
        return Operation::Get;
    case ScriptLine::Kind::Set:
        return Operation::Set;
    case ScriptLine::Kind::Call:
    case ScriptLine::Kind::Skip:
        break;
    }
    return Operation::Call;
}

// Runs the script's calls; the live objects form a stack whose top is the
// current object.
class ScriptRun {
public:
    ScriptRun(RunSession& session, QTextStream& out, QTextStream& err)
        : m_session(session), m_out(out), m_err(err) {}

    // False when the plug-in ended before the script did.
    bool perform(const ScriptLine& line) {
        Request request;
        request.op = operation(line.kind);
        request.object = m_objects.isEmpty() ? 0 : m_objects.last();
        request.member = line.member;
        request.args = line.args;
        const std::optional<Reply> reply = m_session.request(request);
        if (!reply) {
            m_err << "lns-host: " << m_session.endText() << " before it answered\n";
            return false;
        }
        if (reply->error) {
            m_out << errorLine(*reply->error) << Qt::endl;
            return true;
        }
        if (line.kind == ScriptLine::Kind::Create)
            m_objects.append(reply->result.toObject().value(QLatin1String("object")).toInteger());
        else if (line.kind == ScriptLine::Kind::Release)
            m_objects.removeLast();
        m_out << resultLine(line, reply->result) << Qt::endl;
        return true;
    }

private:
    RunSession& m_session;
    QTextStream& m_out;
    QTextStream& m_err;
    QList<qint64> m_objects;
};

std::unique_ptr<QFile> openScript(const QString& name) {
    auto file = std::make_unique<QFile>();
    const bool opened = name == QLatin1String("-")
                            ? file->open(stdin, QIODevice::ReadOnly)
                            : (file->setFileName(name), file->open(QIODevice::ReadOnly));
    return opened ? std::move(file) : nullptr;
}

QString registeredExecutable(const QString& progId, QTextStream& err) {
    try {
        SettingsStore store(PlatformRoot::settingsStoreFile());
        const QString executable = AutomationClassRegistry::serverExecutable(store, progId);
        if (executable.isEmpty())
            err << "lns-host: no automation class is registered for " << progId << '\n';
        return executable;
    } catch (const Error& error) {
        err << "lns-host: " << error.description() << '\n';
        return QString();
    }
}

} // namespace

int runRun(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.size() != 2) {
        err << "usage: lns-host run PROGID SCRIPT (SCRIPT - reads standard input)\n";
        return 2;
    }
    const std::unique_ptr<QFile> script = openScript(arguments[1]);
    if (!script) {
        err << "lns-host: cannot read the script " << arguments[1] << '\n';
        return 1;
    }
    const QString executable = registeredExecutable(arguments[0], err);
    if (executable.isEmpty())
        return 1;
    RunSession session;
    QString problem;
    if (!session.start(executable, problem)) {
        err << "lns-host: cannot start " << executable << ": " << problem << '\n';
        return 1;
    }
    ScriptRun run(session, out, err);
    bool scriptValid = true;
    bool plugInAlive = true;
    for (int number = 1; plugInAlive && !script->atEnd(); ++number) {
        const auto parsed = parseScriptLine(QString::fromUtf8(script->readLine()));
        if (const auto* problemText = std::get_if<QString>(&parsed)) {
            err << "lns-host: script line " << number << ": " << *problemText << Qt::endl;
            scriptValid = false;
        } else if (std::get<ScriptLine>(parsed).kind != ScriptLine::Kind::Skip) {
            plugInAlive = run.perform(std::get<ScriptLine>(parsed));
        }
    }
    // A plug-in whose window is open lives on until the user closes it.
    session.finish();
    return scriptValid && plugInAlive ? 0 : 1;
}
