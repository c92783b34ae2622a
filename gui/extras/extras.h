#pragma once

#include <QObject>

namespace brevio {

class ChimeoBox;
class TBrevioForm;

// The menus' links, help and about, the desktop shortcut and the JTV export entry: connects
// the form's menu items and settings-page buttons to their handlers. Owned by the form.
class Extras : public QObject
{
    Q_OBJECT

public:
    explicit Extras(TBrevioForm& form);

    // "Полезные ссылки": the maker's pages and the subscription service.
    void N2Click();
    void N3Click();
    void N4Click();
    void N10Click();
    void N11Click();
    void N12Click();
    void ICQ1Click();
    void N13Click();
    // "Помощь": the help file and the about box.
    void N8Click();
    void N7Click();
    // Settings page: "Иконку на рабочий стол" and "Экспорт в JTV".
    void FlatSpeedButton32Click();
    void FlatButton2Click();

    ChimeoBox* chimeoBox() const { return m_chimeo; }

private:
    void openOnMakerSite(const char* path);
    void connectAction(const char* name, void (Extras::*handler)());
    void connectButton(const char* name, void (Extras::*handler)());

    TBrevioForm& m_form;
    ChimeoBox* m_chimeo = nullptr;
};

} // namespace brevio
