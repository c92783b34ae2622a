#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QComboBox;
class QFontDialog;

namespace brevio {

// "Шрифт": the typeface, style and size of the schedule panes with their colour, chosen among
// the sixteen basic colours (the one stored, if it is another, is offered too). OK without a
// change gives back the font exactly as it came.
class FontColorDialog : public QDialog
{
    Q_OBJECT

public:
    FontColorDialog(const QFont& font, const QColor& color, const QString& colorCaption, QWidget* parent);

    QFont chosenFont() const;
    QColor chosenColor() const;

private:
    QFont m_initialFont;
    QFontDialog* m_fonts = nullptr;
    QComboBox* m_colors = nullptr;
    bool m_fontChanged = false;
};

} // namespace brevio
