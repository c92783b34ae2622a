#include "gui/sources/source_list_dialog.h"

#include "core/texts/text_ids.h"
#include "gui/sources/source_editor.h"
#include "gui/sources/source_refresher.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"

#include <QAction>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace brevio {

namespace {

using sources::ListingSource;

enum Column { NameColumn, AddressColumn, EnabledColumn, StateColumn, ColumnCount };
constexpr int kAddressRole = Qt::UserRole;

QString momentText(sources::Seconds moment)
{
    return QDateTime::fromSecsSinceEpoch(moment.time_since_epoch().count())
        .toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

QString weeksText(const std::vector<std::string>& weeks)
{
    if (weeks.empty())
        return QStringLiteral("—");
    if (weeks.size() == 1)
        return fromUtf8(weeks.front());
    return fromUtf8(weeks.front()) + QStringLiteral("–") + fromUtf8(weeks.back());
}

} // namespace

QString sourceStateText(const PageHost& host, const ListingSource& source)
{
    const sources::SourceState& state = source.state;
    if (state.failures > 0 && state.lastAttempt)
        return host.text(TextId::FailedState).arg(momentText(*state.lastAttempt), fromUtf8(state.lastError));
    if (state.lastSuccess)
        return host.text(TextId::RefreshedState)
            .arg(momentText(*state.lastSuccess))
            .arg(state.channelsGiven)
            .arg(weeksText(state.weeks));
    return host.text(TextId::NotRefreshedYet);
}

SourceListDialog::SourceListDialog(PageHost& host, SourceRefresher& refresher)
    : QDialog(host.window())
    , m_host(host)
    , m_refresher(refresher)
{
    setObjectName(QStringLiteral("SourceListWindow"));
    resize(940, 320); // the state column wide enough for a refresh of two weeks
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("SourceList"));
    m_list->setColumnCount(ColumnCount);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    const int widths[] = {140, 220, 70};
    for (int column = 0; column < StateColumn; ++column)
        m_list->setColumnWidth(column, widths[column]);
    m_list->header()->setStretchLastSection(true);

    auto* side = new QVBoxLayout;
    const std::pair<QPushButton**, const char*> buttons[]
        = {{&m_add, "AddSourceButton"},       {&m_edit, "EditSourceButton"},
           {&m_remove, "RemoveSourceButton"}, {&m_up, "MoveSourceUpButton"},
           {&m_down, "MoveSourceDownButton"}, {&m_refresh, "RefreshSourcesButton"}};
    for (const auto& [button, name] : buttons) {
        *button = new QPushButton(this);
        (*button)->setObjectName(QString::fromLatin1(name));
        (*button)->setAutoDefault(false);
        side->addWidget(*button);
    }
    side->addStretch(1);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(m_list, 1);
    row->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row, 1);
    layout->addWidget(close);

    m_host.connectGuarded(m_add, &QPushButton::clicked, this, &SourceListDialog::addSource);
    m_host.connectGuarded(m_edit, &QPushButton::clicked, this, &SourceListDialog::editSource);
    m_host.connectGuarded(m_list, &QTreeWidget::itemActivated, this, &SourceListDialog::editSource);
    m_host.connectGuarded(m_remove, &QPushButton::clicked, this, &SourceListDialog::removeSource);
    m_host.connectGuarded(m_up, &QPushButton::clicked, this, &SourceListDialog::moveUp);
    m_host.connectGuarded(m_down, &QPushButton::clicked, this, &SourceListDialog::moveDown);
    m_host.connectGuarded(m_refresh, &QPushButton::clicked, this, &SourceListDialog::refreshNow);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &SourceListDialog::updateButtons);
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column != EnabledColumn || m_filling)
            return;
        // After the item's signal: storing the change fills the list afresh, the item too.
        const std::string address = item->data(NameColumn, kAddressRole).toString().toStdString();
        const bool enabled = item->checkState(EnabledColumn) == Qt::Checked;
        QTimer::singleShot(
            0, this, [this, address, enabled] { m_host.guard([&] { switchSource(address, enabled); }); });
    });
    // The states change with every refresh, the window's own or one it saw stored.
    connect(&m_refresher, &SourceRefresher::sourcesRefreshed, this, [this] {
        if (isVisible())
            m_host.guard([this] { showList(chosenAddress()); });
    });

    m_action = new QAction(this);
    m_action->setObjectName(QStringLiteral("ListingSourcesItem"));
    m_host.fileMenu()->addSeparator();
    m_host.fileMenu()->addAction(m_action);
    m_host.connectGuarded(m_action, &QAction::triggered, this, &SourceListDialog::openList);
    connect(&m_host, &PageHost::languageChanged, this, &SourceListDialog::retranslate);
    retranslate();
}

void SourceListDialog::retranslate()
{
    setWindowTitle(m_host.text(TextId::ListingSourcesTitle));
    setCaption(m_action, m_host.text(TextId::ListingSourcesItem));
    QStringList headers;
    for (const TextId id : {TextId::SourceNameColumn, TextId::SourceAddressColumn,
                            TextId::SourceEnabledColumn, TextId::SourceStateColumn})
        headers << m_host.text(id);
    m_list->setHeaderLabels(headers);
    setAccessibleNameOf(m_list, m_host.text(TextId::ListingSourcesTitle));
    const std::pair<QPushButton*, TextId> captions[]
        = {{m_add, TextId::AddSource},   {m_edit, TextId::EditSource},     {m_remove, TextId::RemoveSource},
           {m_up, TextId::MoveSourceUp}, {m_down, TextId::MoveSourceDown}, {m_refresh, TextId::RefreshNow}};
    for (const auto& [button, id] : captions)
        setCaption(button, m_host.text(id));
    if (isVisible())
        showList(chosenAddress()); // the states speak the new language too
}

void SourceListDialog::openList()
{
    showList(chosenAddress());
    show();
    raise();
    activateWindow();
}

std::vector<ListingSource> SourceListDialog::storedList() const
{
    m_host.settings().sync(); // what a terminal's refresh stored meanwhile
    return listingSources(m_host.settings());
}

void SourceListDialog::store(const std::vector<ListingSource>& list)
{
    storeListingSources(m_host.settings(), list);
    m_host.storeSettings();
}

std::string SourceListDialog::chosenAddress() const
{
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->data(NameColumn, kAddressRole).toString().toStdString() : std::string();
}

void SourceListDialog::showList(const std::string& chosen)
{
    m_filling = true;
    m_list->clear();
    for (const ListingSource& source : storedList()) {
        auto* item = new QTreeWidgetItem;
        item->setText(NameColumn, fromUtf8(source.name));
        item->setData(NameColumn, kAddressRole, fromUtf8(source.address));
        item->setText(AddressColumn, fromUtf8(source.address));
        item->setCheckState(EnabledColumn, source.enabled ? Qt::Checked : Qt::Unchecked);
        // The box has no text of its own; a screen reader says the column's with its state.
        item->setData(EnabledColumn, Qt::AccessibleTextRole, m_host.text(TextId::SourceEnabledColumn));
        const QString state = sourceStateText(m_host, source);
        item->setText(StateColumn, state);
        item->setToolTip(StateColumn, state);
        m_list->addTopLevelItem(item);
        if (source.address == chosen)
            m_list->setCurrentItem(item);
    }
    if (!m_list->currentItem() && m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    m_filling = false;
    updateButtons();
}

void SourceListDialog::updateButtons()
{
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    const int count = m_list->topLevelItemCount();
    m_edit->setEnabled(row >= 0);
    m_remove->setEnabled(row >= 0);
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row + 1 < count);
    m_refresh->setEnabled(count > 0);
}

void SourceListDialog::changeChosen(
    const std::function<void(std::vector<ListingSource>&, std::size_t)>& change)
{
    const std::string address = chosenAddress();
    std::vector<ListingSource> list = storedList();
    if (const ListingSource* chosen = sources::findSource(list, address)) {
        change(list, static_cast<std::size_t>(chosen - list.data()));
        store(list);
    }
    showList(address);
}

void SourceListDialog::addSource()
{
    std::vector<ListingSource> list = storedList();
    SourceEditor editor(m_host, list, list.size(), this);
    if (editor.exec() != QDialog::Accepted)
        return;
    const ListingSource added = editor.edited();
    list = storedList();
    if (const ListingSource* same = sources::findSource(list, added.address)) {
        // Added meanwhile, from a terminal.
        m_host.dialogs().message(
            m_host.text(TextId::AddressTaken).arg(fromUtf8(added.address), fromUtf8(same->name)));
        return;
    }
    list.push_back(added);
    store(list);
    showList(added.address);
    m_refresher.refreshAddresses({added.address});
}

void SourceListDialog::editSource()
{
    const std::string address = chosenAddress();
    std::vector<ListingSource> list = storedList();
    const ListingSource* chosen = sources::findSource(list, address);
    if (!chosen)
        return;
    SourceEditor editor(m_host, list, static_cast<std::size_t>(chosen - list.data()), this);
    if (editor.exec() != QDialog::Accepted)
        return;
    const ListingSource edited = editor.edited();
    bool reread = false;
    // Into the list as it is now: a refresh may have stored the source's state meanwhile.
    list = storedList();
    if (ListingSource* stored = sources::findSource(list, address)) {
        reread = sources::takeEdit(*stored, edited);
        store(list);
    }
    showList(edited.address);
    if (reread)
        m_refresher.refreshAddresses({edited.address});
}

void SourceListDialog::removeSource()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    changeChosen([](std::vector<ListingSource>& list, std::size_t at) {
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(at));
    });
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(std::min(row, m_list->topLevelItemCount() - 1)));
}

void SourceListDialog::moveSource(int step)
{
    changeChosen([step](std::vector<ListingSource>& list, std::size_t at) {
        const auto to = static_cast<std::ptrdiff_t>(at) + step;
        if (to >= 0 && to < static_cast<std::ptrdiff_t>(list.size()))
            std::swap(list[at], list[static_cast<std::size_t>(to)]);
    });
}

void SourceListDialog::switchSource(const std::string& address, bool enabled)
{
    std::vector<ListingSource> list = storedList();
    if (ListingSource* source = sources::findSource(list, address)) {
        source->enabled = enabled;
        store(list);
    }
    showList(address);
}

void SourceListDialog::refreshNow()
{
    m_refresher.refreshAll();
}

} // namespace brevio
