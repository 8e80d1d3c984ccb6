#include "exam/ui/tform2.h"

#include "exam/document.h"
#include "exam/ui/lineview.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tovek::ui {

TForm2::TForm2(Dialogs& dialogs, const QString& dataDir, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_dataDir(dataDir)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Hazırlanmış Belge Form"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
    setFont(classicFormFont());
    resize(705, 400);

    QFont bold = font();
    bold.setBold(true);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setFixedHeight(30);
    Label1 = new QLabel(QStringLiteral("Soru Dağılım Sırası :"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(bold);
    Edit1 = new QLineEdit(Panel1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setFont(bold);
    Edit1->setFixedHeight(21);
    // The order is read, not worked in: the keyboard starts in the document.
    Edit1->setFocusPolicy(Qt::ClickFocus);
    QPalette silver = Edit1->palette();
    silver.setColor(QPalette::Base, QColor(192, 192, 192));
    Edit1->setPalette(silver);
    auto* panel1Layout = new QHBoxLayout(Panel1);
    panel1Layout->setContentsMargins(4, 2, 14, 2);
    panel1Layout->setSpacing(6);
    panel1Layout->addWidget(Label1);
    panel1Layout->addWidget(Edit1, 1);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFixedHeight(20);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label2->setAutoFillBackground(true);
    Label2->setContentsMargins(3, 0, 3, 0);
    QPalette yellow = Label2->palette();
    yellow.setColor(QPalette::Window, QColor(255, 255, 0));
    yellow.setColor(QPalette::WindowText, Qt::black);
    Label2->setPalette(yellow);

    // Read-only, unwrapped, both bars always shown: the view is built that way.
    Memo1 = new LineView(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(13);
    Memo1->setFont(courier);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Raised);
    Panel2->setFixedHeight(35);
    Button2 = new QPushButton(QStringLiteral("Kaydet"), Panel2);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setFixedSize(75, 25);
    Button2->setAutoDefault(false);
    Button1 = new QPushButton(QStringLiteral("Kapat"), Panel2);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedSize(75, 25);
    Button1->setAutoDefault(false);
    auto* panel2Layout = new QHBoxLayout(Panel2);
    panel2Layout->setContentsMargins(4, 4, 26, 4);
    panel2Layout->setSpacing(17);
    panel2Layout->addStretch();
    panel2Layout->addWidget(Button2);
    panel2Layout->addWidget(Button1);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(Label2);
    layout->addWidget(Memo1, 1);
    layout->addWidget(Panel2);

    m_export.ExportType = xtWord;
    m_export.ExportTypes = {xtWord};
    m_export.ExportStyle = xsFile;
    m_export.Options = xoClipboardMessage | xoShowProgress | xoUseAlignments;
    m_export.Messages = TExportMessages{};
    m_export.Messages.Caption = "Satırlar Aktarılıyor...";
    m_export.Messages.Text = "İşlem Yapılıyor...";
    m_export.Messages.ExportCaption = "&Çıktı Ver";
    m_export.Messages.CancelCaption = "&Vazgeç";
    m_export.Messages.SelectFormat = "Çıkış &Formatı Seç:";
    m_export.Messages.ViewOnly = "&Yalnız Bakış";
    m_export.Messages.ExportToFile = "&Dosyaya Kaydet";
    m_export.Messages.Width = 300;
    m_export.Messages.Height = 80;
    m_export.DisplayDpi = 96;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        m_export.DisplayDpi = qRound(screen->logicalDotsPerInchY());
    // A document that could not be written must not pass for a saved one.
    m_export.OnError = [this](TCustomExport&, TExportError, const std::string& message) {
        m_dialogs.generalError(this, QString::fromStdString(message));
    };
    m_exportWindows = std::make_unique<ExportWindows>(m_export, m_dialogs, this);
}

TForm2::~TForm2() = default;

void TForm2::setDocument(std::vector<std::string> lines, const QString& summary, const QString& orderText)
{
    m_lines = std::move(lines);
    m_export.Lines = &m_lines;
    // The view shows the writer's own lines: nothing is copied or laid out before the window appears.
    Memo1->setLines(&m_lines);
    Label2->setText(summary);
    Edit1->setText(orderText);
    Edit1->setCursorPosition(0);
}

void TForm2::setDocument(ExamDocument&& document)
{
    const QString summary = QString::fromStdString(document.summary());
    const QString order = QString::fromStdString(document.orderText());
    setDocument(document.takeLines(), summary, order);
}

void TForm2::setSummary(const QString& summary)
{
    Label2->setText(summary);
}

void TForm2::showEvent(QShowEvent* event)
{
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    Memo1->setFocus();
    QDialog::showEvent(event);
}

void TForm2::Button2Click()
{
    // Every save starts from the same proposal, whatever the previous one chose.
    const QString chosen = m_dialogs.saveFileName(this, QString(), m_dataDir, QStringLiteral("YeniDosya"), QString(),
                                                  false);
    if (chosen.isEmpty())
        return;
    m_export.Lines = &m_lines;
    m_export.FileName = chosen.toStdString();
    m_lastSave = m_exportWindows->Execute();
}

void TForm2::Button1Click()
{
    accept();
}

} // namespace tovek::ui
