// Renders the main window with the sample bank open; docs/screenshot.sh keeps the picture.

#include "app/ui/tform1.h"
#include "store/ui/tform3.h"
#include "support/ui/uitest.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace tovek;

class ScreenshotTest : public QObject
{
    Q_OBJECT
private slots:
    void sampleBankRenders()
    {
        test::TempDir dir;
        test::fakeDialogs().clear();
        ui::TForm1 form(test::fakeDialogs(), dir.path());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        test::whenModal([](QWidget* modal) {
            auto* list = modal->findChild<QListWidget*>(QStringLiteral("ListBox1"));
            const auto items = list->findItems(QStringLiteral("ÖRNEK.DB"), Qt::MatchEndsWith);
            if (!items.isEmpty())
                list->setCurrentItem(items.front());
            modal->findChild<QPushButton*>(QStringLiteral("DosyaSecButton"))->click();
        });
        form.DosyaSecToolbarButtonClick();
        QVERIFY(form.fileOpen());
        QVERIFY(!form.editor(0)->toPlainText().isEmpty());
        QCOMPARE(form.label6()->text(), QStringLiteral("SORU :    1"));

        const QPixmap picture = form.grab();
        QVERIFY(!picture.isNull());
        const QByteArray target = qgetenv("TOVEK_SCREENSHOT");
        if (!target.isEmpty())
            QVERIFY(picture.save(QString::fromLocal8Bit(target), "PNG"));
    }
};

TOVEK_QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
