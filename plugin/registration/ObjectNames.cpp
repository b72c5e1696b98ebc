// SPDX-License-Identifier: Apache-2.0
#include "registration/ObjectNames.h"

#include <QHash>

QString ObjectClassWord(qint16 objectClassId) {
    static const QHash<int, QString> words = {
        {0, QStringLiteral("Object Server")},
        {1, QStringLiteral("Network")},
        {2, QStringLiteral("Networks")},
        {3, QStringLiteral("System")},
        {4, QStringLiteral("Systems")},
        {5, QStringLiteral("Subsystem")},
        {6, QStringLiteral("Subsystems")},
        {7, QStringLiteral("Application Device")},
        {8, QStringLiteral("Application Devices")},
        {9, QStringLiteral("Router")},
        {10, QStringLiteral("Routers")},
        {11, QStringLiteral("Router Side")},
        {12, QStringLiteral("Channel")},
        {13, QStringLiteral("Channels")},
        {14, QStringLiteral("Network Interface")},
        {15, QStringLiteral("Network Interfaces")},
        {16, QStringLiteral("Subnet")},
        {17, QStringLiteral("Subnets")},
        {18, QStringLiteral("Connections")},
        {19, QStringLiteral("Interface")},
        {20, QStringLiteral("Interfaces")},
        {21, QStringLiteral("Template Library")},
        {22, QStringLiteral("Network Variable")},
        {23, QStringLiteral("Network Variables")},
        {24, QStringLiteral("Message Tag")},
        {25, QStringLiteral("Message Tags")},
        {26, QStringLiteral("Configuration Property")},
        {27, QStringLiteral("Configuration Properties")},
        {28, QStringLiteral("LonMark Object")},
        {29, QStringLiteral("LonMark Objects")},
        {30, QStringLiteral("Component Application")},
        {31, QStringLiteral("Component Applications")},
        {32, QStringLiteral("Hardware Template")},
        {33, QStringLiteral("Hardware Templates")},
        {34, QStringLiteral("Build Template")},
        {35, QStringLiteral("Build Templates")},
        {36, QStringLiteral("Device Template")},
        {37, QStringLiteral("Device Templates")},
        {38, QStringLiteral("Program Template")},
        {39, QStringLiteral("Program Templates")},
        {40, QStringLiteral("Network Service Device")},
        {41, QStringLiteral("Network Service Devices")},
        {42, QStringLiteral("Connection Description Template")},
        {43, QStringLiteral("Connection Description Templates")},
        {44, QStringLiteral("Error")},
        {45, QStringLiteral("LonMark Alarm")},
        {46, QStringLiteral("Object Status")},
        {47, QStringLiteral("Network Variable Field")},
        {48, QStringLiteral("Detail Info")},
        {50, QStringLiteral("Extension")},
        {51, QStringLiteral("Extensions")},
        {52, QStringLiteral("Recovery Status")},
    };
    const auto word = words.constFind(objectClassId);
    if (word != words.constEnd())
        return *word;
    // Numbers print with a blank where a sign would stand.
    const QString number = objectClassId >= 0 ? QStringLiteral(" %1").arg(objectClassId)
                                               : QString::number(objectClassId);
    return QStringLiteral("Custom ID = ") + number;
}

QString CommandWord(qint32 commandId) {
    static const QHash<int, QString> words = {
        {1, QStringLiteral("New")},          {2, QStringLiteral("Edit Source")},
        {10, QStringLiteral("Build Image")}, {11, QStringLiteral("Commission")},
        {12, QStringLiteral("Load")},        {13, QStringLiteral("Configure")},
        {14, QStringLiteral("Calibrate")},   {15, QStringLiteral("Connect")},
        {20, QStringLiteral("Browse")},      {21, QStringLiteral("Monitor")},
        {22, QStringLiteral("Control")},     {23, QStringLiteral("Report")},
        {30, QStringLiteral("Online")},      {31, QStringLiteral("Offline")},
        {32, QStringLiteral("Reset")},       {33, QStringLiteral("Test")},
        {34, QStringLiteral("Wink")},        {40, QStringLiteral("Uninstall")},
        {41, QStringLiteral("Replace")},     {50, QStringLiteral("Register")},
        {60, QStringLiteral("Recover")},     {61, QStringLiteral("Monitor Recovery")},
        {70, QStringLiteral("Security Level")},
    };
    const auto word = words.constFind(commandId);
    if (word != words.constEnd())
        return *word;
    return QStringLiteral("Custom command ") + QString::number(commandId);
}
