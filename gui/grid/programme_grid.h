#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

class QMenu;

namespace brevio {

class Clock;
namespace view {
class GridDay;
struct GridBox;
} // namespace view

// The programme grid of one day: channels down a frozen left column, hours along a frozen top
// row, a box per show as long as it runs, a line at "now". One painted surface: only the rows
// and hours in view are laid out and painted, so a day of hundreds of channels scrolls freely.
//
// Keys: arrows move between shows (left and right along the channel, up and down to the show
// of the next channel with shows at the same moment), Page Up/Down by a screen of channels,
// Home to now, Ctrl+plus and Ctrl+minus zoom the time axis; Enter activates the chosen show,
// Insert and the context menu ask to add it to the selected shows. Mouse: a click chooses, a
// double click activates, the wheel scrolls channels, Shift+wheel time, Ctrl+wheel zooms.
class ProgrammeGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    static constexpr int kMinMinutesPerScreen = 30;
    static constexpr int kMaxMinutesPerScreen = 6 * 60;
    static constexpr int kDefaultMinutesPerScreen = 3 * 60;

    // `clock` tells "now"; it must outlive the grid.
    explicit ProgrammeGrid(const Clock& clock, QWidget* parent = nullptr);
    ~ProgrammeGrid() override;

    // Texts in the interface language: the grid's name for screen readers and the context
    // menu's entry.
    void setTexts(const QString& accessibleName, const QString& addToSelected);

    // The day shown; null shows an empty grid. The grid keeps the time in view and the chosen
    // channel where it can. The model must stay while it is shown.
    void setModel(const view::GridDay* model);
    const view::GridDay* model() const { return m_model; }

    // The chosen show: its row and its index in the row, or -1 and -1.
    int currentRow() const { return m_row; }
    int currentBox() const { return m_box; }
    // Chooses a show (-1 for none), brings it into view and announces it.
    void setCurrent(int row, int box);

    int minutesPerScreen() const { return m_minutesPerScreen; }
    // Zooms the time axis (clamped to 30 min .. 6 h per width), keeping the minute at
    // `anchorX` (viewport x; the middle of the time area when negative) where it is.
    void setMinutesPerScreen(int minutes, int anchorX = -1);

    // Brings "now" into view and chooses the show on the air in the chosen channel.
    void scrollToNow();
    // The minute at the left edge of the time area.
    double leftMinute() const { return m_leftMinute; }
    int firstVisibleRow() const;

    // "Channel, 19:45–21:00, Title" (UTF-8 of data texts); empty without such a show.
    QString showText(int row, int box) const;
    // A box's rectangle in viewport coordinates.
    QRect boxRect(int row, int box) const;
    // The viewport's area under the frozen column and row.
    QRect timeArea() const;

Q_SIGNALS:
    void currentChanged(int row, int box);
    // Enter or a double click: show it on the viewing page.
    void activated(int row, int box);
    // Insert or the context menu: add it to the selected shows.
    void addRequested(int row, int box);
    // The chosen show's context menu is about to open (its own entry in it): connected
    // receivers add their entries for the show, directly.
    void menuOpening(QMenu* menu, int row, int box);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Hit
    {
        int row = -1;
        int box = -1;
        double minute = 0;
    };

    void measure();
    void updateScrollBars(double keepMinute, int keepX);
    double pixelsPerMinute() const;
    double firstMinute() const;
    int xOf(double minute) const;
    double minuteAt(int x) const;
    int yOf(int row) const;
    Hit hitAt(const QPoint& pos) const;
    std::optional<long long> nowMinute() const;
    void ensureVisible(int row, int box);
    // Moves to the show of the next row with shows in the direction of `step`, or `rows` rows
    // on (Page Up/Down), at the remembered moment.
    void moveVertically(int step, int rows);
    void moveAlong(int step);
    void chooseAtMoment(int row);
    void showContextMenu(const QPoint& viewportPos);
    void scheduleClockTick();
    void showToolTip(const QPoint& viewportPos, const QPoint& globalPos);

    // Painting (grid_painting.cpp).
    struct TextCache;
    struct DropCache
    {
        void operator()(TextCache* cache) const;
    };
    void paintRow(QPainter& p, int row, const QRect& area, long long from, long long to,
                  std::optional<long long> now);
    void paintBox(QPainter& p, int row, int index, const view::GridBox& box, const QRect& rect, bool airing);
    void paintHours(QPainter& p, std::optional<long long> now);
    void paintChannels(QPainter& p);
    // Laid-out texts are kept while the font and the day stay.
    void dropTexts();

    const Clock& m_clock;
    const view::GridDay* m_model = nullptr;
    int m_row = -1;
    int m_box = -1;
    double m_moment = 0; // the time up and down keep, in minutes of the day
    int m_minutesPerScreen = kDefaultMinutesPerScreen;
    double m_leftMinute = 0;
    int m_rowHeight = 0;
    int m_headerHeight = 0;
    int m_columnWidth = 0;
    QString m_addText;
    QTimer m_tick;
    std::unique_ptr<TextCache, DropCache> m_texts;
};

} // namespace brevio
