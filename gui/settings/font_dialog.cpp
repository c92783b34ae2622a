#include "gui/settings/font_dialog.h"

#include "core/session/font_style.h"
#include "gui/widgets/form_builder.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QVBoxLayout>

namespace brevio {

namespace {

// The colours a font could take in the font dialog the program was designed with.
const QRgb kBasicColors[] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
                             0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

void addColor(QComboBox* box, const QColor& color)
{
    QPixmap swatch(24, 12);
    swatch.fill(color);
    box->addItem(QIcon(swatch), color.name(), color);
}

// Qt's font dialog names its lists by their labels for sighted users only: a screen reader gets
// the label's text on the list, on the edit field that hands its focus to the list, and on a
// drop-down list's own list; a list the label does not name takes the name of the edit field
// above it in the dialog's grid.
void nameByLabels(QWidget* dialog)
{
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (!buddy || !buddy->accessibleName().isEmpty())
            continue;
        const QString name = QString(label->text()).remove(QLatin1Char('&'));
        setAccessibleNameOf(buddy, name);
        for (QWidget* edit : dialog->findChildren<QLineEdit*>()) {
            if (edit->focusProxy() == buddy)
                edit->setAccessibleName(name);
        }
    }
    auto* grid = qobject_cast<QGridLayout*>(dialog->layout());
    for (QAbstractItemView* list : dialog->findChildren<QAbstractItemView*>()) {
        const int index = grid ? grid->indexOf(list) : -1;
        if (!list->accessibleName().isEmpty() || index < 0)
            continue;
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(index, &row, &column, &rows, &columns);
        const QLayoutItem* above = row > 0 ? grid->itemAtPosition(row - 1, column) : nullptr;
        if (above && above->widget())
            list->setAccessibleName(above->widget()->accessibleName());
    }
}

// The font as the dialog opens on it. Left to itself the dialog looks a font's style up by a
// name of its own ("Normal", translated), finds none in the family and takes the first style
// listed ("Condensed Italic", "Bold Italic"), and then a change of the size alone changed the
// style too. So it gets a family it lists (the one the panes really show when the stored one is
// not installed) and that family's style nearest to the font's weight and slant.
QFont openingFont(const QFont& font)
{
    QFont opening(font);
    if (!QFontDatabase::families().contains(font.family()))
        opening.setFamily(QFontInfo(font).family());
    const QString family = opening.family();
    const QStringList names = QFontDatabase::styles(family);
    if (names.contains(font.styleName()))
        return opening;
    std::vector<FaceStyle> styles;
    for (const QString& name : names) {
        const QFont face = QFontDatabase::font(family, name, font.pointSize());
        styles.push_back({name.toStdString(), face.weight(), face.style() != QFont::StyleNormal});
    }
    const std::size_t nearest = nearestStyle(styles, font.weight(), font.style() != QFont::StyleNormal);
    if (nearest < styles.size())
        opening.setStyleName(names[static_cast<qsizetype>(nearest)]);
    return opening;
}

} // namespace

FontColorDialog::FontColorDialog(const QFont& font, const QColor& color, const QString& colorCaption,
                                 QWidget* parent)
    : QDialog(parent)
    , m_initialFont(font)
{
    setObjectName(QStringLiteral("FontDialog1"));
    m_fonts = new QFontDialog(openingFont(font), this);
    m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_fonts->setWindowFlags(Qt::Widget);
    setWindowTitle(m_fonts->windowTitle());
    // Only what the user picks counts as a change: OK alone keeps the font, its family too.
    connect(m_fonts, &QFontDialog::currentFontChanged, this, [this] { m_fontChanged = true; });

    m_colors = new QComboBox(this);
    m_colors->setObjectName(QStringLiteral("FontColor"));
    setAccessibleNameOf(m_colors, colorCaption);
    for (const QRgb basic : kBasicColors)
        addColor(m_colors, QColor(basic));
    if (m_colors->findData(color) < 0)
        addColor(m_colors, color);
    m_colors->setCurrentIndex(m_colors->findData(color));
    auto* colorLabel = new QLabel(colorCaption, this);
    colorLabel->setBuddy(m_colors);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(m_colors);
    colorRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fonts);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);
    nameByLabels(m_fonts);
}

QFont FontColorDialog::chosenFont() const
{
    return m_fontChanged ? m_fonts->currentFont() : m_initialFont;
}

QColor FontColorDialog::chosenColor() const
{
    return m_colors->currentData().value<QColor>();
}

} // namespace brevio
