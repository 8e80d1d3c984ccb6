// The update check against a real HTTP server on 127.0.0.1 run by this test program.

#include "support/ui/uitest.h"

#include "app/version.h"
#include "update/ui/tform8.h"
#include "update/ui/updatecheck.h"

#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>

using namespace tovek;
using tovek::test::fakeDialogs;

namespace {

QByteArray httpResponse(int status, const QByteArray& body)
{
    const QByteArray reason = status == 200 ? "OK" : "Not Found";
    return "HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\nContent-Type: text/plain\r\n" +
           "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// Answers every request with one canned response, or never answers at all.
class CannedServer : public QObject
{
public:
    explicit CannedServer(QByteArray response, bool answer = true) : m_response(std::move(response)), m_answer(answer)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_pending[socket] += socket->readAll();
                    if (!m_pending[socket].contains("\r\n\r\n"))
                        return;
                    requests.push_back(m_pending.take(socket));
                    if (m_answer) {
                        socket->write(m_response);
                        socket->disconnectFromHost();
                    }
                });
            }
        });
    }

    QString siteUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    QUrl versionUrl() const { return QUrl(siteUrl() + QStringLiteral("/download/tovekupd.txt")); }

    std::vector<QByteArray> requests;

private:
    QTcpServer m_server;
    QByteArray m_response;
    bool m_answer;
    QHash<QTcpSocket*, QByteArray> m_pending;
};

// A port on which nothing listens.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

// Records what the new-version window showed and closes it at once.
class WindowWatcher : public QObject
{
public:
    explicit WindowWatcher(ui::TForm8& form) : m_form(form) { form.installEventFilter(this); }

    int shown = 0;
    QString installedLabel;
    QString latestLabel;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            ++shown;
            // Read once the window is up: the filter sees the event before the window fills its labels.
            QTimer::singleShot(0, &m_form, [this] {
                installedLabel = m_form.findChild<QLabel*>("KuruluVersionRxLabel")->text();
                latestLabel = m_form.findChild<QLabel*>("EnSonVersionRxLabel")->text();
                m_form.findChild<QPushButton*>("Button1")->click();
            });
        }
        return false;
    }

private:
    ui::TForm8& m_form;
};

enum class Expect { Nothing, Window, Information, Error };

} // namespace

Q_DECLARE_METATYPE(Expect)
Q_DECLARE_METATYPE(update::CheckMode)

class UpdateCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The local server must be reached directly, not through a proxy of the machine running the tests.
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
    }

    void init() { fakeDialogs().clear(); }

    void check_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<update::CheckMode>("mode");
        QTest::addColumn<Expect>("expect");
        QTest::addColumn<QString>("expected"); // window: latest label; message: exact text; error: a part

        const QString upToDate =
            QStringLiteral("Tovek Kurulu Versiyon : 1.81\r\rŞu An En Son Versiyonu Kullanıyorsunuz...");
        struct Row
        {
            const char* scenario;
            Expect silent;
            Expect interactive;
            QString expected;
        };
        const std::vector<Row> rows = {
            {"1.9", Expect::Window, Expect::Window, QStringLiteral("1.9")},
            {"1.10", Expect::Nothing, Expect::Information, upToDate},
            {"1.81", Expect::Nothing, Expect::Information, upToDate},
            {"lower", Expect::Nothing, Expect::Information, upToDate},
            {"two lines", Expect::Window, Expect::Window, QStringLiteral("1.90")},
            {"exactly 64 KiB", Expect::Window, Expect::Window, QStringLiteral("1.90")},
            {"404 page", Expect::Nothing, Expect::Error, QStringLiteral("HTTP 404")},
            {"empty", Expect::Nothing, Expect::Error, QStringLiteral("sürüm dosyası boş")},
            {"over 64 KiB", Expect::Nothing, Expect::Error, QStringLiteral("64 KB sınırını aşıyor")},
            {"never answers", Expect::Nothing, Expect::Error, QStringLiteral("zamanında yanıt vermedi")},
            {"closed port", Expect::Nothing, Expect::Error, QStringLiteral("sunucuya bağlanılamadı")},
            {"no connection", Expect::Nothing, Expect::Information, QStringLiteral("Bağlantı Başarısız.")},
        };
        for (const Row& row : rows) {
            QTest::addRow("%s, silent", row.scenario)
                << QString::fromUtf8(row.scenario) << update::CheckMode::Silent << row.silent << row.expected;
            QTest::addRow("%s, interactive", row.scenario)
                << QString::fromUtf8(row.scenario) << update::CheckMode::Interactive << row.interactive
                << row.expected;
        }
    }

    void check()
    {
        QFETCH(QString, scenario);
        QFETCH(update::CheckMode, mode);
        QFETCH(Expect, expect);
        QFETCH(QString, expected);

        const QByteArray padding(64 * 1024 - 5, 'x');
        QByteArray response;
        if (scenario == "lower")
            response = httpResponse(200, "1.5\r\n");
        else if (scenario == "two lines")
            response = httpResponse(200, "1.90\r\nYeni sürüm: hatalar düzeltildi\r\n");
        else if (scenario == "exactly 64 KiB")
            response = httpResponse(200, "1.90\n" + padding);
        else if (scenario == "over 64 KiB")
            response = httpResponse(200, "1.90\n" + padding + "y");
        else if (scenario == "404 page")
            response = httpResponse(404, "<!DOCTYPE html>\n<html><body>Not Found</body></html>\n");
        else if (scenario == "empty")
            response = httpResponse(200, "");
        else
            response = httpResponse(200, scenario.toUtf8());
        CannedServer server(response, scenario != "never answers");

        ui::TForm8 form(fakeDialogs());
        WindowWatcher watcher(form);
        const QUrl url = scenario == "closed port"
                             ? QUrl(QStringLiteral("http://127.0.0.1:%1/download/tovekupd.txt").arg(closedPort()))
                             : server.versionUrl();
        ui::UpdateCheck check(fakeDialogs(), nullptr, form, url);
        check.setTimeout(std::chrono::milliseconds(300));
        check.setConnectivity([&] { return scenario != "no connection"; });

        check.run(mode);

        const auto& messages = fakeDialogs().messages;
        switch (expect) {
        case Expect::Nothing:
            QCOMPARE(watcher.shown, 0);
            QCOMPARE(messages.size(), size_t(0));
            break;
        case Expect::Window:
            QCOMPARE(watcher.shown, 1);
            QCOMPARE(messages.size(), size_t(0));
            QCOMPARE(watcher.installedLabel, QStringLiteral("KURULU VERSION : 1.81"));
            QCOMPARE(watcher.latestLabel, QStringLiteral("EN  SON VERSION : ") + expected);
            QCOMPARE(check.latestVersion(), expected);
            break;
        case Expect::Information:
            QCOMPARE(watcher.shown, 0);
            QCOMPARE(messages.size(), size_t(1));
            QCOMPARE(messages[0].text, expected);
            QCOMPARE(messages[0].icon, QMessageBox::NoIcon);
            QCOMPARE(messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            break;
        case Expect::Error:
            QCOMPARE(watcher.shown, 0);
            QCOMPARE(messages.size(), size_t(1));
            QVERIFY2(messages[0].text.contains(expected), qPrintable(messages[0].text));
            QCOMPARE(messages[0].icon, QMessageBox::Critical);
            break;
        }
        if (scenario == "no connection")
            QVERIFY(server.requests.empty());
    }

    void requestAsksTheServerItselfAsMozilla()
    {
        CannedServer server(httpResponse(200, "1.81"));
        ui::TForm8 form(fakeDialogs());
        ui::UpdateCheck check(fakeDialogs(), nullptr, form, server.versionUrl());
        check.setConnectivity([] { return true; });
        check.run(update::CheckMode::Silent);
        check.run(update::CheckMode::Silent);

        // Twice asked, twice fetched: nothing comes from a cache.
        QCOMPARE(server.requests.size(), size_t(2));
        const QByteArray request = server.requests[1];
        QVERIFY2(request.startsWith("GET /download/tovekupd.txt HTTP/1.1\r\n"), request.constData());
        QVERIFY(request.contains("\r\nUser-Agent: Mozilla 4.0\r\n"));
        QVERIFY(request.contains("\r\nCache-Control: no-cache\r\n"));
        QVERIFY(request.contains("\r\nPragma: no-cache\r\n"));
    }

    void defaultUrlIsTheSiteAndTheVersionFile()
    {
        QCOMPARE(ui::UpdateCheck::defaultVersionUrl().toString(),
                 QString::fromUtf8(kSiteUrl) + QStringLiteral("/download/tovekupd.txt"));
        // Whatever the platform says, asking must not fail or hang.
        (void)ui::UpdateCheck::systemReportsConnection();
    }

    void staysResponsiveAndIgnoresASecondCheckWhileWaiting()
    {
        CannedServer server(QByteArray(), false);
        ui::TForm8 form(fakeDialogs());
        ui::UpdateCheck check(fakeDialogs(), nullptr, form, server.versionUrl());
        check.setConnectivity([] { return true; });
        check.setTimeout(std::chrono::milliseconds(400));

        bool timerRan = false;
        QTimer::singleShot(50, [&] {
            timerRan = true;
            QVERIFY(check.isRunning());
            check.run(update::CheckMode::Interactive);
        });
        check.run(update::CheckMode::Interactive);

        QVERIFY(timerRan);
        QCOMPARE(server.requests.size(), size_t(1));
        QCOMPARE(fakeDialogs().messages.size(), size_t(1)); // the time-out, once
        QVERIFY(!check.isRunning());
    }

    void startUpCheckRunsOnceOnFirstActivation()
    {
        CannedServer server(httpResponse(200, "1.81"));
        QWidget mainWindow;
        ui::TForm8 form(fakeDialogs());
        auto* check = new ui::UpdateCheck(fakeDialogs(), &mainWindow, form, server.versionUrl());
        check->setConnectivity([] { return true; });
        ui::runOnFirstActivation(&mainWindow, *check);

        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&mainWindow, &activate);
        QTRY_COMPARE(server.requests.size(), size_t(1));
        QTRY_VERIFY(!check->isRunning());
        QApplication::sendEvent(&mainWindow, &activate);
        QTest::qWait(100);
        QCOMPARE(server.requests.size(), size_t(1));
        QVERIFY(fakeDialogs().messages.empty()); // silent: up to date says nothing
    }
};

TOVEK_QTEST_MAIN(UpdateCheckTest)
#include "updatecheck_test.moc"
