#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include <string>
#include <vector>

// Takes the web addresses that the program hands to the desktop's default
// handler while it lives, instead of opening them.
class OpenedAddresses : public QObject {
    Q_OBJECT
public:
    OpenedAddresses() { for (auto scheme : {"http", "https"}) QDesktopServices::setUrlHandler(scheme, this, "Open"); }
    ~OpenedAddresses() override { for (auto scheme : {"http", "https"}) QDesktopServices::unsetUrlHandler(scheme); }

    std::vector<std::string> addresses;

public slots:
    void Open(const QUrl &address) { addresses.push_back(address.toString().toStdString()); }
};
