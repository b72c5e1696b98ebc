// SPDX-License-Identifier: Apache-2.0
// rm42-config report end to end: the CSV as another CSV reader (sqlite3's)
// takes it, the PDF as poppler's pdfinfo and pdftotext read it, and a site
// folder reported without its network.
#include "ConfigToolFixture.h"

namespace {

struct Tool {
    int exitCode = -1;
    QString out;
    QString err;
};

// Any program on the PATH, to its end.
Tool external(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The rows of a CSV file by its first row's names, as sqlite3 imports them.
QJsonArray csvRows(const QString& path) {
    const Tool read = external("sqlite3", {":memory:", "-cmd", ".mode csv", "-cmd",
                                           ".import '" + path + "' report", "-cmd", ".mode json",
                                           "SELECT * FROM report"});
    EXPECT_EQ(read.exitCode, 0) << read.err.toStdString();
    EXPECT_EQ(read.err, QString()) << "every row has as many cells as the header";
    return QJsonDocument::fromJson(read.out.toUtf8()).array();
}

QJsonObject rowOf(const QJsonArray& rows, const QString& device) {
    for (const QJsonValue& row : rows) {
        if (row.toObject().value("device").toString() == device)
            return row.toObject();
    }
    return {};
}

QString pdfText(const QString& path, int page = 0) {
    QStringList arguments = {"-layout", path, "-"};
    if (page > 0)
        arguments =
            QStringList{"-f", QString::number(page), "-l", QString::number(page)} + arguments;
    return external("pdftotext", arguments).out;
}

int pdfPages(const QString& path) {
    const QRegularExpressionMatch pages =
        QRegularExpression("Pages:\\s+(\\d+)").match(external("pdfinfo", {path}).out);
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

} // namespace

TEST_F(ConfigTool, CsvReportHoldsEveryThermostatInEitherUnitsAndTheOnesNotRead) {
    // A location a spreadsheet would run as a formula, with a comma and quotes.
    ASSERT_EQ(tool({"set", Demo, "RTU-1", "nciLocation==SUM(1,2) \"North\""}).exitCode, 0);
    for (const auto& [units, setpoint, unit] :
         {std::tuple{"US", "70.00", "ºF"}, std::tuple{"SI", "21.11", "ºC"}}) {
        const QString path = file(QStringLiteral("report-%1.csv").arg(units));
        const ProcessResult report = tool({"report", Demo, "--units", units, "-o", path});
        EXPECT_EQ(report.exitCode, 1) << "RTU-3 does not answer";
        EXPECT_TRUE(report.out.contains("Floor 3/RTU-3: failed: ")) << report.out.toStdString();
        EXPECT_TRUE(report.out.contains("7 devices: 6 read, 1 failed"));
        const QJsonArray rows = csvRows(path);
        ASSERT_EQ(rows.size(), 2 + 7) << "descriptions, units, then one row per thermostat";
        EXPECT_EQ(rows[0].toObject().value("occ_heat_setpts").toString(), "Occupied heat setpoint");
        EXPECT_EQ(rows[1].toObject().value("occ_heat_setpts").toString(), unit);
        const QJsonObject rtu1 = rowOf(rows, "Floor 1/RTU-1");
        EXPECT_EQ(rtu1.value("occ_heat_setpts").toString(), setpoint);
        EXPECT_EQ(rtu1.value("state").toString(), "Cnfg Online");
        EXPECT_EQ(rtu1.value("hvacType").toString(), "HVT_ROOFTOP");
        EXPECT_EQ(rtu1.value("programId").toString(), "8003DB5500040421");
        EXPECT_EQ(rtu1.value("occ_1_monday").toString(), "07:00");
        EXPECT_EQ(rtu1.value("nciLocation").toString(), "'=SUM(1,2) \"North\"");
        EXPECT_FALSE(QDateTime::fromString(rtu1.value("read").toString(), Qt::ISODate).isNull());
        const QJsonObject rtu3 = rowOf(rows, "Floor 3/RTU-3");
        EXPECT_TRUE(rtu3.value("notRead").toString().contains("Failed to communicate"))
            << rtu3.value("notRead").toString().toStdString();
        EXPECT_EQ(rtu3.value("occ_heat_setpts").toString(), "");
        // A heat pump's own fields have columns of their own; a rooftop leaves them empty.
        EXPECT_EQ(rowOf(rows, "Floor 1/HP-1").value("rev_valve_cfg").toString().isEmpty(), false);
        EXPECT_EQ(rtu1.value("rev_valve_cfg").toString(), "");
    }
}

TEST_F(ConfigTool, PdfAndHtmlReportsHaveASummaryThenOnePagePerThermostatRead) {
    const QString pdf = file("report.pdf");
    const ProcessResult report = tool({"report", Demo, "--all", "--units", "US", "-o", pdf});
    EXPECT_EQ(report.exitCode, 1) << report.err.toStdString();
    EXPECT_EQ(pdfPages(pdf), 1 + 6);
    const QString summary = pdfText(pdf, 1);
    EXPECT_TRUE(summary.contains("Commissioning report: Demo Building")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("Not read")) << summary.toStdString();
    EXPECT_TRUE(summary.contains("Floor 3/RTU-3: Error reading nciHvacType: Failed to communicate"))
        << summary.toStdString();
    const QString rtu1 = pdfText(pdf, 2);
    EXPECT_TRUE(rtu1.contains("Commissioning sheet: Floor 1/RTU-1")) << rtu1.toStdString();
    EXPECT_TRUE(rtu1.contains("Network Demo Building")) << rtu1.toStdString();
    EXPECT_TRUE(rtu1.contains("rm42-config ")) << rtu1.toStdString();
    EXPECT_TRUE(rtu1.contains("Floor 1 North Office")) << rtu1.toStdString();
    EXPECT_TRUE(QRegularExpression("Occupied heat setpoint +70.00 ºF").match(rtu1).hasMatch())
        << rtu1.toStdString();
    EXPECT_LT(rtu1.indexOf("Heating - Cooling"), rtu1.indexOf("Hardware"));
    EXPECT_FALSE(pdfText(pdf).contains("Commissioning sheet: Floor 3/RTU-3"));

    const QString html = file("report.html");
    EXPECT_EQ(tool({"report", Demo, "RTU-1", "HP-1", "-o", html}).exitCode, 0);
    QFile page(html);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    EXPECT_EQ(text.count("<section class=\"sheet\">"), 2);
    EXPECT_TRUE(text.contains("Floor 1 North Office"));
    EXPECT_FALSE(text.contains("RTU-3"));
    // The form is named by the extension; nothing is read without one.
    const ProcessResult unnamed = tool({"report", Demo, "-o", file("report.txt")});
    EXPECT_EQ(unnamed.exitCode, 2);
    EXPECT_TRUE(unnamed.err.contains(".csv, .html or .pdf")) << unnamed.err.toStdString();
}

TEST_F(ConfigTool, ASiteFolderIsReportedWithoutItsNetworkAndAChangedFileIsNotRead) {
    const QString site = file("site");
    tool({"save", Demo, "--subsystem", "Floor 1", "-o", site});
    // No network: the platform root holds nothing but the site.
    TempPlatformRoot elsewhere;
    const QString csv = file("site.csv");
    const ProcessResult report = tool({"report", site, "--units", "SI", "-o", csv});
    EXPECT_EQ(report.exitCode, 0) << report.err.toStdString();
    const QJsonArray rows = csvRows(csv);
    ASSERT_EQ(rows.size(), 2 + 2);
    EXPECT_EQ(rowOf(rows, "Floor 1/RTU-1").value("occ_heat_setpts").toString(), "21.11");
    EXPECT_EQ(rowOf(rows, "Floor 1/RTU-1").value("state").toString(), "as saved");
    edited(site + "/Floor 1_HP-1.json", {{"password", "7"}}, "site/Floor 1_HP-1.json");
    const QString pdf = file("site.pdf");
    const ProcessResult changed = tool({"report", site, "-o", pdf});
    EXPECT_EQ(changed.exitCode, 1);
    EXPECT_TRUE(changed.out.contains("Floor 1/HP-1: failed: Floor 1_HP-1.json is not the file "
                                     "saved for it"))
        << changed.out.toStdString();
    EXPECT_EQ(pdfPages(pdf), 1 + 1);
    // A site folder names its own devices.
    EXPECT_EQ(tool({"report", site, "--all", "-o", pdf}).exitCode, 2);
}
