#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QTimeEdit;

namespace brevio {

class PageHost;

// How a listing's times and texts are read: the time zone of times written without one (this
// computer's by default), the hour the broadcast day starts, the preferred languages (in order;
// any other after them). For the XMLTV import and the listing sources. The zones offered are the
// system's, so no unknown one can be chosen.
class ListingOptionsForm : public QWidget
{
    Q_OBJECT

public:
    ListingOptionsForm(const PageHost& host, QWidget* parent);

    void setValues(const std::string& zone, int dayStartMinutes, const std::vector<std::string>& languages);
    std::string zone() const; // "" for this computer's
    int dayStartMinutes() const;
    std::vector<std::string> languages() const;

    QComboBox* zoneChoice() const { return m_zone; }
    QTimeEdit* dayStart() const { return m_dayStart; }
    QLineEdit* languageField() const { return m_languages; }

private:
    void retranslate();

    const PageHost& m_host;
    QLabel* m_zoneLabel = nullptr;
    QLabel* m_dayStartLabel = nullptr;
    QLabel* m_languagesLabel = nullptr;
    QComboBox* m_zone = nullptr;
    QTimeEdit* m_dayStart = nullptr;
    QLineEdit* m_languages = nullptr;
};

// "ru, uk en" as the list {"ru", "uk", "en"}: codes split at commas and blanks, in lower case.
std::vector<std::string> languageCodes(const QString& text);

} // namespace brevio
