#include "store/ui/tform3.h"

#include "app/ui/application.h"
#include "store/paths.h"
#include "store/questionfile.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tovek::ui {

TForm3::TForm3(Dialogs& dialogs, const std::string& dataDir, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_dataDir(dataDir)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Dosya Seç"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setMinimumSize(320, 320);
    resize(320, 320);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPixelSize(13);
    listFont.setBold(true);
    ListBox1->setFont(listFont);
    ListBox1->setSortingEnabled(false);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(ListBox1, 1);

    auto* strip = new QWidget(this);
    strip->setFixedHeight(41);
    auto* buttons = new QHBoxLayout(strip);
    buttons->setContentsMargins(8, 8, 8, 8);
    YeniDosyaButton = new QPushButton(QStringLiteral("Yeni Dosya"), strip);
    YeniDosyaButton->setObjectName(QStringLiteral("YeniDosyaButton"));
    DosyaSecButton = new QPushButton(QStringLiteral("Dosya Seç"), strip);
    DosyaSecButton->setObjectName(QStringLiteral("DosyaSecButton"));
    KapatButton = new QPushButton(QStringLiteral("Kapat"), strip);
    KapatButton->setObjectName(QStringLiteral("KapatButton"));
    for (QPushButton* b : {YeniDosyaButton, DosyaSecButton, KapatButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addWidget(strip);

    auto guarded = [this](void (TForm3::*handler)()) {
        return [this, handler] { runGuarded(m_dialogs, this, [&] { (this->*handler)(); }); };
    };
    connect(YeniDosyaButton, &QPushButton::clicked, this, guarded(&TForm3::YeniDosyaButtonClick));
    connect(DosyaSecButton, &QPushButton::clicked, this, guarded(&TForm3::DosyaSecButtonClick));
    connect(KapatButton, &QPushButton::clicked, this, guarded(&TForm3::KapatButtonClick));
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, guarded(&TForm3::ListBox1DblClick));
}

void TForm3::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ListBox1->setFocus();
}

void TForm3::ListQuestionFiles()
{
    ListBox1->clear();
    for (const std::string& path : listQuestionFiles(m_dataDir)) {
        auto* item = new QListWidgetItem(QString::fromStdString(path), ListBox1);
        item->setSizeHint(QSize(0, 16));
    }
    ListBox1->setCurrentRow(-1);
    ListBox1->clearSelection();
}

QString TForm3::selectedPath() const
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

void TForm3::YeniDosyaButtonClick()
{
    const std::optional<QString> answer =
        m_dialogs.inputText(this, QStringLiteral("Yani Dosya Oluştur"), QStringLiteral("Yeni Dosya"), QString());
    // Blanks are part of the name; only an empty answer (or a cancelled box) creates nothing.
    const std::string name = turkishUpperCase(answer.value_or(QString()).toStdString());
    if (name.empty())
        return;
    const std::string fileName = withQuestionExtension(name);
    // The name must stay a plain file name inside the data directory, and one that the list will show.
    if (fileName.find_first_of("\\/:*?\"<>|") != std::string::npos || fileName[0] == '.') {
        m_dialogs.information(this, QStringLiteral("Geçersiz dosya adı. Dosya adı boş olamaz, nokta ile başlayamaz "
                                                   "ve \\ / : * ? \" < > | karakterlerini içeremez. "
                                                   "Başka bir ad yazınız."));
        return;
    }
    createQuestionFile(m_dataDir, fileName);
    ListQuestionFiles();
}

void TForm3::DosyaSecButtonClick()
{
    if (selectedPath().isEmpty())
        reject();
    else
        accept();
}

void TForm3::ListBox1DblClick()
{
    DosyaSecButtonClick();
}

void TForm3::KapatButtonClick()
{
    reject();
}

} // namespace tovek::ui
