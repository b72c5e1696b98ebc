// SPDX-License-Identifier: Apache-2.0
#include "XfbWriter.h"

#include <QDataStream>
#include <QIODevice>

namespace XfbWriter {

namespace {

using namespace lns::sim;

void writeCount(QDataStream& out, size_t count) {
    out << static_cast<quint32>(count);
}

void writeProperties(QDataStream& out, const SharedList<ConfigPropertyRecord>& properties) {
    writeCount(out, properties.size());
    for (const auto& cp : properties) {
        out << cp->name << qint32(cp->scope) << qint32(cp->typeIndex) << cp->flags << cp->format;
        writeCount(out, cp->elements.size());
        for (const QByteArray& element : cp->elements)
            out << element;
    }
}

} // namespace

QByteArray encode(const XifDocument& document) {
    QByteArray bytes("XFB1");
    QDataStream out(&bytes, QIODevice::Append);
    out.setVersion(QDataStream::Qt_6_0);
    out << document.description << document.programId;
    const InterfaceRecord& interface = *document.interface;
    writeProperties(out, interface.configProperties);
    writeCount(out, interface.networkVariables.size());
    for (const auto& nv : interface.networkVariables) {
        out << nv->name << qint32(nv->index);
        writeProperties(out, nv->configProperties);
    }
    writeCount(out, interface.lonMarkObjects.size());
    for (const auto& object : interface.lonMarkObjects) {
        out << object->name << qint32(object->index) << qint32(object->typeIndex)
            << qint32(object->scope);
        writeProperties(out, object->configProperties);
    }
    return bytes;
}

} // namespace XfbWriter
