#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace brevio {

class CreditsPanel;
class Settings;

// "О программе": the program's picture, name and version, the feedback and home page lines
// (links that light up under the pointer) and the running credits.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    AboutBox(const Settings& settings, QWidget* parent = nullptr);

    // The picture and the home page line open the home page; the feedback line writes a mail.
    void openHomePage();
    void writeFeedbackMail();
    // The line under the pointer (or with the focus) shows blue, the others teal.
    void highlightFeedbackLine();
    void highlightHomePageLine();
    void highlightNoLine();

    QLabel* programIcon() const { return m_icon; }
    QLabel* feedbackLine() const { return m_feedback; }
    QLabel* homePageLine() const { return m_homePage; }
    CreditsPanel* credits() const { return m_credits; }

    // The credits' lines, as they run.
    static QStringList creditLines();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void paint(QLabel* label, const QColor& color);
    // Runs the click of a link line (the icon, the mail or the home page line); false for others.
    bool followLink(const QObject* link);

    QString m_homePageAddress;
    QString m_mail;
    QFrame* m_panel = nullptr;
    QLabel* m_icon = nullptr;
    QLabel* m_feedback = nullptr;
    QLabel* m_homePage = nullptr;
    QPushButton* m_ok = nullptr;
    CreditsPanel* m_credits = nullptr;
};

} // namespace brevio
