#include "update/ui/updatecheck.h"

#include "app/version.h"
#include "update/ui/tform8.h"

#include <QEvent>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tovek::ui {

namespace {

// The proxy the system is set up with, for this manager only (not the process-wide default).
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery& query) override
    {
        return systemProxyForQuery(query);
    }
};

class FirstActivation : public QObject
{
public:
    FirstActivation(QWidget* window, UpdateCheck& check) : QObject(window), m_check(check) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate) {
            watched->removeEventFilter(this);
            // Not from inside the activation event: the check waits in an event loop of its own.
            QPointer<UpdateCheck> check(&m_check);
            QTimer::singleShot(0, check, [check] {
                if (check)
                    check->run(update::CheckMode::Silent);
            });
            deleteLater();
        }
        return false;
    }

private:
    UpdateCheck& m_check;
};

} // namespace

UpdateCheck::UpdateCheck(Dialogs& dialogs, QWidget* parent, TForm8& form, QUrl versionUrl)
    : QObject(parent), m_dialogs(dialogs), m_parent(parent), m_form(form), m_versionUrl(std::move(versionUrl)),
      m_network(new QNetworkAccessManager(this))
{
    m_network->setProxyFactory(new SystemProxyFactory);
}

QUrl UpdateCheck::defaultVersionUrl()
{
    return QUrl(QString::fromStdString(update::versionFileUrl(kSiteUrl)));
}

bool UpdateCheck::systemReportsConnection()
{
    static const bool loaded =
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    const QNetworkInformation* info = QNetworkInformation::instance();
    if (!loaded || !info)
        return true;
    return info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

std::optional<update::FetchResult> UpdateCheck::fetch(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Mozilla 4.0"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");

    QNetworkReply* reply = m_network->get(request);
    QByteArray body;
    bool tooLarge = false;
    bool timedOut = false;

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    connect(reply, &QNetworkReply::readyRead, reply, [&] {
        if (tooLarge)
            return;
        body += reply->read(qint64(update::kMaxVersionFileBytes) + 1 - body.size());
        if (body.size() > qsizetype(update::kMaxVersionFileBytes)) {
            tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(m_timeout);
    if (!reply->isFinished())
        loop.exec();
    timer.stop();

    std::optional<update::FetchResult> result;
    if (!reply->isFinished()) {
        // The application is quitting and ended every event loop; nobody waits for the answer any more.
        reply->abort();
    } else {
        result.emplace();
        if (!tooLarge && !timedOut)
            body += reply->read(qint64(update::kMaxVersionFileBytes) + 1 - body.size());
        if (body.size() > qsizetype(update::kMaxVersionFileBytes))
            tooLarge = true;

        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (tooLarge) {
            result->status = update::FetchStatus::TooLarge;
        } else if (timedOut) {
            result->status = update::FetchStatus::TimedOut;
        } else if (status.isValid() && status.toInt() > 0) {
            // An error page is an answer too: its body decides, like any other.
            result->status = update::FetchStatus::Received;
            result->httpStatus = status.toInt();
            result->body = body.toStdString();
        } else {
            result->status = update::FetchStatus::Unreachable;
            result->detail = reply->errorString().toStdString();
        }
    }
    reply->deleteLater();
    return result;
}

void UpdateCheck::run(update::CheckMode mode)
{
    if (m_running)
        return;
    m_running = true;
    struct Reset
    {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_running};

    std::optional<update::FetchResult> fetched;
    if (m_connectivity()) {
        fetched = fetch(m_versionUrl);
        if (!fetched)
            return;
    } else {
        fetched.emplace();
        fetched->status = update::FetchStatus::NoConnection;
    }

    const update::Outcome outcome = update::evaluate(mode, *fetched, kInstalledVersion);
    if (fetched->status != update::FetchStatus::NoConnection)
        m_latestVersion = QString::fromStdString(outcome.latestVersion);

    const QString message = QString::fromStdString(outcome.message);
    switch (outcome.verdict) {
    case update::Verdict::ShowNothing:
        break;
    case update::Verdict::NoConnection:
    case update::Verdict::UpToDate:
        m_dialogs.information(m_parent, message);
        break;
    case update::Verdict::Failure:
        m_dialogs.generalError(m_parent, message);
        break;
    case update::Verdict::NewVersion:
        m_form.setLatestVersion(m_latestVersion);
        m_form.exec();
        break;
    }
}

void runOnFirstActivation(QWidget* window, UpdateCheck& check)
{
    window->installEventFilter(new FirstActivation(window, check));
}

} // namespace tovek::ui
