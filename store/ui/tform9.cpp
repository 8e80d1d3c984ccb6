#include "store/ui/tform9.h"

#include "app/ui/application.h"
#include "app/ui/dialogs.h"
#include "store/merge.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace tovek::ui {

namespace {

const QString kFilter = QStringLiteral("Tovek Veri Dosyaları (*.DB)");
constexpr int kLeft = 40;
constexpr int kFieldWidth = 300;
// Repainting after every record would cost more than the copy itself on large files.
constexpr qint64 kRepaintIntervalMs = 15;

QLabel* titleLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    label->setGeometry(geometry);
    return label;
}

QString fromUtf8(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

TForm9::TForm9(Dialogs& dialogs, const QString& dataDir, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_dialogs(dialogs), m_dataDir(dataDir)
{
    setObjectName(QStringLiteral("TForm9"));
    setWindowTitle(QStringLiteral("İki Dosyayı Birleştir"));
    setFixedSize(379, 318);
    setSizeGripEnabled(false);

    Label3 = titleLabel(this, "Label3", QStringLiteral("İKİ DOSYA BİRLEŞTİRİLECEK"), QRect(0, 12, 379, 20));
    Label3->setAlignment(Qt::AlignCenter);
    Label1 = titleLabel(this, "Label1", QStringLiteral("BİRİNCİ DOSYA"), QRect(kLeft, 44, kFieldWidth, 18));
    Label2 = titleLabel(this, "Label2", QStringLiteral("İKİNCİ DOSYA"), QRect(kLeft, 96, kFieldWidth, 18));
    Label4 = titleLabel(this, "Label4", QStringLiteral("OLUŞTURULACAK DOSYA"), QRect(kLeft, 148, kFieldWidth, 18));

    const QIcon browseIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    auto pathField = [&](const char* name, int top, QAction*& button, void (TForm9::*slot)()) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        // The path is set only through the button, so that it always names a file the user chose.
        field->setReadOnly(true);
        field->setGeometry(kLeft, top, kFieldWidth, 24);
        button = field->addAction(browseIcon, QLineEdit::TrailingPosition);
        button->setObjectName(QString::fromLatin1(name) + QStringLiteral("Button"));
        button->setToolTip(QStringLiteral("Dosya Seç"));
        connect(button, &QAction::triggered, this, slot);
        return field;
    };
    Dosya1ComboEdit = pathField("Dosya1ComboEdit", 62, Dosya1ComboEditButton, &TForm9::Dosya1ComboEditButtonClick);
    Dosya2ComboEdit = pathField("Dosya2ComboEdit", 114, Dosya2ComboEditButton, &TForm9::Dosya2ComboEditButtonClick);
    Dosya3ComboEdit = pathField("Dosya3ComboEdit", 166, Dosya3ComboEditButton, &TForm9::Dosya3ComboEditButtonClick);

    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setGeometry(kLeft, 204, kFieldWidth, 16);
    Label5->setFixedSize(kFieldWidth, 16);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(kLeft, 224, kFieldWidth, 16);
    ProgressBar1->setFixedSize(kFieldWidth, 16);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);

    BirlestirButton = new QPushButton(QStringLiteral("&Dosyaları Birleştir"), this);
    BirlestirButton->setObjectName(QStringLiteral("BirlestirButton"));
    BirlestirButton->setGeometry(kLeft, 266, 170, 30);
    BirlestirButton->setAutoDefault(false);
    connect(BirlestirButton, &QPushButton::clicked, this, &TForm9::BirlestirButtonClick);

    KapatButton = new QPushButton(QStringLiteral("&Kapat"), this);
    KapatButton->setObjectName(QStringLiteral("KapatButton"));
    KapatButton->setGeometry(kLeft + kFieldWidth - 120, 266, 120, 30);
    KapatButton->setAutoDefault(false);
    connect(KapatButton, &QPushButton::clicked, this, &TForm9::KapatButtonClick);

    FormCreate();
}

void TForm9::FormCreate()
{
    Label5->clear();
}

void TForm9::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

void TForm9::chooseSource(QLineEdit* field, const QString& caption)
{
    const QString chosen = m_dialogs.openFileName(this, caption, m_dataDir, kFilter);
    field->setText(chosen.isEmpty() ? QString() : fromUtf8(withDefaultQuestionExtension(chosen.toStdString())));
}

void TForm9::Dosya1ComboEditButtonClick()
{
    if (!m_merging)
        chooseSource(Dosya1ComboEdit, QStringLiteral("Birinci Dosya"));
}

void TForm9::Dosya2ComboEditButtonClick()
{
    if (!m_merging)
        chooseSource(Dosya2ComboEdit, QStringLiteral("İkinci Dosya"));
}

void TForm9::Dosya3ComboEditButtonClick()
{
    if (m_merging)
        return;
    // The window asks about an existing target itself, so the dialog must not ask a second time.
    const QString chosen =
        m_dialogs.saveFileName(this, QStringLiteral("Oluşturulacak Dosya"), m_dataDir, QString(), kFilter, false);
    if (chosen.isEmpty()) {
        Dosya3ComboEdit->clear();
        return;
    }
    const std::string target = withDefaultQuestionExtension(chosen.toStdString());
    if (mergeTargetExists(target))
        m_dialogs.information(this, QString::fromUtf8(mergetext::TargetExistsNotice));
    Dosya3ComboEdit->setText(fromUtf8(target));
}

void TForm9::BirlestirButtonClick()
{
    // Progress repaints process events, so a click queued during the copy must not start another one.
    if (m_merging)
        return;
    runGuarded(m_dialogs, this, [this] { merge(); });
}

void TForm9::merge()
{
    const std::string first = Dosya1ComboEdit->text().toStdString();
    const std::string second = Dosya2ComboEdit->text().toStdString();
    const std::string target = Dosya3ComboEdit->text().toStdString();
    const std::string refusal = checkMergePaths(first, second, target);
    if (!refusal.empty()) {
        m_dialogs.information(this, fromUtf8(refusal));
        return;
    }
    const bool replace = mergeTargetExists(target);
    if (replace) {
        const auto answer = m_dialogs.message(this, QString::fromUtf8(mergetext::DeleteCaption),
                                              QString::fromUtf8(mergetext::DeleteQuestion), QMessageBox::Critical,
                                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer != QMessageBox::Ok)
            return;
        checkTargetReplaceable(target);
    }

    setMerging(true);
    struct Reset
    {
        TForm9* form;
        ~Reset()
        {
            form->Label5->clear();
            form->ProgressBar1->setRange(0, 1);
            form->ProgressBar1->setValue(0);
            form->setMerging(false);
        }
    };
    {
        Reset reset{this};
        mergeQuestionFiles(first, second, target, replace, [this](const MergeProgress& p) { showProgress(p); });
    }
    m_dialogs.information(this, QString::fromUtf8(mergetext::Success));
    accept();
}

void TForm9::showProgress(const MergeProgress& progress)
{
    QElapsedTimer& clock = m_repaintClock;
    if (progress.done == 0) {
        Label5->setText(QString::fromUtf8(progress.pass == 1 ? mergetext::FirstPass : mergetext::SecondPass));
        // A range of 0..0 would turn the bar into a busy indicator for an empty file.
        ProgressBar1->setRange(0, std::max(progress.total, 1));
        ProgressBar1->setValue(0);
    } else {
        ProgressBar1->setValue(progress.done);
        if (progress.done < progress.total && clock.isValid() && clock.elapsed() < kRepaintIntervalMs)
            return;
    }
    QCoreApplication::processEvents();
    clock.start();
}

void TForm9::setMerging(bool on)
{
    m_merging = on;
    for (QWidget* w : {static_cast<QWidget*>(BirlestirButton), static_cast<QWidget*>(KapatButton)})
        w->setEnabled(!on);
    for (QAction* a : {Dosya1ComboEditButton, Dosya2ComboEditButton, Dosya3ComboEditButton})
        a->setEnabled(!on);
}

void TForm9::KapatButtonClick()
{
    reject();
}

void TForm9::reject()
{
    // Esc and the close button end up here; the copy's tables must not be left behind.
    if (!m_merging)
        QDialog::reject();
}

void TForm9::closeEvent(QCloseEvent* event)
{
    if (m_merging) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace tovek::ui
