#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace brevio::test {

// Stands in for the desktop's browser, mail program and file opener while it lives.
class OpenedUrls : public QObject
{
    Q_OBJECT

public:
    OpenedUrls();
    ~OpenedUrls() override;
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

} // namespace brevio::test
