#include "store/merge.h"
#include "store/questionfile.h"
#include "store/ui/tform9.h"
#include "support/ui/uitest.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

using namespace tovek;
using tovek::test::fakeDialogs;
using tovek::ui::TForm9;

namespace {

std::string stdPath(const QString& s)
{
    return s.toStdString();
}

void makeFile(const QString& path, int count, const std::string& stemPrefix = "Soru ")
{
    createTable(stdPath(path), questionLayout(), questionIndex());
    Table t;
    t.setTableName(stdPath(path));
    t.open();
    std::vector<Question> qs;
    for (int i = 1; i <= count; ++i) {
        Question q;
        q.active = i % 2 == 1;
        q.stem = stemPrefix + std::to_string(i) + "\r\nikinci satır";
        q.answers = {"a", "b", "ç", "d", "e"};
        q.correct = "B";
        qs.push_back(q);
    }
    appendQuestions(t, qs);
}

std::vector<Question> readFile(const QString& path)
{
    Table t;
    t.setTableName(stdPath(path));
    t.open();
    return readAllQuestions(t);
}

QByteArray bytes(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class MergeWindowTest : public QObject
{
    Q_OBJECT

private:
    // Fills the three fields through their buttons, as the user would.
    void choose(TForm9& form, const QString& first, const QString& second, const QString& target)
    {
        fakeDialogs().fileAnswers = {first, second, target};
        form.Dosya1ComboEditButton->trigger();
        form.Dosya2ComboEditButton->trigger();
        form.Dosya3ComboEditButton->trigger();
    }

private slots:
    void init() { fakeDialogs().clear(); }

    void layoutAndTexts()
    {
        tovek::test::TempDir dir;
        TForm9 form(fakeDialogs(), dir.path());
        QCOMPARE(form.windowTitle(), QStringLiteral("İki Dosyayı Birleştir"));
        QCOMPARE(form.size(), QSize(379, 318));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        const std::pair<const char*, const char*> labels[] = {{"Label3", "İKİ DOSYA BİRLEŞTİRİLECEK"},
                                                              {"Label1", "BİRİNCİ DOSYA"},
                                                              {"Label2", "İKİNCİ DOSYA"},
                                                              {"Label4", "OLUŞTURULACAK DOSYA"}};
        for (const auto& [name, text] : labels) {
            auto* label = form.findChild<QLabel*>(name);
            QVERIFY(label);
            QCOMPARE(label->text(), QString::fromUtf8(text));
            QVERIFY(label->font().bold());
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
        }
        QVERIFY(form.Label5->text().isEmpty());
        QCOMPARE(form.ProgressBar1->size(), QSize(300, 16));
        QCOMPARE(form.ProgressBar1->value(), 0);
        QCOMPARE(form.BirlestirButton->text().remove('&'), QStringLiteral("Dosyaları Birleştir"));
        QCOMPARE(form.KapatButton->text().remove('&'), QStringLiteral("Kapat"));
        for (const char* name : {"Dosya1ComboEdit", "Dosya2ComboEdit", "Dosya3ComboEdit"}) {
            auto* field = form.findChild<QLineEdit*>(name);
            QVERIFY(field);
            QVERIFY(field->isReadOnly());
            QCOMPARE(field->width(), 300);
        }
    }

    void fileDialogsFillAndEmptyTheFields()
    {
        tovek::test::TempDir dir;
        const QString existing = dir.path() + "VAR.DB";
        makeFile(existing, 1);
        TForm9 form(fakeDialogs(), dir.path());

        fakeDialogs().fileAnswers = {dir.path() + "fizik", existing};
        form.Dosya1ComboEditButton->trigger();
        form.Dosya3ComboEditButton->trigger();
        QCOMPARE(form.Dosya1ComboEdit->text(), dir.path() + "fizik.DB");
        QCOMPARE(form.Dosya3ComboEdit->text(), existing);
        QVERIFY(fakeDialogs().fileDialogDirectories == std::vector<QString>({dir.path(), dir.path()}));
        QCOMPARE(fakeDialogs().fileDialogFilters.front(), QStringLiteral("Tovek Veri Dosyaları (*.DB)"));
        QCOMPARE(fakeDialogs().messages.size(), size_t(1));
        QCOMPARE(fakeDialogs().lastMessage(), QString::fromUtf8(mergetext::TargetExistsNotice));

        // A cancelled dialog empties its field, and the merge then asks for that file.
        form.Dosya1ComboEditButton->trigger();
        form.Dosya3ComboEditButton->trigger();
        QVERIFY(form.Dosya1ComboEdit->text().isEmpty());
        QVERIFY(form.Dosya3ComboEdit->text().isEmpty());
        QTest::mouseClick(form.BirlestirButton, Qt::LeftButton);
        QCOMPARE(fakeDialogs().lastMessage(), QString::fromUtf8(mergetext::FirstMissing));
    }

    void checksRefuseAndLeaveEverything()
    {
        tovek::test::TempDir dir;
        const QString a = dir.path() + "A.DB", b = dir.path() + "B.DB";
        makeFile(a, 2);
        makeFile(b, 2);
        QVERIFY(QFile::link(a, dir.path() + "BAG.DB"));
        const QByteArray aBytes = bytes(a);
        TForm9 form(fakeDialogs(), dir.path());
        form.show();

        choose(form, a, QString(), b);
        QTest::mouseClick(form.BirlestirButton, Qt::LeftButton);
        QCOMPARE(fakeDialogs().lastMessage(), QString::fromUtf8(mergetext::SecondMissing));

        choose(form, a, b, QString());
        QTest::mouseClick(form.BirlestirButton, Qt::LeftButton);
        QCOMPARE(fakeDialogs().lastMessage(), QString::fromUtf8(mergetext::TargetMissing));

        // The target names the first file through a link: refused before any deletion question.
        choose(form, a, b, dir.path() + "BAG.DB");
        fakeDialogs().messages.clear();
        fakeDialogs().buttonAnswers = {QMessageBox::Ok};
        QTest::mouseClick(form.BirlestirButton, Qt::LeftButton);
        QCOMPARE(fakeDialogs().messages.size(), size_t(1));
        QCOMPARE(fakeDialogs().lastMessage(), QString::fromUtf8(mergetext::TargetIsSource));
        QCOMPARE(bytes(a), aBytes);
        QVERIFY(form.isVisible());
        QCOMPARE(form.Dosya3ComboEdit->text(), dir.path() + "BAG.DB");
    }

    void existingTargetCancelThenOk()
    {
        tovek::test::TempDir dir;
        const QString a = dir.path() + "A.DB", b = dir.path() + "B.DB", t = dir.path() + "T.DB";
        makeFile(a, 3);
        makeFile(b, 2, "İkinci ");
        makeFile(t, 9);
        const QByteArray old = bytes(t);
        TForm9 form(fakeDialogs(), dir.path());
        form.show();
        choose(form, a, b, t);

        fakeDialogs().messages.clear();
        fakeDialogs().buttonAnswers = {QMessageBox::Cancel};
        QTest::mouseClick(form.BirlestirButton, Qt::LeftButton);
        QCOMPARE(fakeDialogs().messages.size(), size_t(1));
        const auto& question = fakeDialogs().messages.back();
        QCOMPARE(question.title, QStringLiteral("Silme Onayı"));
        QCOMPARE(question.text, QString::fromUtf8(mergetext::DeleteQuestion));
        QCOMPARE(question.icon, QMessageBox::Critical);
        QCOMPARE(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        QCOMPARE(bytes(t), old);
        QVERIFY(form.isVisible());

        fakeDialogs().buttonAnswers = {QMessageBox::Ok};
        QTest::mouseClick(form.BirlestirButton, Qt::LeftButton);
        QCOMPARE(fakeDialogs().lastMessage(), QString::fromUtf8(mergetext::Success));
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        const auto merged = readFile(t);
        QCOMPARE(merged.size(), size_t(5));
        QCOMPARE(merged[3].number, 4.0);
        QCOMPARE(merged[3].stem, std::string("İkinci 1\r\nikinci satır"));
        QVERIFY(merged[3].isActive());
        QVERIFY(!merged[4].isActive());
        QVERIFY(form.Label5->text().isEmpty());
        QCOMPARE(form.ProgressBar1->value(), 0);
        // The fields keep their paths for the next showing.
        QCOMPARE(form.Dosya3ComboEdit->text(), t);
    }

    void windowHoldsStillWhileCopying()
    {
        tovek::test::TempDir dir;
        const QString a = dir.path() + "A.DB", t = dir.path() + "T.DB";
        makeFile(a, 50);
        TForm9 form(fakeDialogs(), dir.path());
        form.show();
        choose(form, a, a, t);

        bool ran = false, closed = true, anyEnabled = true, visibleAfterEsc = false;
        QString progressText;
        std::size_t dialogsBefore = 0;
        QTimer::singleShot(0, &form, [&] {
            ran = true;
            progressText = form.Label5->text();
            anyEnabled = form.BirlestirButton->isEnabled() || form.KapatButton->isEnabled() ||
                         form.Dosya1ComboEditButton->isEnabled() || form.Dosya2ComboEditButton->isEnabled() ||
                         form.Dosya3ComboEditButton->isEnabled();
            dialogsBefore = fakeDialogs().fileDialogDirectories.size();
            closed = form.close();
            QTest::keyClick(&form, Qt::Key_Escape);
            visibleAfterEsc = form.isVisible();
            form.BirlestirButtonClick();
            form.Dosya1ComboEditButtonClick();
        });
        QTest::mouseClick(form.BirlestirButton, Qt::LeftButton);

        QVERIFY(ran);
        QCOMPARE(progressText, QString::fromUtf8(mergetext::FirstPass));
        QVERIFY(!anyEnabled);
        QVERIFY(!closed);
        QVERIFY(visibleAfterEsc);
        QCOMPARE(fakeDialogs().fileDialogDirectories.size(), dialogsBefore);
        QCOMPARE(fakeDialogs().lastMessage(), QString::fromUtf8(mergetext::Success));
        QCOMPARE(readFile(t).size(), size_t(100)); // one merge, not two
        QVERIFY(form.BirlestirButton->isEnabled());
        QVERIFY(form.Dosya1ComboEditButton->isEnabled());
        QCOMPARE(form.Dosya1ComboEdit->text(), a);
    }

    void engineErrorGoesToTheErrorBoxAndLeavesNoTarget()
    {
        tovek::test::TempDir dir;
        const QString a = dir.path() + "A.DB", text = dir.path() + "METIN.DB", t = dir.path() + "T.DB";
        makeFile(a, 3);
        {
            QFile f(text);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("Bu bir soru dosyası değil.\n");
        }
        const QByteArray aBytes = bytes(a);
        TForm9 form(fakeDialogs(), dir.path());
        form.show();
        choose(form, a, text, t);
        QTest::mouseClick(form.BirlestirButton, Qt::LeftButton);

        QCOMPARE(fakeDialogs().messages.back().icon, QMessageBox::Critical);
        QCOMPARE(fakeDialogs().messages.back().title, tovek::ui::applicationTitle());
        QVERIFY(fakeDialogs().lastMessage().contains(text));
        QVERIFY(form.isVisible());
        QVERIFY(form.BirlestirButton->isEnabled());
        QVERIFY(form.Label5->text().isEmpty());
        QCOMPARE(bytes(a), aBytes);
        QCOMPARE(entries(dir.path()), QStringList({"A.DB", "METIN.DB"}));
    }

    void kapatClosesAsCancel()
    {
        tovek::test::TempDir dir;
        TForm9 form(fakeDialogs(), dir.path());
        QTimer::singleShot(0, &form, [&] { QTest::mouseClick(form.KapatButton, Qt::LeftButton); });
        QCOMPARE(form.exec(), int(QDialog::Rejected));
    }
};

TOVEK_QTEST_MAIN(MergeWindowTest)
#include "merge_window_test.moc"
