// SPDX-License-Identifier: Apache-2.0
#include "PdfReport.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace {

// One unit is a point: the writer's resolution is 72 dots per inch.
constexpr int PointsPerInch = 72;
constexpr qreal Margin = 36;
constexpr qreal ColumnGap = 18;
constexpr qreal LargestSize = 8.5;
constexpr qreal SmallestSize = 5;
constexpr qreal SummarySize = 9;
constexpr qreal LineSpacing = 1.3;

QFont font(qreal size, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(size);
    font.setBold(bold);
    // No ligatures: the text taken from the PDF reads as written ("config").
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// Draws lines of text down the page; a line that does not fit starts a new page.
class PageWriter {
public:
    PageWriter(QPdfWriter& writer, QPainter& painter)
        : m_writer(writer), m_painter(painter),
          m_area(QRectF(QPointF(0, 0), writer.pageLayout().paintRectPoints().size())) {}

    const QRectF& area() const { return m_area; }
    qreal y() const { return m_y; }

    void newPage() {
        m_writer.newPage();
        m_y = 0;
    }
    void line(const QString& text, const QFont& shownIn) { cells({{text, 1.0}}, shownIn); }
    // Texts side by side, each taking its share of the width, cut to fit.
    void cells(const std::vector<std::pair<QString, qreal>>& texts, const QFont& shownIn) {
        const QFontMetricsF metrics(shownIn, &m_writer);
        const qreal height = metrics.height() * LineSpacing;
        if (m_y + height > m_area.height())
            newPage();
        m_painter.setFont(shownIn);
        qreal x = 0;
        for (const auto& [text, share] : texts) {
            const qreal width = m_area.width() * share;
            m_painter.drawText(QPointF(x, m_y + metrics.ascent()),
                               metrics.elidedText(text, Qt::ElideRight, width - 4));
            x += width;
        }
        m_y += height;
    }
    // Lines of text that wrap at the page's width.
    void paragraph(const QString& text, const QFont& shownIn) {
        const QFontMetricsF metrics(shownIn, &m_writer);
        const QRectF bounds =
            metrics.boundingRect(QRectF(0, 0, m_area.width(), 1e6), Qt::TextWordWrap, text);
        if (m_y + bounds.height() > m_area.height())
            newPage();
        m_painter.setFont(shownIn);
        m_painter.drawText(QRectF(0, m_y, m_area.width(), bounds.height()), Qt::TextWordWrap, text);
        m_y += bounds.height() + metrics.height() * (LineSpacing - 1);
    }
    void skip(const QFont& shownIn) { m_y += QFontMetricsF(shownIn, &m_writer).height() / 2; }
    void rule() {
        m_painter.drawLine(QPointF(0, m_y), QPointF(m_area.width(), m_y));
        m_y += 4;
    }

private:
    QPdfWriter& m_writer;
    QPainter& m_painter;
    QRectF m_area;
    qreal m_y = 0;
};

void drawSummary(PageWriter& page, const ReportSheets& sheets) {
    page.line(sheets.title, font(14, true));
    page.paragraph(sheets.header.join(QStringLiteral("  ·  ")), font(SummarySize));
    page.rule();
    const std::vector<qreal> shares = {0.3, 0.22, 0.08, 0.18, 0.22};
    const auto row = [&](const QStringList& texts, const QFont& shownIn) {
        std::vector<std::pair<QString, qreal>> cells;
        for (qsizetype i = 0; i < texts.size(); ++i)
            cells.emplace_back(texts[i], shares[static_cast<size_t>(i)]);
        page.cells(cells, shownIn);
    };
    row({QStringLiteral("Device"), QStringLiteral("State"), QStringLiteral("Model"),
         QStringLiteral("HVAC type"), QStringLiteral("Read")},
        font(SummarySize, true));
    for (const SummaryRow& summary : sheets.summary)
        row({summary.path, summary.state, summary.model, summary.hvacType, summary.read},
            font(SummarySize));
    if (sheets.notRead.empty())
        return;
    page.skip(font(SummarySize));
    page.line(QStringLiteral("Not read"), font(SummarySize + 1, true));
    for (const NotReadRow& notRead : sheets.notRead)
        page.paragraph(notRead.path + QStringLiteral(": ") + notRead.why, font(SummarySize));
}

// Lines the groups take in one column: a caption and its rows each, and a
// half line between groups.
qreal linesOf(const std::vector<SheetGroup>& groups) {
    qreal lines = 0;
    for (const SheetGroup& group : groups)
        lines += 1.5 + static_cast<qreal>(group.rows.size());
    return lines;
}

// Draws the groups down two columns from `top`, in the largest type size
// that holds them all.
void drawColumns(QPdfWriter& writer, QPainter& painter, const QRectF& area, qreal top,
                 const std::vector<SheetGroup>& groups) {
    const qreal columnWidth = (area.width() - ColumnGap) / 2;
    qreal size = LargestSize;
    for (; size > SmallestSize; size -= 0.25) {
        const qreal lineHeight = QFontMetricsF(font(size), &writer).height() * LineSpacing;
        if (linesOf(groups) + 2 <= 2 * std::floor((area.height() - top) / lineHeight))
            break;
    }
    const QFont plain = font(size);
    const QFont bold = font(size, true);
    const QFontMetricsF metrics(plain, &writer);
    const qreal lineHeight = metrics.height() * LineSpacing;
    qreal x = 0;
    qreal y = top;
    const auto nextLine = [&] {
        y += lineHeight;
        if (y + lineHeight > area.height() && x == 0) {
            x = columnWidth + ColumnGap;
            y = top;
        }
    };
    for (const SheetGroup& group : groups) {
        painter.setFont(bold);
        painter.drawText(QPointF(x, y + metrics.ascent()), group.caption);
        nextLine();
        painter.setFont(plain);
        for (const SheetRow& row : group.rows) {
            const QString value = row.unit.isEmpty() ? row.value : row.value + u' ' + row.unit;
            // A long value (the location) takes the room its description leaves.
            const qreal valueRoom = std::max(
                columnWidth * 0.55, columnWidth - metrics.horizontalAdvance(row.description) - 6);
            const QString shownValue = metrics.elidedText(value, Qt::ElideRight, valueRoom);
            const qreal valueWidth = metrics.horizontalAdvance(shownValue);
            painter.drawText(
                QPointF(x, y + metrics.ascent()),
                metrics.elidedText(row.description, Qt::ElideRight, columnWidth - valueWidth - 6));
            painter.drawText(QPointF(x + columnWidth - valueWidth, y + metrics.ascent()),
                             shownValue);
            nextLine();
        }
        y += lineHeight / 2;
    }
}

void drawSheet(QPdfWriter& writer, QPainter& painter, PageWriter& page, const DeviceSheet& sheet) {
    page.newPage();
    page.line(QStringLiteral("Commissioning sheet: ") + sheet.path, font(13, true));
    page.paragraph(sheet.header.join(QStringLiteral("  ·  ")), font(SummarySize - 1));
    page.rule();
    drawColumns(writer, painter, page.area(), page.y(), sheet.groups);
}

} // namespace

QByteArray pdfReport(const ReportSheets& sheets) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(PointsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(Margin, Margin, Margin, Margin),
                                         QPageLayout::Point));
        writer.setTitle(sheets.title);
        writer.setCreator(QStringLiteral("rm42-config"));
        QPainter painter(&writer);
        PageWriter page(writer, painter);
        drawSummary(page, sheets);
        for (const DeviceSheet& sheet : sheets.devices)
            drawSheet(writer, painter, page, sheet);
    }
    return buffer.data();
}
