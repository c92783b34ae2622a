#pragma once

#include "core/sources/listing_source.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QPushButton;
class QTreeWidget;

namespace brevio {

class PageHost;
class SourceRefresher;

// "Файл" → "Источники программы…" (and the retrieval page's button): the listing sources in the
// order in which they win a channel both give, each with its address, its switch and its state
// (the last refresh, the channels and weeks it gave, or its last error); add, edit, remove,
// move up and down, refresh now. Every change is stored at once into the list as the settings
// hold it then, by address, so that a terminal's refresh meanwhile loses nothing; a source added
// or set to read its listing otherwise is refreshed at once. Owned by the main window.
class SourceListDialog : public QDialog
{
    Q_OBJECT

public:
    SourceListDialog(PageHost& host, SourceRefresher& refresher);

    // The menu entry and the button: opens the window (or brings it forward).
    void openList();
    void addSource();
    void editSource();
    void removeSource();
    void moveUp() { moveSource(-1); }
    void moveDown() { moveSource(1); }
    void refreshNow();

    QAction* action() const { return m_action; }
    QTreeWidget* sourceList() const { return m_list; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* removeButton() const { return m_remove; }
    QPushButton* upButton() const { return m_up; }
    QPushButton* downButton() const { return m_down; }
    QPushButton* refreshButton() const { return m_refresh; }

private:
    // The list as the settings hold it now.
    std::vector<sources::ListingSource> storedList() const;
    void store(const std::vector<sources::ListingSource>& list);
    // Changes the stored list with `change`, given the source chosen in the window (null when it
    // is gone meanwhile), stores it and shows it.
    void changeChosen(const std::function<void(std::vector<sources::ListingSource>&, std::size_t)>& change);
    void moveSource(int step);
    void switchSource(const std::string& address, bool enabled);
    // Shows the stored list, the source of `chosenAddress` chosen.
    void showList(const std::string& chosenAddress);
    std::string chosenAddress() const;
    void updateButtons();
    void retranslate();

    PageHost& m_host;
    SourceRefresher& m_refresher;
    QAction* m_action = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_refresh = nullptr;
    bool m_filling = false;
};

// A source's state as the window shows it: its last error with the time of the attempt, or the
// time of its last refresh with the channels and weeks it gave, or that it has none yet.
QString sourceStateText(const PageHost& host, const sources::ListingSource& source);

} // namespace brevio
