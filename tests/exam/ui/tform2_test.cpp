// The document window's save flow: names, the format window's choice, view-only, failures.

#include "support/ui/uitest.h"

#include "exam/rtfexport.h"
#include "exam/ui/exportwindows.h"
#include "exam/ui/tform2.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace tovek;
using namespace tovek::ui;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

std::vector<std::string> sampleLines()
{
    return {"1) Başkent neresidir?", "", "A) İstanbul", "B) Ankara", "", "YANIT ANAHTARI", "SORU - 01 : B", "",
            "SORU_SAYISI=1", "K=B"};
}

struct Window
{
    test::TempDir dir;
    TForm2 form{test::fakeDialogs(), QString()};

    Window()
    {
        form.setDataDir(dir.path());
        form.setDocument(sampleLines(), QStringLiteral("1. İterasyon"), QStringLiteral("1"));
    }
};

// Acts on the format window when it opens.
void onSelection(std::function<void(Tfrm_Selection*)> action)
{
    test::whenModal([action](QWidget* w) {
        auto* selection = qobject_cast<Tfrm_Selection*>(w);
        if (!selection) {
            qWarning("expected the format window");
            w->close();
            return;
        }
        action(selection);
    });
}

void exportNow()
{
    onSelection([](Tfrm_Selection* s) { s->btn_Selection->click(); });
}

} // namespace

class TForm2Test : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::fakeDialogs().clear(); }

    void savesUnderTheProposedNameWithItsFormatWindow()
    {
        Window w;
        test::fakeDialogs().fileAnswers.push_back(w.dir.path() + QStringLiteral("YeniDosya"));
        bool looked = false;
        onSelection([&looked](Tfrm_Selection* s) {
            QCOMPARE(s->windowTitle(), QStringLiteral("Satırlar Aktarılıyor..."));
            QCOMPARE(s->GroupBox->title(), QStringLiteral(" Çıkış &Formatı Seç: "));
            QCOMPARE(s->SelectionCombo->count(), 1);
            QCOMPARE(s->SelectionCombo->currentText(), QStringLiteral("Microsoft Word"));
            QCOMPARE(s->rdo_View->text(), QStringLiteral("&Yalnız Bakış"));
            QVERIFY(s->rdo_File->isChecked());
            QVERIFY(s->btn_Selection->isDefault());
            QCOMPARE(s->btn_Cancel->text(), QStringLiteral("&Vazgeç"));
            QCOMPARE(s->size(), QSize(322, 123));
            QVERIFY(s->windowFlags() & Qt::WindowStaysOnTopHint);
            QCOMPARE(s->IconImage->pixmap().size(), QSize(31, 31));
            looked = true;
            // Enter takes the default button.
            QTest::keyClick(s, Qt::Key_Return);
        });
        w.form.Button2Click();
        QVERIFY(looked);
        QCOMPARE(test::fakeDialogs().fileDialogDirectories.at(0), w.dir.path());
        QCOMPARE(test::fakeDialogs().fileDialogNames.at(0), QStringLiteral("YeniDosya"));
        QVERIFY(test::fakeDialogs().fileDialogFilters.at(0).isEmpty());
        QVERIFY(test::fakeDialogs().messages.empty());
        const QByteArray bytes = readAll(w.dir.path() + QStringLiteral("YeniDosya.DOC"));
        QVERIFY(bytes.startsWith("{\\rtf1\\ansi"));
        QVERIFY(bytes.contains("SORU\\_SAYISI=1") || bytes.contains("SORU_SAYISI=1"));
        QCOMPARE(w.form.exportWindows().progress()->ProgressBar->maximum(), static_cast<int>(sampleLines().size()));
        QVERIFY(!w.form.exportWindows().progress()->isVisible());
        QCOMPARE(w.form.lastSaveOutcome(), ExportWindows::Outcome::Written);
    }

    void namesAlwaysEndInDoc()
    {
        Window w;
        // A question file of the same base name must survive.
        QFile db(w.dir.path() + QStringLiteral("sinav.DB"));
        QVERIFY(db.open(QIODevice::WriteOnly));
        db.write("question file");
        db.close();
        // An old document under the final name is replaced, without a question.
        QFile old(w.dir.path() + QStringLiteral("sinav.DOC"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();

        for (const QString& name : {QStringLiteral("sinav.rtf"), QStringLiteral("sinav.DB"), QStringLiteral("sinav")}) {
            test::fakeDialogs().fileAnswers.push_back(w.dir.path() + name);
            exportNow();
            w.form.Button2Click();
            QCOMPARE(w.form.lastSaveOutcome(), ExportWindows::Outcome::Written);
            QVERIFY(readAll(w.dir.path() + QStringLiteral("sinav.DOC")).startsWith("{\\rtf1"));
            QCOMPARE(readAll(w.dir.path() + QStringLiteral("sinav.DB")), QByteArray("question file"));
        }
        QVERIFY(!QFile::exists(w.dir.path() + QStringLiteral("sinav.rtf")));
        // Every save proposes the data directory and the same name again.
        QCOMPARE(test::fakeDialogs().fileDialogNames, std::vector<QString>(3, QStringLiteral("YeniDosya")));
        QCOMPARE(test::fakeDialogs().fileDialogDirectories.back(), w.dir.path());
        QVERIFY(test::fakeDialogs().messages.empty());
    }

    void cancelledDialogsWriteNothingButKeepTheViewChoice()
    {
        Window w;
        // The save dialog cancelled: not even the format window opens.
        w.form.Button2Click();
        QCOMPARE(test::fakeDialogs().fileDialogNames.size(), std::size_t(1));

        test::fakeDialogs().fileAnswers.push_back(w.dir.path() + QStringLiteral("YeniDosya"));
        onSelection([](Tfrm_Selection* s) {
            s->rdo_View->click();
            QTest::keyClick(s, Qt::Key_Escape);
        });
        w.form.Button2Click();
        QCOMPARE(w.form.lastSaveOutcome(), ExportWindows::Outcome::Cancelled);
        QVERIFY(QDir(w.dir.path()).entryList(QDir::Files).isEmpty());
        QCOMPARE(w.form.StringsExport1().ExportStyle, xsView);

        // Next time view-only is preselected: a temporary document opens and nothing lands under the name.
        test::fakeDialogs().fileAnswers.push_back(w.dir.path() + QStringLiteral("YeniDosya"));
        bool preselected = false;
        onSelection([&preselected](Tfrm_Selection* s) {
            preselected = s->rdo_View->isChecked() && !s->rdo_File->isChecked();
            s->btn_Selection->click();
        });
        w.form.Button2Click();
        QVERIFY(preselected);
        QCOMPARE(w.form.lastSaveOutcome(), ExportWindows::Outcome::Written);
        QVERIFY(QDir(w.dir.path()).entryList(QDir::Files).isEmpty());
        QCOMPARE(test::fakeDialogs().openedUrls.size(), std::size_t(1));
        const QString opened = test::fakeDialogs().openedUrls[0].toLocalFile();
        QVERIFY(opened.endsWith(QStringLiteral(".DOC")));
        QVERIFY(readAll(opened).startsWith("{\\rtf1"));
        QFile::remove(opened);
    }

    void failuresAreReportedAndTheWindowStays()
    {
        Window w;
        test::fakeDialogs().fileAnswers.push_back(w.dir.path() + QStringLiteral("yok/dizin/YeniDosya"));
        test::fakeDialogs().fileAnswers.push_back(w.dir.path() + QStringLiteral("YeniDosya"));
        bool stayedOpen = false;
        test::whenModal([&stayedOpen](QWidget* widget) {
            auto* form = qobject_cast<TForm2*>(widget);
            QVERIFY(form);
            exportNow();
            form->Button2Click();
            stayedOpen = form->isVisible() && form->lastSaveOutcome() == ExportWindows::Outcome::Failed;
            // The user tries again, elsewhere.
            exportNow();
            form->Button2Click();
            form->Button1->click();
        });
        w.form.exec();
        QVERIFY(stayedOpen);
        QCOMPARE(test::fakeDialogs().messages.size(), std::size_t(1));
        QVERIFY(test::fakeDialogs().messages[0].text.startsWith(QStringLiteral("Belge kaydedilemedi: ")));
        QCOMPARE(test::fakeDialogs().messages[0].icon, QMessageBox::Critical);
        QCOMPARE(w.form.lastSaveOutcome(), ExportWindows::Outcome::Written);
        QVERIFY(QFile::exists(w.dir.path() + QStringLiteral("YeniDosya.DOC")));

        // A view-only document that nothing can open is reported too.
        test::fakeDialogs().openUrlResult = false;
        w.form.StringsExport1().ExportStyle = xsView;
        test::fakeDialogs().fileAnswers.push_back(w.dir.path() + QStringLiteral("YeniDosya"));
        exportNow();
        w.form.Button2Click();
        QCOMPARE(w.form.lastSaveOutcome(), ExportWindows::Outcome::Failed);
        QVERIFY(test::fakeDialogs().lastMessage().contains(QStringLiteral("açılamadı")));
        QFile::remove(test::fakeDialogs().openedUrls.at(0).toLocalFile());
    }
};

TOVEK_QTEST_MAIN(TForm2Test)
#include "tform2_test.moc"
