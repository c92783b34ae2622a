#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QPainter;

namespace brevio {

// Page values of the printing page, whole millimetres.
struct ReportLayout
{
    int columns = 3;
    int columnGap = 0;
    int left = 10;
    int right = 10;
    int top = 10;
    int bottom = 10;
};

// The printed schedule: plain lines running down the first column, then the next column, then
// onto the next page, under a page header (title at the left, page number at the right, a rule).
class ColumnReport
{
public:
    void setLines(QStringList lines) { m_lines = std::move(lines); }
    void setTextFont(const QFont& font) { m_textFont = font; }
    void setLayout(const ReportLayout& layout) { m_layout = layout; }
    const ReportLayout& layout() const { return m_layout; }

    // A4 portrait with the layout's margins.
    void applyPageSetup(QPagedPaintDevice& device) const;
    // Paints every page onto a device whose page setup is applied; returns the page count
    // (0 when the device cannot be painted on).
    int render(QPagedPaintDevice& device) const;

    // The bold text at the left of every page header: the product's slogan and its home page.
    static QString headerText(const QString& homePage);
    void setHeaderText(QString text) { m_headerText = std::move(text); }

private:
    void paintHeader(QPainter& painter, double width, double mm, int page) const;

    QStringList m_lines;
    QString m_headerText = headerText(QStringLiteral("http://www.morvane.example/tv/brevio.html"));
    QFont m_textFont;
    ReportLayout m_layout;
};

} // namespace brevio
