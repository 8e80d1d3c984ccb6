// The about window and the new-version window: texts, links and closing.
// With TOVEK_SCREENSHOT_DIR set, both windows are also saved there as pictures.

#include "support/ui/uitest.h"

#include "app/version.h"
#include "update/ui/tform4.h"
#include "update/ui/tform8.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

using namespace tovek;
using tovek::test::fakeDialogs;

namespace {

QLabel* label(QWidget& window, const char* name)
{
    auto* found = window.findChild<QLabel*>(name);
    if (!found)
        qFatal("no label %s", name);
    return found;
}

void saveScreenshot(QWidget& window, const QString& name)
{
    const QString dir = qEnvironmentVariable("TOVEK_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        window.grab().save(dir + QStringLiteral("/") + name);
}

} // namespace

class UpdateWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { fakeDialogs().clear(); }

    void aboutWindowShowsNameVersionAndPurpose()
    {
        ui::TForm4 form(fakeDialogs());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QCOMPARE(form.windowTitle(), QStringLiteral("Tovek Hakkında"));
        QCOMPARE(form.size(), QSize(431, 316));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(label(form, "RxLabel1")->text(), QStringLiteral("TOVEK"));
        QCOMPARE(label(form, "TovekVersionRxLabel")->text(), QStringLiteral("Version 1.81"));
        QCOMPARE(label(form, "RxLabel5")->text(), QStringLiteral("Soru Yazma, Düzenleme ve Karıştırma Programı"));
        QCOMPARE(label(form, "RxLabel4")->text().count('\n'), 3);
        QCOMPARE(label(form, "RxLabel2")->text(), QStringLiteral("e-mail :"));
        QCOMPARE(label(form, "RxLabel6")->text(), QString::fromUtf8(kContactEmail));
        QCOMPARE(label(form, "RxLabel6")->toolTip(), QStringLiteral("e-mail gönder"));
        QCOMPARE(label(form, "RxLabel3")->text(), QString::fromUtf8(kSiteUrl));
        QCOMPARE(label(form, "RxLabel3")->toolTip(), QStringLiteral("Tovek Sitesini Aç"));
        QCOMPARE(label(form, "RxLabel3")->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(label(form, "RxLabel4")->font().bold());
        QVERIFY(form.findChild<QFrame*>("Panel1"));
        QVERIFY(form.findChild<QPushButton*>("OKButton")->isDefault());

        saveScreenshot(form, QStringLiteral("about-window.png"));
        // Every text fits: a label cut off by the fixed window size would show a shortened text.
        for (QLabel* each : form.findChildren<QLabel*>())
            QVERIFY2(each->width() >= each->sizeHint().width(), qPrintable(each->objectName()));
    }

    void bothMailLabelsAskForTheSameMail()
    {
        ui::TForm4 form(fakeDialogs());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(label(form, "RxLabel2"), Qt::LeftButton);
        QTest::mouseClick(label(form, "RxLabel6"), Qt::LeftButton);

        const QString expected =
            "mailto:" + QString::fromUtf8(kContactEmail) + "?subject=Tovek Hakkinda&Body=Tovek Hakkinda";
        const auto& urls = fakeDialogs().openedUrls;
        QCOMPARE(urls.size(), size_t(2));
        QCOMPARE(urls[0], urls[1]);
        QCOMPARE(urls[0].toString(), expected);
        QCOMPARE(urls[0].scheme(), QStringLiteral("mailto"));
        QCOMPARE(urls[0].path(), QString::fromUtf8(kContactEmail));
    }

    void linksWithoutAProgramStaySilentAndKeepTheWindowOpen()
    {
        fakeDialogs().openUrlResult = false;
        ui::TForm4 form(fakeDialogs());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(label(form, "RxLabel3"), Qt::LeftButton);
        QTest::mouseClick(label(form, "RxLabel6"), Qt::LeftButton);

        QCOMPARE(fakeDialogs().openedUrls.size(), size_t(2));
        QCOMPARE(fakeDialogs().openedUrls[0], QUrl(QString::fromUtf8(kSiteUrl)));
        QVERIFY(fakeDialogs().messages.empty());
        QVERIFY(form.isVisible());
    }

    void okButtonClosesTheAboutWindowWithOk()
    {
        ui::TForm4 form(fakeDialogs());
        tovek::test::whenModal([](QWidget* modal) { modal->findChild<QPushButton*>("OKButton")->click(); });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY(!form.isVisible());
    }

    void newVersionWindowShowsBothVersionsAndOpensTheSite()
    {
        ui::TForm8 form(fakeDialogs());
        form.setLatestVersion(QStringLiteral("1.90"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QCOMPARE(form.windowTitle(), QStringLiteral("Tovek Yeni Version"));
        QCOMPARE(form.size(), QSize(332, 221));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QCOMPARE(label(form, "RxLabel1")->text(), QStringLiteral("TOVEK YENİ VERSİON HAZIR"));
        QCOMPARE(label(form, "KuruluVersionRxLabel")->text(), QStringLiteral("KURULU VERSION : 1.81"));
        QCOMPARE(label(form, "EnSonVersionRxLabel")->text(), QStringLiteral("EN  SON VERSION : 1.90"));
        QCOMPARE(label(form, "DownloadRxLabel")->text(), QStringLiteral("DOWNLOAD SİTESİ"));
        QVERIFY(label(form, "DownloadRxLabel")->font().underline());
        QCOMPARE(label(form, "RxLabel5")->text(), QString::fromUtf8(kSiteUrl));
        QCOMPARE(label(form, "RxLabel5")->toolTip(), QStringLiteral("Tovek Sitesini Aç"));
        QCOMPARE(label(form, "ProgramIcon")->pixmap().size(), QSize(32, 32));
        saveScreenshot(form, QStringLiteral("new-version-window.png"));
        for (QLabel* each : form.findChildren<QLabel*>())
            QVERIFY2(each->width() >= each->sizeHint().width(), qPrintable(each->objectName()));

        QTest::mouseClick(label(form, "DownloadRxLabel"), Qt::LeftButton);
        QTest::mouseClick(label(form, "RxLabel5"), Qt::LeftButton);
        const QUrl site(QString::fromUtf8(kSiteUrl));
        QCOMPARE(fakeDialogs().openedUrls, (std::vector<QUrl>{site, site}));
        QVERIFY(form.isVisible());

        // The labels follow the latest check each time the window opens.
        form.hide();
        form.setLatestVersion(QStringLiteral("2.0"));
        form.show();
        QCOMPARE(label(form, "EnSonVersionRxLabel")->text(), QStringLiteral("EN  SON VERSION : 2.0"));
        form.findChild<QPushButton*>("Button1")->click();
        QVERIFY(!form.isVisible());
    }
};

TOVEK_QTEST_MAIN(UpdateWindowsTest)
#include "windows_test.moc"
