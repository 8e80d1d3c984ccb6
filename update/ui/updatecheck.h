#pragma once
// Asks the program's web server for the newest version and shows what it found: the new-version
// window, the up-to-date message, or what went wrong (interactive mode only).

#include "app/ui/dialogs.h"
#include "update/versioncheck.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>

class QNetworkAccessManager;
class QWidget;

namespace tovek::ui {

class TForm8;

class UpdateCheck : public QObject
{
    Q_OBJECT

public:
    using Connectivity = std::function<bool()>;

    // versionUrl defaults to the site's address + "/download/tovekupd.txt".
    UpdateCheck(Dialogs& dialogs, QWidget* parent, TForm8& form, QUrl versionUrl = defaultVersionUrl());

    // Runs one check. The window keeps painting and answering while the request is under way;
    // a second call during a check is ignored.
    void run(update::CheckMode mode);

    // The first line of the version file as read by the latest check; empty until one has read it.
    QString latestVersion() const { return m_latestVersion; }
    bool isRunning() const { return m_running; }

    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    // Replaces the platform's "is there a connection" question (tests simulate a missing connection).
    void setConnectivity(Connectivity connectivity) { m_connectivity = std::move(connectivity); }

    static QUrl defaultVersionUrl();
    // The platform's network information; counts as connected where Qt cannot tell.
    static bool systemReportsConnection();

    // One GET of url; the result says what arrived. std::nullopt when the wait was cut short because
    // the application is quitting.
    std::optional<update::FetchResult> fetch(const QUrl& url);

private:
    Dialogs& m_dialogs;
    QWidget* m_parent;
    TForm8& m_form;
    QUrl m_versionUrl;
    QNetworkAccessManager* m_network;
    std::chrono::milliseconds m_timeout{15000};
    Connectivity m_connectivity = &UpdateCheck::systemReportsConnection;
    QString m_latestVersion;
    bool m_running = false;
};

// Runs the silent check once, the first time window becomes active.
void runOnFirstActivation(QWidget* window, UpdateCheck& check);

} // namespace tovek::ui
